#include "ui/core/drawing.h"

#include <algorithm>
#include <string>

#include "ui/core/gdi_handles.h"
#include "ui/core/image_description_cache.h"
#include "ui/core/image_info.h"
#include "ui/core/multi_language.h"
#include "ui/core/paint_resources.h"

namespace SkinUI {
namespace {

LONG Width(const RECT& r) noexcept { return r.right - r.left; }
LONG Height(const RECT& r) noexcept { return r.bottom - r.top; }

bool Meets(const RECT& a, const RECT& b) noexcept {
    RECT overlap;
    return ::IntersectRect(&overlap, &a, &b) != FALSE;
}

// Far beyond any window, yet far from overflowing when widths are taken.
constexpr int64_t kCoordinateLimit = int64_t{1} << 24;

LONG Coordinate(int64_t value) noexcept {
    return static_cast<LONG>(std::clamp(value, -kCoordinateLimit, kCoordinateLimit));
}

COLOR16 Channel16(uint32_t argb, int shift) noexcept {
    return static_cast<COLOR16>(((argb >> shift) & 0xFF) << 8);
}

// A memory DC with a bitmap selected for the scope of one drawing call.
class BitmapDc {
public:
    BitmapDc(HDC compatibleWith, HBITMAP bitmap)
        : dc_(::CreateCompatibleDC(compatibleWith)), select_(dc_.Get(), bitmap) {}
    HDC Get() const noexcept { return dc_.Get(); }
    explicit operator bool() const noexcept { return static_cast<bool>(dc_); }

private:
    MemoryDc dc_;
    ScopedSelect select_;
};

// Copies or blends one part of a picture, skipping empty parts and parts that lie
// wholly outside the area being painted.
class PartPainter {
public:
    PartPainter(HDC dc, HDC source, bool blended, uint8_t fade, const RECT& paintRect)
        : dc_(dc), source_(source), blended_(blended), paintRect_(paintRect) {
        blend_ = {AC_SRC_OVER, 0, fade, AC_SRC_ALPHA};
    }

    void Draw(const RECT& dest, const RECT& source) const {
        if (Width(dest) <= 0 || Height(dest) <= 0 || Width(source) <= 0 || Height(source) <= 0) return;
        if (!Meets(dest, paintRect_)) return;
        if (blended_) {
            ::AlphaBlend(dc_, dest.left, dest.top, Width(dest), Height(dest), source_, source.left,
                         source.top, Width(source), Height(source), blend_);
        } else if (Width(dest) == Width(source) && Height(dest) == Height(source)) {
            ::BitBlt(dc_, dest.left, dest.top, Width(dest), Height(dest), source_, source.left,
                     source.top, SRCCOPY);
        } else {
            ::StretchBlt(dc_, dest.left, dest.top, Width(dest), Height(dest), source_, source.left,
                         source.top, Width(source), Height(source), SRCCOPY);
        }
    }

    // Tiles of the source's size from the top-left corner, the last ones cut to fit; a
    // direction that is not tiled is stretched. Only tiles meeting paintRect are visited,
    // so a huge destination costs no more than the area being painted.
    void DrawTiled(const RECT& dest, const RECT& source, bool xTiled, bool yTiled) const {
        if (Width(dest) <= 0 || Height(dest) <= 0 || Width(source) <= 0 || Height(source) <= 0) return;
        RECT visible;
        if (!::IntersectRect(&visible, &dest, &paintRect_)) return;
        const LONG tileWidth = xTiled ? Width(source) : Width(dest);
        const LONG tileHeight = yTiled ? Height(source) : Height(dest);
        const LONG firstY = dest.top + (visible.top - dest.top) / tileHeight * tileHeight;
        const LONG firstX = dest.left + (visible.left - dest.left) / tileWidth * tileWidth;
        for (LONG y = firstY; y < visible.bottom; y += tileHeight) {
            const LONG height = std::min(tileHeight, dest.bottom - y);
            const LONG sourceHeight = yTiled ? height : Height(source);
            for (LONG x = firstX; x < visible.right; x += tileWidth) {
                const LONG width = std::min(tileWidth, dest.right - x);
                const LONG sourceWidth = xTiled ? width : Width(source);
                Draw({x, y, x + width, y + height},
                     {source.left, source.top, source.left + sourceWidth, source.top + sourceHeight});
            }
        }
    }

private:
    HDC dc_;
    HDC source_;
    bool blended_;
    const RECT& paintRect_;
    BLENDFUNCTION blend_{};
};

// Column and row edges of a rectangle split by border widths.
struct NineGrid {
    LONG x[4];
    LONG y[4];

    NineGrid(const RECT& r, const RECT& borders)
        : x{r.left, r.left + borders.left, r.right - borders.right, r.right},
          y{r.top, r.top + borders.top, r.bottom - borders.bottom, r.bottom} {}

