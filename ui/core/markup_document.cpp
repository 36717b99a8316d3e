#include "ui/core/markup_document.h"

#include <algorithm>

#include "ui/core/value_grammar.h"

namespace SkinUI {
namespace {

bool IsMarkupSpace(wchar_t c) noexcept {
    return c <= L' ';
}

bool IsNameCharacter(wchar_t c) noexcept {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
           c == L'_' || c == L':' || c >= 0x80;
}

// The five entities of XML 1.0; any other ampersand stays as written.
std::wstring DecodeEntities(std::wstring_view raw) {
    static constexpr struct {
        std::wstring_view reference;
        wchar_t character;
    } kEntities[] = {
        {L"&amp;", L'&'}, {L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&quot;", L'"'}, {L"&apos;", L'\''},
    };
    std::wstring decoded;
    decoded.reserve(raw.size());
    size_t pos = 0;
    while (pos < raw.size()) {
        if (raw[pos] == L'&') {
            bool replaced = false;
            for (const auto& entity : kEntities) {
                if (raw.substr(pos, entity.reference.size()) == entity.reference) {
                    decoded += entity.character;
                    pos += entity.reference.size();
                    replaced = true;
                    break;
                }
            }
            if (replaced) continue;
        }
        decoded += raw[pos++];
    }
    return decoded;
}

}  // namespace

// One pass over the text with an explicit stack of open elements: nesting depth is
// bounded by memory, not by the thread's stack, so hostile skins cannot overflow it.
class CMarkupDocument::Parser {
public:
    Parser(CMarkupDocument& document, std::wstring_view text) : document_(document), text_(text) {}

    bool Run() {
        for (;;) {
            SkipSpaces();
            if (AtEnd()) {
                return open_.empty() || Fail(L"Expected start tag");
            }
            if (Peek() != L'<') return Fail(L"Expected start tag");
            const wchar_t marker = Peek(1);
            if (marker == L'/') {
                if (!ReadEndTag()) return false;
            } else if (marker == L'!') {
                SkipPast(L"->");
            } else if (marker == L'?') {
                SkipPast(L"?>");
            } else if (!ReadElement()) {
                return false;
            }
        }
    }

private:
    struct OpenElement {
        int32_t index;
        int32_t lastChild;
    };

    bool AtEnd() const noexcept { return pos_ >= text_.size(); }
    wchar_t Peek(size_t ahead = 0) const noexcept {
        return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : L'\0';
    }
    void SkipSpaces() {
        while (!AtEnd() && IsMarkupSpace(text_[pos_])) ++pos_;
    }
    void SkipPast(std::wstring_view terminator) {
        const size_t found = text_.find(terminator, pos_ + 2);
        pos_ = found == std::wstring_view::npos ? text_.size() : found + terminator.size();
    }
    std::wstring_view ReadName() {
        const size_t start = pos_;
        while (!AtEnd() && IsNameCharacter(text_[pos_])) ++pos_;
        return text_.substr(start, pos_ - start);
    }
    bool Fail(const wchar_t* message) {
        return document_.Fail(message, text_.substr(std::min(pos_, text_.size())));
    }

    int32_t AppendElement() {
        auto& elements = document_.elements_;
        const auto index = static_cast<int32_t>(elements.size());
        elements.emplace_back();
        if (open_.empty()) {
            if (topLevelLast_ != 0) elements[topLevelLast_].next = index;
            topLevelLast_ = index;
        } else {
            OpenElement& parent = open_.back();
            elements[index].parent = parent.index;
            if (parent.lastChild == 0) {
                elements[parent.index].child = index;
            } else {
                elements[parent.lastChild].next = index;
            }
            parent.lastChild = index;
        }
        return index;
    }

    bool ReadElement() {
        ++pos_;  // '<'
        const int32_t index = AppendElement();
        const std::wstring_view name = ReadName();
        if (name.empty()) return Fail(L"Error parsing element name");
        document_.elements_[index].name = name;
        if (!ReadAttributes(index)) return false;
        if (Peek() == L'/') {
            if (Peek(1) != L'>') return Fail(L"Expected start-tag closing");
            pos_ += 2;
            return true;
        }
        if (Peek() != L'>') return Fail(L"Expected start-tag closing");
        ++pos_;
        const size_t textEnd = text_.find(L'<', pos_);
        if (textEnd == std::wstring_view::npos) return Fail(L"Expected end-tag start");
        document_.elements_[index].text = DecodeEntities(text_.substr(pos_, textEnd - pos_));
        pos_ = textEnd;
        open_.push_back({index, 0});
        return true;
    }

