#include "ui/core/image_table.h"

namespace SkinUI {

std::shared_ptr<ImageInfo> ImageTable::Find(const std::wstring& name) const {
    const auto found = images_.find(name);
    return found != images_.end() ? found->second : nullptr;
}

std::shared_ptr<ImageInfo> ImageTable::Store(const std::wstring& name,
                                             std::shared_ptr<ImageInfo> image) {
    images_[name] = image;
    return image;
}

void ImageTable::Remove(const std::wstring& name) {
    images_.erase(name);
}

ImageTable& SharedImageTable() {
    static ImageTable table;
    return table;
}

std::shared_ptr<ImageInfo> ImageStore::GetImage(const std::wstring& name) const {
    if (auto image = own_.Find(name)) return image;
    return SharedImageTable().Find(name);
}

std::shared_ptr<ImageInfo> ImageStore::AddImage(const std::wstring& name, const std::wstring& type,
                                                uint32_t mask, bool useHsl, bool shared) {
    if (name.empty()) return nullptr;
    std::shared_ptr<ImageInfo> image = LoadImage(name, type, mask);
    if (!image) return nullptr;
    image->useHsl = useHsl;
    if (useHsl) {
        // Hue/saturation/lightness changes are computed from the untouched pixels.
        const size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
        image->unadjustedBits.assign(image->bits, image->bits + count);
    }
    return (shared ? SharedImageTable() : own_).Store(name, std::move(image));
}

std::shared_ptr<ImageInfo> ImageStore::GetOrLoadImage(const std::wstring& name,
                                                      const std::wstring& type, uint32_t mask,
                                                      bool useHsl) {
    if (auto image = GetImage(name)) return image;
    return AddImage(name, type, mask, useHsl, false);
}

}  // namespace SkinUI
