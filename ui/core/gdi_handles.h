#pragma once
// Owners for GDI objects and memory device contexts.
#include <windows.h>

#include "utils/unique_handle.h"

namespace SkinUI {

template <typename Handle>
struct GdiObjectTraits {
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle object) noexcept { ::DeleteObject(object); }
};

struct MemoryDcTraits {
    static HDC Invalid() noexcept { return nullptr; }
    static void Close(HDC dc) noexcept { ::DeleteDC(dc); }
};

using GdiBitmap = Utils::UniqueHandle<GdiObjectTraits<HBITMAP>>;
using GdiFont = Utils::UniqueHandle<GdiObjectTraits<HFONT>>;
using GdiPen = Utils::UniqueHandle<GdiObjectTraits<HPEN>>;
using GdiBrush = Utils::UniqueHandle<GdiObjectTraits<HBRUSH>>;
using GdiRegion = Utils::UniqueHandle<GdiObjectTraits<HRGN>>;
using MemoryDc = Utils::UniqueHandle<MemoryDcTraits>;

// Selects an object into a DC for one scope and puts the previous one back.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
    ~ScopedSelect() { ::SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace SkinUI
