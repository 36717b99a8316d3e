#include "ui/core/value_grammar.h"

#include <algorithm>
#include <limits>

namespace SkinUI {
namespace {

bool IsCRuntimeSpace(wchar_t c) noexcept {
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

int HexDigitValue(wchar_t c) noexcept {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

struct ParsedNumber {
    int32_t value = 0;
    size_t end = 0;  // one past the last character used; the start when nothing was read
};

// wcstol(base 10) with a 32-bit long, as on Windows, bounded by the view.
ParsedNumber ReadDecimal(std::wstring_view text, size_t start) {
    size_t pos = start;
    while (pos < text.size() && IsCRuntimeSpace(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) {
        negative = text[pos] == L'-';
        ++pos;
    }
    const size_t digitsStart = pos;
    int64_t magnitude = 0;
    const int64_t limit = negative ? -int64_t{std::numeric_limits<int32_t>::min()}
                                   : int64_t{std::numeric_limits<int32_t>::max()};
    while (pos < text.size() && text[pos] >= L'0' && text[pos] <= L'9') {
        magnitude = std::min<int64_t>(magnitude * 10 + (text[pos] - L'0'), limit);
        ++pos;
    }
    if (pos == digitsStart) return {0, start};
    return {static_cast<int32_t>(negative ? -magnitude : magnitude), pos};
}

// Each number after the first starts one character past the previous one's end.
void ReadNumberSequence(std::wstring_view text, int32_t* values, size_t count) {
    size_t pos = 0;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) {
            if (pos >= text.size()) return;  // nothing left: the remaining values stay 0
            ++pos;
        }
        const ParsedNumber number = ReadDecimal(text, pos);
        values[i] = number.value;
        pos = number.end;
    }
}

wchar_t AsciiLower(wchar_t c) noexcept {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

}  // namespace

int32_t ParseInteger(std::wstring_view text) {
    return ReadDecimal(text, 0).value;
}

IntPair ParsePair(std::wstring_view text) {
    int32_t values[2] = {};
    ReadNumberSequence(text, values, 2);
    return {values[0], values[1]};
}

IntRect ParseRect(std::wstring_view text) {
    int32_t values[4] = {};
    ReadNumberSequence(text, values, 4);
    return {values[0], values[1], values[2], values[3]};
}

uint32_t ParseColor(std::wstring_view text) {
    if (!text.empty() && text.front() == L'#') text.remove_prefix(1);
    size_t pos = 0;
    while (pos < text.size() && IsCRuntimeSpace(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == L'+' || text[pos] == L'-')) {
        negative = text[pos] == L'-';
        ++pos;
    }
    // "0x" counts as a prefix only when a hex digit follows, as in wcstoul.
    if (pos + 2 < text.size() && text[pos] == L'0' &&
        (text[pos + 1] == L'x' || text[pos + 1] == L'X') && HexDigitValue(text[pos + 2]) >= 0) {
        pos += 2;
    }
    uint64_t value = 0;
    bool overflow = false;
    for (; pos < text.size() && HexDigitValue(text[pos]) >= 0; ++pos) {
        value = value * 16 + static_cast<uint64_t>(HexDigitValue(text[pos]));
        if (value > std::numeric_limits<uint32_t>::max()) overflow = true, value = 0;
    }
    if (overflow) return std::numeric_limits<uint32_t>::max();
    const auto result = static_cast<uint32_t>(value);
    return negative ? 0u - result : result;
}

bool ParseControlBoolean(std::wstring_view text) {
    return text == L"true";
}

bool ParseWindowBoolean(std::wstring_view text) {
    return EqualsIgnoringCase(text, L"true");
}

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

std::vector<std::pair<std::wstring, std::wstring>> ParseAttributeList(std::wstring_view text) {
    std::vector<std::pair<std::wstring, std::wstring>> items;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t equals = text.find(L'=', pos);
        if (equals == std::wstring_view::npos || equals + 1 >= text.size() ||
            text[equals + 1] != L'"') {
            break;
        }
        const size_t valueStart = equals + 2;
        const size_t closingQuote = text.find(L'"', valueStart);
        if (closingQuote == std::wstring_view::npos) break;
        items.emplace_back(std::wstring(text.substr(pos, equals - pos)),
                           std::wstring(text.substr(valueStart, closingQuote - valueStart)));
        pos = closingQuote + 1;
        if (pos >= text.size() || text[pos] != L' ') break;
        ++pos;
    }
    return items;
}

std::wstring SubstituteTextReferences(std::wstring_view text, const StringLookup& lookup) {
    std::wstring result;
    result.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t open = text.find(L"%{", pos);
        if (open == std::wstring_view::npos) break;
        size_t digitsEnd = open + 2;
        while (digitsEnd < text.size() && text[digitsEnd] >= L'0' && text[digitsEnd] <= L'9') {
            ++digitsEnd;
        }
        std::optional<std::wstring> replacement;
        if (digitsEnd > open + 2 && digitsEnd < text.size() && text[digitsEnd] == L'}' && lookup) {
            replacement = lookup(ReadDecimal(text.substr(open + 2, digitsEnd - open - 2), 0).value);
        }
        if (replacement) {
            result.append(text.substr(pos, open - pos));
            result.append(*replacement);
            pos = digitsEnd + 1;
        } else {
            result.append(text.substr(pos, open + 2 - pos));
            pos = open + 2;
        }
    }
    result.append(text.substr(pos));
    return result;
}

}  // namespace SkinUI