    RECT Part(int column, int row) const {
        return {x[column], y[row], x[column + 1], y[row + 1]};
    }
};

int InsideFramePenStyle(int penStyle) noexcept {
    // Only a solid pen can be drawn inside the frame; other styles keep their own form.
    return (penStyle & PS_STYLE_MASK) == PS_SOLID ? (penStyle & ~PS_STYLE_MASK) | PS_INSIDEFRAME
                                                  : penStyle;
}

void DrawWithPen(HDC dc, int penStyle, int width, uint32_t argb, void (*shape)(HDC, const RECT&, int, int),
                 const RECT& rect, int ellipseWidth, int ellipseHeight) {
    GdiPen pen(::CreatePen(penStyle, width, ToColorRef(argb)));
    if (!pen) return;
    ScopedSelect selectPen(dc, pen.Get());
    ScopedSelect selectBrush(dc, ::GetStockObject(NULL_BRUSH));
    shape(dc, rect, ellipseWidth, ellipseHeight);
}

}  // namespace

COLORREF ToColorRef(uint32_t argb) noexcept {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

void DrawColor(HDC dc, const RECT& rect, uint32_t argb) {
    const uint32_t alpha = argb >> 24;
    if (alpha == 0) return;
    if (alpha == 255) {
        ::SetBkColor(dc, ToColorRef(argb));
        ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
        return;
    }
    // AlphaBlend expects premultiplied pixels; an unscaled colour would draw too bright.
    uint32_t* pixel = nullptr;
    GdiBitmap bitmap = CreateTopDownDib(dc, 1, 1, &pixel);
    if (!bitmap) return;
    const uint32_t red = ((argb >> 16) & 0xFF) * alpha / 255;
    const uint32_t green = ((argb >> 8) & 0xFF) * alpha / 255;
    const uint32_t blue = (argb & 0xFF) * alpha / 255;
    *pixel = (alpha << 24) | (red << 16) | (green << 8) | blue;
    BitmapDc source(dc, bitmap.Get());
    if (!source) return;
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(dc, rect.left, rect.top, Width(rect), Height(rect), source.Get(), 0, 0, 1, 1, blend);
}

void DrawGradient(HDC dc, const RECT& rect, uint32_t argb1, uint32_t argb2, bool vertical,
                  int /*steps*/) {
    const uint32_t alpha = ((argb1 >> 24) + (argb2 >> 24)) / 2;
    if (alpha == 0 || Width(rect) <= 0 || Height(rect) <= 0) return;
    const ULONG mode = vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H;
    GRADIENT_RECT span = {0, 1};
    auto fill = [&](HDC target, LONG left, LONG top) {
        TRIVERTEX vertices[2] = {
            {left, top, Channel16(argb1, 16), Channel16(argb1, 8), Channel16(argb1, 0), 0xFF00},
            {left + Width(rect), top + Height(rect), Channel16(argb2, 16), Channel16(argb2, 8),
             Channel16(argb2, 0), 0xFF00},
        };
        ::GradientFill(target, vertices, 2, &span, 1, mode);
    };
    if (alpha == 255) {
        fill(dc, rect.left, rect.top);
        return;
    }
    uint32_t* bits = nullptr;
    GdiBitmap bitmap = CreateTopDownDib(dc, Width(rect), Height(rect), &bits);
    if (!bitmap) return;
    BitmapDc buffer(dc, bitmap.Get());
    if (!buffer) return;
    fill(buffer.Get(), 0, 0);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
    ::AlphaBlend(dc, rect.left, rect.top, Width(rect), Height(rect), buffer.Get(), 0, 0, Width(rect),
                 Height(rect), blend);
}

void DrawImage(HDC dc, const NinePartImage& image, const RECT& dest, const RECT& paintRect) {
    if (image.bitmap == nullptr) return;
    BitmapDc source(dc, image.bitmap);
    if (!source) return;
    const bool blended = image.hasAlpha || image.fade < 255;
    const RECT& corners = image.corners;
    const bool noCorners = corners.left == 0 && corners.top == 0 && corners.right == 0 && corners.bottom == 0;
    if (!blended && noCorners && Width(dest) == Width(image.source) && Height(dest) == Height(image.source)) {
        RECT visible;
        if (!::IntersectRect(&visible, &dest, &paintRect)) return;
        ::BitBlt(dc, visible.left, visible.top, Width(visible), Height(visible), source.Get(),
                 image.source.left + visible.left - dest.left, image.source.top + visible.top - dest.top,
                 SRCCOPY);
        return;
    }
    // A stretched part that only partly meets paintRect must not spill over it.
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, paintRect.left, paintRect.top, paintRect.right, paintRect.bottom);
    ::SetStretchBltMode(dc, COLORONCOLOR);
    const PartPainter painter(dc, source.Get(), blended, image.fade, paintRect);
    const NineGrid destGrid(dest, corners);
    const NineGrid sourceGrid(image.source, corners);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const RECT destPart = destGrid.Part(column, row);
            const RECT sourcePart = sourceGrid.Part(column, row);
            if (row == 1 && column == 1) {
                if (image.hole) continue;
                if (image.xTiled || image.yTiled) {
                    painter.DrawTiled(destPart, sourcePart, image.xTiled, image.yTiled);
                    continue;
                }
            }
            painter.Draw(destPart, sourcePart);
        }
    }
    ::RestoreDC(dc, saved);
}

