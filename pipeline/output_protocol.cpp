#include "pipeline/output_protocol.h"

#include <cwchar>

namespace OutputProtocol {
namespace {

constexpr std::wstring_view kWhiteSpace = L" \t\r\n\v\f";

size_t SkipBlanks(std::wstring_view text) {
    const size_t first = text.find_first_not_of(kWhiteSpace);
    return first == std::wstring_view::npos ? text.size() : first;
}

}  // namespace

std::vector<std::wstring_view> SplitLines(std::wstring_view text) {
    std::vector<std::wstring_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find(L'\n', start);
        if (end == std::wstring_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::optional<std::wstring_view> AfterKey(std::wstring_view line, std::wstring_view key) {
    if (!line.starts_with(key)) return std::nullopt;
    return line.substr(key.size());
}

std::wstring StringValue(std::wstring_view rest) {
    const std::wstring_view value = rest.substr(0, rest.find(L'\n'));
    if (value.size() >= kValueCapacity) return {};
    return std::wstring(value);
}

std::wstring_view TrimmedWord(std::wstring_view rest) {
    const size_t first = rest.find_first_not_of(kWhiteSpace);
    if (first == std::wstring_view::npos) return {};
    const size_t last = rest.find_last_not_of(kWhiteSpace);
    return rest.substr(first, last - first + 1);
}

double NumberValue(std::wstring_view rest) {
    // wcstod needs a terminated string; the line is short, a copy costs nothing.
    const std::wstring text(rest);
    wchar_t* end = nullptr;
    const double number = std::wcstod(text.c_str(), &end);
    return end == text.c_str() ? 0.0 : number;
}

std::optional<int32_t> IntegerValue(std::wstring_view rest, size_t* consumed) {
    size_t position = SkipBlanks(rest);
    bool negative = false;
    if (position < rest.size() && (rest[position] == L'-' || rest[position] == L'+')) {
        negative = rest[position] == L'-';
        ++position;
    }
    if (position >= rest.size() || rest[position] < L'0' || rest[position] > L'9') return std::nullopt;
    uint32_t value = 0;
    for (; position < rest.size() && rest[position] >= L'0' && rest[position] <= L'9'; ++position) {
        value = value * 10u + static_cast<uint32_t>(rest[position] - L'0');
    }
    if (negative) value = 0u - value;
    if (consumed) *consumed = position;
    return static_cast<int32_t>(value);
}

}  // namespace OutputProtocol
