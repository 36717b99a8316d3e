#pragma once
// Decoded skin pictures, held as 32-bit top-down premultiplied DIB sections.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/core/gdi_handles.h"

namespace SkinUI {

struct ImageInfo {
    GdiBitmap bitmap;
    uint32_t* bits = nullptr;               // the DIB's pixels, premultiplied BGRA
    std::vector<uint32_t> unadjustedBits;   // kept only for images that follow HSL changes
    int32_t width = 0;
    int32_t height = 0;
    bool hasAlpha = false;
    bool useHsl = false;
    std::wstring resourceType;
    uint32_t mask = 0;
};

// <windows.h> maps LoadImage to LoadImageW; this header includes it first, so every caller
// sees the same mapped name.
// Loads a picture: a solid colour for type kColorImageType (name is the colour), a module
// resource of that type for any other non-empty type, else the skin file of that name
// or, failing that, the name as a path of its own. Null when nothing decodes.
std::unique_ptr<ImageInfo> LoadImage(const std::wstring& name, const std::wstring& type,
                                     uint32_t mask);

// A 32-bit top-down DIB section; bits receives its pixel pointer.
GdiBitmap CreateTopDownDib(HDC dc, int32_t width, int32_t height, uint32_t** bits);

}  // namespace SkinUI
