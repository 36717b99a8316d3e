#pragma once
// The textual value forms every skin attribute is written in. Skins are untrusted input:
// each parser reads what it can and falls back to 0 / false, never past the text's end.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace SkinUI {

// Plain value types, so that the grammars stay free of Windows headers; their layout
// matches RECT and SIZE for callers that need the native forms.
struct IntRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const IntRect&) const = default;
    bool IsZero() const noexcept { return left == 0 && top == 0 && right == 0 && bottom == 0; }
};

struct IntPair {
    int32_t cx = 0;
    int32_t cy = 0;
    bool operator==(const IntPair&) const = default;
};

// A decimal integer as wcstol reads it: leading blanks, an optional sign, digits;
// trailing text is ignored, no digits reads 0 and out-of-range values saturate.
int32_t ParseInteger(std::wstring_view text);

// "a,b" and "l,t,r,b": after each number exactly one separator character of any kind
// is skipped, so "1;2", "1,2" and "1, 2" all read the same. A missing number reads 0.
IntPair ParsePair(std::wstring_view text);
IntRect ParseRect(std::wstring_view text);

// ARGB colour: an optional leading '#', then hexadecimal as wcstoul base 16 reads it
// (a "0x" prefix is accepted). "#FF0000" is 0x00FF0000: no alpha given means alpha 0.
uint32_t ParseColor(std::wstring_view text);

// Control attributes accept exactly "true"; window attributes and font flags ignore case.
bool ParseControlBoolean(std::wstring_view text);
bool ParseWindowBoolean(std::wstring_view text);

// name="value" items separated by one blank, as written in a "Default" element's value.
// Reading stops silently at the first item that does not fit the form.
std::vector<std::pair<std::wstring, std::wstring>> ParseAttributeList(std::wstring_view text);

// Replaces every %{n} (n decimal) by the string registered under n; references without
// a registered string stay as written.
using StringLookup = std::function<std::optional<std::wstring>(int32_t id)>;
std::wstring SubstituteTextReferences(std::wstring_view text, const StringLookup& lookup);

// Case-insensitive comparison for ASCII names (element and attribute names are ASCII).
bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept;

}  // namespace SkinUI
