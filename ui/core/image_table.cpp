#include "ui/core/image_table.h"

namespace SkinUI {

ImageInfo* ImageTable::Find(const std::wstring& name) const {
    const auto found = images_.find(name);
    return found != images_.end() ? found->second.get() : nullptr;
}

ImageInfo* ImageTable::Store(const std::wstring& name, std::unique_ptr<ImageInfo> image) {
    auto& slot = images_[name];
    slot = std::move(image);
    return slot.get();
}

void ImageTable::Remove(const std::wstring& name) {
    images_.erase(name);
}

ImageTable& SharedImageTable() {
    static ImageTable table;
    return table;
}

ImageInfo* ImageStore::GetImage(const std::wstring& name) const {
    if (ImageInfo* image = own_.Find(name)) return image;
    return SharedImageTable().Find(name);
}

ImageInfo* ImageStore::AddImage(const std::wstring& name, const std::wstring& type, uint32_t mask,
                                bool useHsl, bool shared) {
    if (name.empty()) return nullptr;
    std::unique_ptr<ImageInfo> image = LoadImage(name, type, mask);
    if (!image) return nullptr;
    image->useHsl = useHsl;
    if (useHsl) {
        // Hue/saturation/lightness changes are computed from the untouched pixels.
        const size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
        image->unadjustedBits.assign(image->bits, image->bits + count);
    }
    return (shared ? SharedImageTable() : own_).Store(name, std::move(image));
}

ImageInfo* ImageStore::GetOrLoadImage(const std::wstring& name, const std::wstring& type,
                                      uint32_t mask, bool useHsl) {
    if (ImageInfo* image = GetImage(name)) return image;
    return AddImage(name, type, mask, useHsl, false);
}

}  // namespace SkinUI
