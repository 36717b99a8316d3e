#include "analytics/sdk/base64.h"

namespace usage_analytics {

std::string Base64Encode(std::string_view bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string encoded;
    encoded.reserve((bytes.size() + 2) / 3 * 4);
    size_t at = 0;
    for (; at + 3 <= bytes.size(); at += 3) {
        const unsigned group = static_cast<unsigned char>(bytes[at]) << 16 |
                               static_cast<unsigned char>(bytes[at + 1]) << 8 |
                               static_cast<unsigned char>(bytes[at + 2]);
        encoded += kAlphabet[group >> 18 & 63];
        encoded += kAlphabet[group >> 12 & 63];
        encoded += kAlphabet[group >> 6 & 63];
        encoded += kAlphabet[group & 63];
    }
    const size_t rest = bytes.size() - at;
    if (rest > 0) {
        unsigned group = static_cast<unsigned char>(bytes[at]) << 16;
        if (rest == 2) group |= static_cast<unsigned char>(bytes[at + 1]) << 8;
        encoded += kAlphabet[group >> 18 & 63];
        encoded += kAlphabet[group >> 12 & 63];
        encoded += rest == 2 ? kAlphabet[group >> 6 & 63] : '=';
        encoded += '=';
    }
    return encoded;
}

}  // namespace usage_analytics
