#pragma once
// The image-description mini-language of image attributes ("bkimage", "normalimage", ...):
// either a plain skin file name or blank-separated key='value' items.
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/core/value_grammar.h"

namespace SkinUI {

// Resource type that marks a solid-colour pseudo-image whose name is the colour text.
inline constexpr wchar_t kColorImageType[] = L"*COLOR*";

struct ImageDescription {
    std::wstring name;          // skin file, resource name, or colour text
    std::wstring resourceType;  // "" for a skin file, kColorImageType for a colour
    bool fromResource = false;  // "res" given: a module resource rather than a skin file
    IntRect dest;
    IntRect source;
    IntRect corner;
    uint32_t mask = 0;
    uint8_t fade = 255;
    bool hole = false;
    bool xTiled = false;
    bool yTiled = false;
    bool hsl = false;

    bool operator==(const ImageDescription&) const = default;
};

ImageDescription ParseImageDescription(std::wstring_view description);

}  // namespace SkinUI
