#pragma once
// Decoded 8-bit RGBA pixels from stb_image, freed with the object.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace SkinUI {

class DecodedImage {
public:
    DecodedImage() = default;
    // Any format stb_image knows; empty when it rejects the bytes.
    static DecodedImage Decode(const uint8_t* bytes, size_t length);
    static DecodedImage SolidPixel(uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha);

    explicit operator bool() const noexcept { return pixels_ != nullptr; }
    int32_t Width() const noexcept { return width_; }
    int32_t Height() const noexcept { return height_; }
    const uint8_t* Pixels() const noexcept { return pixels_.get(); }

private:
    using FreeFunction = void (*)(void*);
    std::unique_ptr<uint8_t, FreeFunction> pixels_{nullptr, nullptr};
    int32_t width_ = 0;
    int32_t height_ = 0;
};

}  // namespace SkinUI