bool DrawImageDescription(HDC dc, IPaintResources& resources, const RECT& itemRect,
                          const RECT& paintRect, ImageDescriptionCache& cache) {
    const std::shared_ptr<ImageInfo> image = cache.Resolve(resources.GetImageStore());
    if (!image) return false;
    const ImageDescription& properties = cache.Properties();

    // Descriptions come from untrusted skins: the source is held inside the picture, the
    // borders inside the source, and the destination to coordinates GDI can take.
    RECT source = {properties.source.left, properties.source.top, properties.source.right,
                   properties.source.bottom};
    if (properties.source.IsZero()) source = {0, 0, image->width, image->height};
    source.left = std::clamp<LONG>(source.left, 0, image->width);
    source.top = std::clamp<LONG>(source.top, 0, image->height);
    source.right = std::clamp<LONG>(source.right, source.left, image->width);
    source.bottom = std::clamp<LONG>(source.bottom, source.top, image->height);

    RECT dest = itemRect;
    if (!properties.dest.IsZero()) {
        dest = {Coordinate(int64_t{itemRect.left} + properties.dest.left),
                Coordinate(int64_t{itemRect.top} + properties.dest.top),
                Coordinate(std::min<int64_t>(itemRect.right, int64_t{itemRect.left} + properties.dest.right)),
                Coordinate(std::min<int64_t>(itemRect.bottom, int64_t{itemRect.top} + properties.dest.bottom))};
    }
    if (!Meets(dest, itemRect) || !Meets(dest, paintRect)) return true;

    NinePartImage part;
    part.bitmap = image->bitmap.Get();
    part.source = source;
    part.corners = {std::clamp<LONG>(properties.corner.left, 0, Width(source)),
                    std::clamp<LONG>(properties.corner.top, 0, Height(source)),
                    std::clamp<LONG>(properties.corner.right, 0, Width(source)),
                    std::clamp<LONG>(properties.corner.bottom, 0, Height(source))};
    part.hasAlpha = image->hasAlpha;
    part.fade = properties.fade;
    part.hole = properties.hole;
    part.xTiled = properties.xTiled;
    part.yTiled = properties.yTiled;
    DrawImage(dc, part, dest, paintRect);
    return true;
}

void DrawText(HDC dc, IPaintResources& resources, const RECT& rect, std::wstring_view text,
              uint32_t argb, int32_t fontId, UINT style) {
    std::wstring resolved = ResolveTextReferences(text);
    if (resolved.empty()) return;
    const int previousMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColor = ::SetTextColor(dc, ToColorRef(argb));
    {
        ScopedSelect font(dc, resources.GetFont(fontId));
        RECT area = rect;
        ::DrawTextW(dc, resolved.data(), static_cast<int>(resolved.size()), &area, style | DT_NOPREFIX);
    }
    ::SetTextColor(dc, previousColor);
    ::SetBkMode(dc, previousMode);
}

SIZE GetTextSize(HDC dc, IPaintResources& resources, std::wstring_view text, int32_t fontId,
                 UINT /*style*/) {
    SIZE size{};
    const std::wstring resolved = ResolveTextReferences(text);
    if (resolved.empty()) return size;
    ScopedSelect font(dc, resources.GetFont(fontId));
    ::GetTextExtentPoint32W(dc, resolved.c_str(), static_cast<int>(resolved.size()), &size);
    return size;
}

void DrawRect(HDC dc, const RECT& rect, int width, uint32_t argb, int penStyle) {
    DrawWithPen(dc, InsideFramePenStyle(penStyle), width, argb,
                [](HDC target, const RECT& r, int, int) { ::Rectangle(target, r.left, r.top, r.right, r.bottom); },
                rect, 0, 0);
}

void DrawRoundRect(HDC dc, const RECT& rect, int width, int ellipseWidth, int ellipseHeight,
                   uint32_t argb, int penStyle) {
    DrawWithPen(dc, InsideFramePenStyle(penStyle), width, argb,
                [](HDC target, const RECT& r, int ew, int eh) {
                    ::RoundRect(target, r.left, r.top, r.right, r.bottom, ew, eh);
                },
                rect, ellipseWidth, ellipseHeight);
}

void DrawLine(HDC dc, const RECT& rect, int width, uint32_t argb, int penStyle) {
    DrawWithPen(dc, penStyle, width, argb,
                [](HDC target, const RECT& r, int, int) {
                    ::MoveToEx(target, r.left, r.top, nullptr);
                    ::LineTo(target, r.right, r.bottom);
                },
                rect, 0, 0);
}

}  // namespace SkinUI
