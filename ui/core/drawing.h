#pragma once
// The drawing primitives every control paints with. Colours are ARGB (alpha in the top
// byte); pictures are premultiplied 32-bit bitmaps.
#include <windows.h>

#include <cstdint>
#include <string_view>

namespace SkinUI {

class IPaintResources;
class ImageDescriptionCache;

COLORREF ToColorRef(uint32_t argb) noexcept;

// Alpha 0 draws nothing, 255 fills, anything between blends over what is there.
void DrawColor(HDC dc, const RECT& rect, uint32_t argb);

// Linear gradient from argb1 (top or left) to argb2. The mean of the two alphas decides:
// 0 draws nothing, 255 draws directly, anything else blends at that constant opacity.
// steps is kept for callers that band-draw; GradientFill needs none.
void DrawGradient(HDC dc, const RECT& rect, uint32_t argb1, uint32_t argb2, bool vertical,
                  int steps);

struct NinePartImage {
    HBITMAP bitmap = nullptr;
    RECT source{};   // part of the picture to use
    RECT corners{};  // widths of the fixed left, top, right and bottom borders
    bool hasAlpha = false;
    uint8_t fade = 255;
    bool hole = false;
    bool xTiled = false;
    bool yTiled = false;
};

// Nine-part drawing: corners keep their size, edges stretch along their length, the
// centre stretches (or tiles) both ways. Only parts meeting paintRect are drawn.
void DrawImage(HDC dc, const NinePartImage& image, const RECT& dest, const RECT& paintRect);

// Parses and loads the description once, then draws it placed inside itemRect. True
// when the picture is available, even if nothing lay inside paintRect.
bool DrawImageDescription(HDC dc, IPaintResources& resources, const RECT& itemRect,
                          const RECT& paintRect, ImageDescriptionCache& image);

// <windows.h> maps DrawText to DrawTextW; this header includes it first, so every caller
// sees the same mapped name. %{id} references are resolved before drawing.
void DrawText(HDC dc, IPaintResources& resources, const RECT& rect, std::wstring_view text,
              uint32_t argb, int32_t fontId, UINT style);
SIZE GetTextSize(HDC dc, IPaintResources& resources, std::wstring_view text, int32_t fontId,
                 UINT style);

void DrawRect(HDC dc, const RECT& rect, int width, uint32_t argb, int penStyle);
void DrawRoundRect(HDC dc, const RECT& rect, int width, int ellipseWidth, int ellipseHeight,
                   uint32_t argb, int penStyle);
// A line from (rect.left, rect.top) to (rect.right, rect.bottom).
void DrawLine(HDC dc, const RECT& rect, int width, uint32_t argb, int penStyle);

}  // namespace SkinUI
