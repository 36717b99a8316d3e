#include "ui/core/text_decoding.h"

#include <cstdint>

namespace SkinUI {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(std::wstring& out, char32_t codePoint) {
    if (codePoint < 0x10000) {
        out += static_cast<wchar_t>(codePoint);
    } else {
        codePoint -= 0x10000;
        out += static_cast<wchar_t>(0xD800 + (codePoint >> 10));
        out += static_cast<wchar_t>(0xDC00 + (codePoint & 0x3FF));
    }
}

}  // namespace

std::wstring DecodeUtf8(const void* bytes, size_t length) {
    const auto* data = static_cast<const uint8_t*>(bytes);
    size_t pos = 0;
    if (length >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF) pos = 3;
    std::wstring out;
    out.reserve(length - pos);
    while (pos < length) {
        const uint8_t lead = data[pos];
        size_t trailing = 0;
        char32_t codePoint = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            out += static_cast<wchar_t>(lead);
            ++pos;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            trailing = 1, codePoint = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            trailing = 2, codePoint = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            trailing = 3, codePoint = lead & 0x07, minimum = 0x10000;
        } else {
            AppendUtf16(out, kReplacement);
            ++pos;
            continue;
        }
        size_t used = 1;
        while (used <= trailing && pos + used < length && (data[pos + used] & 0xC0) == 0x80) {
            codePoint = (codePoint << 6) | (data[pos + used] & 0x3F);
            ++used;
        }
        const bool complete = used == trailing + 1;
        const bool valid = complete && codePoint >= minimum && codePoint <= 0x10FFFF &&
                           !(codePoint >= 0xD800 && codePoint <= 0xDFFF);
        AppendUtf16(out, valid ? codePoint : kReplacement);
        pos += used;
    }
    return out;
}

std::optional<std::wstring> DecodeUtf16WithMark(const void* bytes, size_t length) {
    const auto* data = static_cast<const uint8_t*>(bytes);
    if (length < 2) return std::nullopt;
    bool bigEndian;
    if (data[0] == 0xFF && data[1] == 0xFE) {
        bigEndian = false;
    } else if (data[0] == 0xFE && data[1] == 0xFF) {
        bigEndian = true;
    } else {
        return std::nullopt;
    }
    std::wstring out;
    out.reserve(length / 2);
    for (size_t pos = 2; pos + 1 < length; pos += 2) {
        const unsigned low = bigEndian ? data[pos + 1] : data[pos];
        const unsigned high = bigEndian ? data[pos] : data[pos + 1];
        out += static_cast<wchar_t>(low | (high << 8));
    }
    return out;
}

}  // namespace SkinUI
