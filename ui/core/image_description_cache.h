#pragma once
// One image attribute of a control: its description text, parsed and loaded the first
// time it is needed. A description that fails to load is not retried until it changes.
#include <memory>
#include <string>

#include "ui/core/image_description.h"

namespace SkinUI {

struct ImageInfo;
class ImageStore;

class ImageDescriptionCache {
public:
    const std::wstring& Description() const noexcept { return description_; }
    // A new description clears what was parsed and loaded for the old one.
    void SetDescription(const std::wstring& description);
    void Clear() { SetDescription(L""); }

    // Parses the description and loads its picture through the store, once; null when
    // the picture is unavailable.
    const std::shared_ptr<ImageInfo>& Resolve(ImageStore& store);

    bool IsParsed() const noexcept { return parsed_; }
    const ImageDescription& Properties() const noexcept { return properties_; }
    const std::shared_ptr<ImageInfo>& Image() const noexcept { return image_; }

private:
    std::wstring description_;
    bool parsed_ = false;
    ImageDescription properties_;
    std::shared_ptr<ImageInfo> image_;
};

}  // namespace SkinUI
