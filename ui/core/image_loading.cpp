#include "ui/core/image_info.h"

#include <optional>

#include "ui/core/file_bytes.h"
#include "ui/core/image_description.h"
#include "ui/core/image_pixels.h"
#include "ui/core/skin_resources.h"
#include "ui/core/decoded_image.h"
#include "ui/core/value_grammar.h"

namespace SkinUI {
namespace {

std::optional<std::vector<uint8_t>> ReadModuleResource(const std::wstring& name,
                                                       const std::wstring& type) {
    const HMODULE module = GetResourceInstance();
    // Names starting with a digit are numeric resource ids.
    const bool numeric = !name.empty() && name[0] >= L'0' && name[0] <= L'9';
    const wchar_t* resourceName =
        numeric ? MAKEINTRESOURCEW(static_cast<WORD>(ParseInteger(name))) : name.c_str();
    const HRSRC resource = ::FindResourceW(module, resourceName, type.c_str());
    if (resource == nullptr) return std::nullopt;
    const HGLOBAL loaded = ::LoadResource(module, resource);
    const DWORD size = ::SizeofResource(module, resource);
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr || size == 0) return std::nullopt;
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

std::optional<std::vector<uint8_t>> ReadImageBytes(const std::wstring& name,
                                                   const std::wstring& type) {
    if (!type.empty()) return ReadModuleResource(name, type);
    SkinFileRead skinFile = ReadSkinFile(name);
    if (skinFile.ok) return std::move(skinFile.bytes);
    FileBytes file = ReadFileBytes(name, kMaxSkinFileBytes);
    if (file.status != FileReadStatus::Ok) return std::nullopt;
    return std::move(file.bytes);
}

}  // namespace

GdiBitmap CreateTopDownDib(HDC dc, int32_t width, int32_t height, uint32_t** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    GdiBitmap bitmap(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    *bits = bitmap ? static_cast<uint32_t*>(pixels) : nullptr;
    return bitmap;
}

std::unique_ptr<ImageInfo> LoadImage(const std::wstring& name, const std::wstring& type,
                                     uint32_t mask) {
    DecodedImage decoded;
    if (type == kColorImageType) {
        const uint32_t argb = ParseColor(name);
        decoded = DecodedImage::SolidPixel(static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8),
                                           static_cast<uint8_t>(argb), static_cast<uint8_t>(argb >> 24));
    } else {
        const auto bytes = ReadImageBytes(name, type);
        if (!bytes) return nullptr;
        decoded = DecodedImage::Decode(bytes->data(), bytes->size());
    }
    if (!decoded) return nullptr;

    auto image = std::make_unique<ImageInfo>();
    image->bitmap = CreateTopDownDib(nullptr, decoded.Width(), decoded.Height(), &image->bits);
    if (!image->bitmap) return nullptr;
    image->width = decoded.Width();
    image->height = decoded.Height();
    image->hasAlpha = ConvertToPremultipliedBgra(
        decoded.Pixels(), static_cast<size_t>(decoded.Width()) * static_cast<size_t>(decoded.Height()),
        mask, image->bits);
    image->resourceType = type;
    image->mask = mask;
    return image;
}

}  // namespace SkinUI
