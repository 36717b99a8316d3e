#pragma once
// Conversions between UTF-16 and the byte encodings at the installer's edges: UTF-8
// (65001) for analytics and JSON, the ANSI code page (0) for thread names and for file
// names handed to the C runtime's narrow file functions.
#include <string>

namespace Utils {

constexpr unsigned kUtf8CodePage = 65001;
constexpr unsigned kAnsiCodePage = 0;

// Both stop at the first NUL; a conversion that yields nothing gives the empty string.
std::string WideToMultiByte(const std::wstring& text, unsigned codePage);
std::wstring MultiByteToWide(const std::string& text, unsigned codePage);

// The URL form encoding of the text's UTF-8 bytes (see UrlEncodeBytes).
std::wstring UrlEncode(const std::wstring& text);

}  // namespace Utils
