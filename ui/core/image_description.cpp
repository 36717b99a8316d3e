#include "ui/core/image_description.h"

#include <algorithm>

namespace SkinUI {
namespace {

bool IsBlank(wchar_t c) noexcept {
    return c > 0 && c <= L' ';
}

void SkipBlanks(std::wstring_view text, size_t& pos) {
    while (pos < text.size() && IsBlank(text[pos])) ++pos;
}

void ApplyItem(ImageDescription& image, std::wstring_view key, std::wstring_view value) {
    if (key == L"file") {
        image.name = value;
    } else if (key == L"res") {
        image.name = value;
        image.fromResource = true;
    } else if (key == L"restype") {
        image.resourceType = value;
    } else if (key == L"color") {
        image.name = value;
        image.resourceType = kColorImageType;
    } else if (key == L"dest") {
        image.dest = ParseRect(value);
    } else if (key == L"source") {
        image.source = ParseRect(value);
    } else if (key == L"corner" || key == L"scale9") {
        image.corner = ParseRect(value);
    } else if (key == L"mask") {
        image.mask = ParseColor(value);
    } else if (key == L"fade") {
        // Opacity is a byte; out-of-range numbers are held to its ends, not wrapped.
        image.fade = static_cast<uint8_t>(std::clamp(ParseInteger(value), 0, 255));
    } else if (key == L"hole") {
        image.hole = ParseControlBoolean(value);
    } else if (key == L"xtiled") {
        image.xTiled = ParseControlBoolean(value);
    } else if (key == L"ytiled") {
        image.yTiled = ParseControlBoolean(value);
    } else if (key == L"hsl") {
        image.hsl = ParseControlBoolean(value);
    }
}

}  // namespace

ImageDescription ParseImageDescription(std::wstring_view description) {
    ImageDescription image;
    bool foundItem = false;
    size_t pos = 0;
    while (pos < description.size()) {
        SkipBlanks(description, pos);
        const size_t keyStart = pos;
        while (pos < description.size() && description[pos] != L'=' && !IsBlank(description[pos])) {
            ++pos;
        }
        const std::wstring_view key = description.substr(keyStart, pos - keyStart);
        SkipBlanks(description, pos);
        if (pos < description.size() && description[pos] == L'=') ++pos;
        SkipBlanks(description, pos);
        if (pos >= description.size() || description[pos] != L'\'') break;
        const size_t valueStart = pos + 1;
        const size_t closingQuote = description.find(L'\'', valueStart);
        if (closingQuote == std::wstring_view::npos) break;
        const std::wstring_view value = description.substr(valueStart, closingQuote - valueStart);
        if (!value.empty()) {
            foundItem = true;
            ApplyItem(image, key, value);
        }
        pos = closingQuote + 1;
        if (pos >= description.size() || description[pos] != L' ') break;
    }
    if (!foundItem) image.name = description;
    return image;
}

}  // namespace SkinUI
