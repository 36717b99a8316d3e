#include "utils/code_page.h"

#include <windows.h>

#include "utils/url_text.h"

namespace Utils {

std::string WideToMultiByte(const std::wstring& text, unsigned codePage) {
    const int size = ::WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string converted(static_cast<size_t>(size), '\0');
    if (::WideCharToMultiByte(codePage, 0, text.c_str(), -1, converted.data(), size, nullptr, nullptr) <= 0) {
        return {};
    }
    converted.resize(static_cast<size_t>(size) - 1);
    return converted;
}

std::wstring MultiByteToWide(const std::string& text, unsigned codePage) {
    const int size = ::MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
    if (size <= 1) return {};
    std::wstring converted(static_cast<size_t>(size), L'\0');
    if (::MultiByteToWideChar(codePage, 0, text.c_str(), -1, converted.data(), size) <= 0) return {};
    converted.resize(static_cast<size_t>(size) - 1);
    return converted;
}

std::wstring UrlEncode(const std::wstring& text) {
    return MultiByteToWide(UrlEncodeBytes(WideToMultiByte(text, kUtf8CodePage)), kUtf8CodePage);
}

}  // namespace Utils
