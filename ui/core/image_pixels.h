#pragma once
// Pixel conversion for skin pictures: decoded RGBA becomes the premultiplied BGRA that
// AlphaBlend expects.
#include <cstddef>
#include <cstdint>

namespace SkinUI {

// Writes one ARGB value per pixel (B in the lowest byte, as a 32-bit DIB stores it).
// Colour channels are scaled by alpha / 255 unless alpha is 255; a converted pixel equal
// to mask (alpha byte included) becomes fully transparent. Returns whether any pixel is
// not fully opaque afterwards.
bool ConvertToPremultipliedBgra(const uint8_t* rgba, size_t pixelCount, uint32_t mask,
                                uint32_t* argbOut);

}  // namespace SkinUI
