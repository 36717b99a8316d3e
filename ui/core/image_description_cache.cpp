#include "ui/core/image_description_cache.h"

#include "ui/core/image_table.h"

namespace SkinUI {

void ImageDescriptionCache::SetDescription(const std::wstring& description) {
    description_ = description;
    parsed_ = false;
    properties_ = ImageDescription();
    image_.reset();
}

const std::shared_ptr<ImageInfo>& ImageDescriptionCache::Resolve(ImageStore& store) {
    if (parsed_) return image_;
    parsed_ = true;
    properties_ = ParseImageDescription(description_);
    if (!properties_.name.empty()) {
        image_ = store.GetOrLoadImage(properties_.name, properties_.resourceType, properties_.mask,
                                      properties_.hsl);
    }
    return image_;
}

}  // namespace SkinUI
