#include "utils/url_text.h"

namespace Utils {

std::string UrlEncodeBytes(std::string_view bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 33 && byte <= 126) {
            encoded += c;
        } else if (byte == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += kDigits[byte >> 4];
            encoded += kDigits[byte & 0x0f];
        }
    }
    return encoded;
}

std::string GetUrlMd5(const std::string& url) {
    const size_t last = url.rfind('/');
    if (last == std::string::npos || last == 0) return {};
    const size_t secondLast = url.rfind('/', last - 1);
    if (secondLast == std::string::npos) return {};
    return url.substr(secondLast + 1, last - secondLast - 1);
}

}  // namespace Utils
