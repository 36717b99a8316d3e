#pragma once
// What drawing needs from a window: its pictures and its fonts. The window manager
// provides them; drawing code does not depend on the manager itself.
#include <windows.h>

#include <cstdint>

namespace SkinUI {

class ImageStore;

class IPaintResources {
public:
    virtual ~IPaintResources() = default;
    virtual ImageStore& GetImageStore() = 0;
    // The font registered under id, or the default font for -1 and unknown ids.
    virtual HFONT GetFont(int32_t id) = 0;
};

}  // namespace SkinUI
