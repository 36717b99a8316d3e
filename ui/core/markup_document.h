#pragma once
// Reader for the skin's small XML dialect: elements, attributes in double quotes,
// element text, comments and the XML declaration skipped, the five XML entities.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace SkinUI {

class CMarkupDocument;

// A cursor on one element of a parsed document; invalid cursors answer with empties.
class MarkupNode {
public:
    MarkupNode() = default;
    MarkupNode(const CMarkupDocument* document, int32_t index) : document_(document), index_(index) {}

    bool IsValid() const noexcept;
    std::wstring_view GetName() const;
    std::wstring_view GetText() const;
    MarkupNode GetChild() const;
    MarkupNode GetSibling() const;
    MarkupNode GetParent() const;
    bool HasChildren() const;

    size_t GetAttributeCount() const;
    std::wstring_view GetAttributeName(size_t index) const;
    std::wstring_view GetAttributeValue(size_t index) const;
    // The value of the first attribute of that name, compared ignoring case.
    std::optional<std::wstring_view> FindAttribute(std::wstring_view name) const;

    int32_t Index() const noexcept { return index_; }

private:
    const CMarkupDocument* document_ = nullptr;
    int32_t index_ = 0;
};

enum class MarkupEncoding : int32_t { Utf8 = 0, Utf16 = 1, Ansi = 2 };

class CMarkupDocument {
public:
    // Elements keep at most this many attributes; later ones are read but dropped.
    static constexpr size_t kMaxAttributes = 64;
    // Characters of the input kept as the error location.
    static constexpr size_t kErrorLocationLength = 49;

    bool LoadFromString(std::wstring_view text);
    // Encodings: UTF-8 (a leading byte-order mark is skipped), UTF-16 (must start with a
    // byte-order mark, either order), or the system ANSI code page.
    bool LoadFromMemory(const void* bytes, size_t length, MarkupEncoding encoding);
    // Reads a skin file (archive or folder, whichever is configured) and parses it.
    bool LoadFromFile(const std::wstring& name, MarkupEncoding encoding = MarkupEncoding::Utf8);
    void Release();

    bool IsValid() const noexcept { return elements_.size() > 1; }
    MarkupNode GetRoot() const;

    const std::wstring& GetLastErrorMessage() const noexcept { return errorMessage_; }
    const std::wstring& GetLastErrorLocation() const noexcept { return errorLocation_; }

private:
    friend class MarkupNode;

    struct Element {
        std::wstring name;
        std::wstring text;
        std::vector<std::pair<std::wstring, std::wstring>> attributes;
        int32_t child = 0;
        int32_t next = 0;
        int32_t parent = 0;
    };

    class Parser;
    bool Fail(const wchar_t* message, std::wstring_view location);

    // Index 0 is a sentinel, so 0 can mean "none" in the links; the root is index 1.
    std::vector<Element> elements_;
    std::wstring errorMessage_;
    std::wstring errorLocation_;
};

}  // namespace SkinUI
