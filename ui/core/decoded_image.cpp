#include "ui/core/decoded_image.h"

#include <climits>
#include <cstdlib>

// Skins are untrusted: a header claiming a gigantic picture is refused before stb_image
// allocates for it. 8192 x 8192 is far beyond any window picture.
#define STBI_MAX_DIMENSIONS 8192
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace SkinUI {

DecodedImage DecodedImage::Decode(const uint8_t* bytes, size_t length) {
    DecodedImage image;
    if (bytes == nullptr || length == 0 || length > INT_MAX) return image;
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* pixels = stbi_load_from_memory(bytes, static_cast<int>(length), &width, &height,
                                            &channels, 4);
    if (pixels == nullptr) return image;
    image.pixels_ = {pixels, [](void* p) { stbi_image_free(p); }};
    image.width_ = width;
    image.height_ = height;
    return image;
}

DecodedImage DecodedImage::SolidPixel(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha) {
    DecodedImage image;
    auto* pixel = static_cast<uint8_t*>(std::malloc(4));
    if (pixel == nullptr) return image;
    pixel[0] = red;
    pixel[1] = green;
    pixel[2] = blue;
    pixel[3] = alpha;
    image.pixels_ = {pixel, [](void* p) { std::free(p); }};
    image.width_ = 1;
    image.height_ = 1;
    return image;
}

}  // namespace SkinUI
