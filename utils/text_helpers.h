#pragma once
// Text helpers shared by the settings and the downloaders.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace Utils {

// Replaces every occurrence of `from`, looking again from the start after each
// replacement, so occurrences that a replacement completes are replaced as well. When
// `to` itself contains `from` that would never end; such a replacement is done in one
// pass from left to right instead. An empty `from` changes nothing.
template <typename Char>
std::basic_string<Char> ReplaceAll(std::basic_string<Char> text, std::basic_string_view<Char> from,
                                   std::basic_string_view<Char> to) {
    if (from.empty()) return text;
    const bool rescan = to.find(from) == std::basic_string_view<Char>::npos;
    size_t position = text.find(from);
    while (position != std::basic_string<Char>::npos) {
        text.replace(position, from.size(), to);
        // Nothing before `position` matched, so a new occurrence can start no earlier
        // than where it would reach into the replacement: the same result as a search
        // from the start, without going over the untouched prefix again.
        const size_t next = rescan ? (position + 1 > from.size() ? position + 1 - from.size() : 0)
                                   : position + to.size();
        position = text.find(from, next);
    }
    return text;
}

inline std::wstring ReplaceAll(std::wstring text, std::wstring_view from, std::wstring_view to) {
    return ReplaceAll<wchar_t>(std::move(text), from, to);
}

inline std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
    return ReplaceAll<char>(std::move(text), from, to);
}

std::wstring UnsignedToDecimal(uint64_t value);

}  // namespace Utils
