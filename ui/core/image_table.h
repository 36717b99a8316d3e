#pragma once
// Loaded pictures by name. Names are compared exactly: "res\a.png" and "res/a.png" are
// two entries even though both load the same skin file. Pictures are shared with the
// controls that draw them, so replacing an entry never leaves a control holding a
// destroyed bitmap.
#include <memory>
#include <string>
#include <unordered_map>

#include "ui/core/image_info.h"

namespace SkinUI {

class ImageTable {
public:
    std::shared_ptr<ImageInfo> Find(const std::wstring& name) const;
    // Stores the image under name, destroying an entry of that name; returns the stored one.
    std::shared_ptr<ImageInfo> Store(const std::wstring& name, std::shared_ptr<ImageInfo> image);
    void Remove(const std::wstring& name);
    void Clear() { images_.clear(); }
    size_t Size() const noexcept { return images_.size(); }

private:
    std::unordered_map<std::wstring, std::shared_ptr<ImageInfo>> images_;
};

// The process-wide table for images registered as shared; lives until the process ends.
ImageTable& SharedImageTable();

// One window's view of the images: its own table first, then the shared one.
class ImageStore {
public:
    std::shared_ptr<ImageInfo> GetImage(const std::wstring& name) const;
    // Loads and stores the image (in the shared table when shared is set); null when it
    // fails to load, in which case nothing is stored.
    std::shared_ptr<ImageInfo> AddImage(const std::wstring& name, const std::wstring& type,
                                        uint32_t mask, bool useHsl, bool shared);
    std::shared_ptr<ImageInfo> GetOrLoadImage(const std::wstring& name, const std::wstring& type,
                                              uint32_t mask, bool useHsl);
    void RemoveImage(const std::wstring& name) { own_.Remove(name); }
    void Clear() { own_.Clear(); }
    size_t OwnImageCount() const noexcept { return own_.Size(); }

private:
    ImageTable own_;
};

}  // namespace SkinUI