    bool ReadAttributes(int32_t index) {
        for (;;) {
            SkipSpaces();
            if (Peek() == L'/' || Peek() == L'>') return true;
            const std::wstring_view name = ReadName();
            SkipSpaces();
            if (Peek() != L'=') return Fail(L"Error while parsing attributes");
            ++pos_;
            SkipSpaces();
            if (Peek() != L'"') return Fail(L"Expected attribute value");
            ++pos_;
            const size_t closingQuote = text_.find(L'"', pos_);
            if (closingQuote == std::wstring_view::npos) {
                return Fail(L"Error while parsing attribute string");
            }
            auto& attributes = document_.elements_[index].attributes;
            if (attributes.size() < kMaxAttributes) {
                attributes.emplace_back(name, DecodeEntities(text_.substr(pos_, closingQuote - pos_)));
            }
            pos_ = closingQuote + 1;
        }
    }

    bool ReadEndTag() {
        if (open_.empty()) {
            return Fail(L"Unmatched closing tag");
        }
        pos_ += 2;  // "</"
        const std::wstring& name = document_.elements_[open_.back().index].name;
        if (text_.substr(pos_, name.size()) != name) return Fail(L"Unmatched closing tag");
        pos_ += name.size();
        SkipSpaces();
        if (Peek() != L'>') return Fail(L"Unmatched closing tag");
        ++pos_;
        open_.pop_back();
        return true;
    }

    CMarkupDocument& document_;
    std::wstring_view text_;
    size_t pos_ = 0;
    std::vector<OpenElement> open_;
    int32_t topLevelLast_ = 0;
};

bool CMarkupDocument::LoadFromString(std::wstring_view text) {
    Release();
    if (Parser(*this, text).Run()) return true;
    elements_.assign(1, Element{});
    return false;
}

void CMarkupDocument::Release() {
    elements_.assign(1, Element{});
    errorMessage_.clear();
    errorLocation_.clear();
}

bool CMarkupDocument::Fail(const wchar_t* message, std::wstring_view location) {
    errorMessage_ = message;
    errorLocation_ = location.substr(0, kErrorLocationLength);
    return false;
}

MarkupNode CMarkupDocument::GetRoot() const {
    return IsValid() ? MarkupNode(this, 1) : MarkupNode();
}

bool MarkupNode::IsValid() const noexcept {
    return document_ != nullptr && index_ > 0 &&
           static_cast<size_t>(index_) < document_->elements_.size();
}

std::wstring_view MarkupNode::GetName() const {
    return IsValid() ? std::wstring_view(document_->elements_[index_].name) : std::wstring_view();
}

std::wstring_view MarkupNode::GetText() const {
    return IsValid() ? std::wstring_view(document_->elements_[index_].text) : std::wstring_view();
}

MarkupNode MarkupNode::GetChild() const {
    return IsValid() ? MarkupNode(document_, document_->elements_[index_].child) : MarkupNode();
}

MarkupNode MarkupNode::GetSibling() const {
    return IsValid() ? MarkupNode(document_, document_->elements_[index_].next) : MarkupNode();
}

MarkupNode MarkupNode::GetParent() const {
    return IsValid() ? MarkupNode(document_, document_->elements_[index_].parent) : MarkupNode();
}

bool MarkupNode::HasChildren() const {
    return GetChild().IsValid();
}

size_t MarkupNode::GetAttributeCount() const {
    return IsValid() ? document_->elements_[index_].attributes.size() : 0;
}

std::wstring_view MarkupNode::GetAttributeName(size_t index) const {
    if (index >= GetAttributeCount()) return {};
    return document_->elements_[index_].attributes[index].first;
}

std::wstring_view MarkupNode::GetAttributeValue(size_t index) const {
    if (index >= GetAttributeCount()) return {};
    return document_->elements_[index_].attributes[index].second;
}

std::optional<std::wstring_view> MarkupNode::FindAttribute(std::wstring_view name) const {
    for (size_t i = 0; i < GetAttributeCount(); ++i) {
        if (EqualsIgnoringCase(GetAttributeName(i), name)) return GetAttributeValue(i);
    }
    return std::nullopt;
}

}  // namespace SkinUI
