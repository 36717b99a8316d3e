#include "ui/core/control.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cwchar>

#include "ui/core/drawing.h"
#include "ui/core/gdi_handles.h"
#include "ui/core/value_grammar.h"
#include "ui/core/window_manager.h"

namespace SkinUI {
namespace {

bool IsEmpty(const RECT& r) noexcept {
    return r.left >= r.right || r.top >= r.bottom;
}

template <typename Handlers, typename... Args>
bool RunAll(const Handlers& handlers, Args&&... args) {
    bool all = true;
    for (const auto& handler : handlers) all = handler(args...) && all;
    return all;
}

// Absurd coordinates in a skin must not overflow; a negative result is ignored later.
int SizeBetween(int32_t from, int32_t to) noexcept {
    return static_cast<int>(std::clamp<int64_t>(int64_t{to} - from, INT32_MIN, INT32_MAX));
}

// Four fractions "l,t,r,b" for percentage floating.
FloatFractions ParseFractions(std::wstring_view text) {
    const std::wstring copy(text);
    const wchar_t* cursor = copy.c_str();
    double values[4] = {};
    for (double& value : values) {
        wchar_t* end = nullptr;
        value = std::wcstod(cursor, &end);
        if (!std::isfinite(value)) value = 0;
        if (end == cursor || *end == L'\0') {
            cursor = end;
            continue;
        }
        cursor = end + 1;
    }
    return {values[0], values[1], values[2], values[3]};
}

// While a clip region is in effect, the previous clipping is restored on scope exit.
class ScopedRoundClip {
public:
    ScopedRoundClip(HDC dc, const RECT& rect, SIZE round) : dc_(dc), saved_(::SaveDC(dc)) {
        GdiRegion region(::CreateRoundRectRgn(rect.left, rect.top, rect.right + 1, rect.bottom + 1,
                                              round.cx, round.cy));
        if (region) ::ExtSelectClipRgn(dc, region.Get(), RGN_AND);
    }
    ScopedRoundClip(const ScopedRoundClip&) = delete;
    ScopedRoundClip& operator=(const ScopedRoundClip&) = delete;
    ~ScopedRoundClip() { ::RestoreDC(dc_, saved_); }

private:
    HDC dc_;
    int saved_;
};

}  // namespace

CControlUI::CControlUI() = default;

void CControlUI::Delete() {
    delete this;
}

CControlUI::~CControlUI() {
    delete cover_;
    cover_ = nullptr;
    RunAll(destroyHandlers, *this);
    if (manager_ != nullptr) manager_->ReapObjects(this);
}

std::wstring CControlUI::GetName() const { return name_; }
void CControlUI::SetName(const std::wstring& name) { name_ = name; }

std::wstring_view CControlUI::GetClass() const { return L"Control"; }

void* CControlUI::GetInterface(std::wstring_view name) {
    return name == L"Control" ? this : nullptr;
}

UINT CControlUI::GetInputFlags() const { return 0; }
HWND CControlUI::GetNativeHandle() const { return nullptr; }

bool CControlUI::Activate() {
    return IsVisible() && IsEnabled();
}

CWindowManagerUI* CControlUI::GetManager() const { return manager_; }

void CControlUI::AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool init) {
    if (cover_ != nullptr) cover_->AttachManager(manager, this, init);
    manager_ = manager;
    parent_ = parent;
    if (init && parent != nullptr) Init();
}

CControlUI* CControlUI::GetParent() const { return parent_; }
CControlUI* CControlUI::GetCoverControl() const { return cover_; }

void CControlUI::SetCoverControl(CControlUI* control) {
    if (cover_ == control) return;
    delete cover_;
    cover_ = control;
    if (cover_ == nullptr) return;
    if (manager_ != nullptr) manager_->InitTree(cover_, this);
    else cover_->AttachManager(nullptr, this, false);
    if (!IsVisible()) {
        cover_->SetInheritedVisible(false);
    } else {
        RequestLayout();
    }
}

std::wstring CControlUI::GetText() const { return text_; }

void CControlUI::SetText(const std::wstring& text) {
    if (text_ == text) return;
    text_ = text;
    Invalidate();
}

const RECT& CControlUI::GetPos() const { return itemRect_; }

RECT CControlUI::GetPosInParent() const {
    RECT rect = itemRect_;
    if (parent_ != nullptr) {
        const RECT& parentRect = parent_->GetPos();
        ::OffsetRect(&rect, -parentRect.left, -parentRect.top);
    }
    return rect;
}

RECT CControlUI::GetClientPos() const { return itemRect_; }

void CControlUI::SetPos(RECT rect, bool needInvalidate) {
    if (rect.right < rect.left) rect.right = rect.left;
    if (rect.bottom < rect.top) rect.bottom = rect.top;
    RECT invalid = IsEmpty(itemRect_) ? rect : itemRect_;

    if (floating_) {
        if (parent_ != nullptr) {
            const RECT& parentRect = parent_->GetPos();
            const double parentWidth = parentRect.right - parentRect.left;
            const double parentHeight = parentRect.bottom - parentRect.top;
            fixedXY_.cx = rect.left - static_cast<LONG>(floatFractions_.left * parentWidth);
            fixedXY_.cy = rect.top - static_cast<LONG>(floatFractions_.top * parentHeight);
            fixedSize_.cx = rect.right - fixedXY_.cx - static_cast<LONG>(floatFractions_.right * parentWidth);
            fixedSize_.cy = rect.bottom - fixedXY_.cy - static_cast<LONG>(floatFractions_.bottom * parentHeight);
            ::OffsetRect(&rect, parentRect.left, parentRect.top);
            itemRect_ = rect;
        }
    } else {
        itemRect_ = rect;
    }

    if (manager_ == nullptr) return;
    if (!setPosBusy_) {
        setPosBusy_ = true;
        RunAll(sizeHandlers, *this);
        setPosBusy_ = false;
    }
    updateNeeded_ = false;

    if (needInvalidate && IsVisible()) {
        ::UnionRect(&invalid, &invalid, &itemRect_);
        bool visible = true;
        for (CControlUI* ancestor = parent_; ancestor != nullptr && visible; ancestor = ancestor->GetParent()) {
            RECT clipped;
            visible = ::IntersectRect(&clipped, &invalid, &ancestor->GetPos()) != FALSE;
            invalid = clipped;
        }
        if (visible) manager_->Invalidate(invalid);
    }
    PlaceCover();
}

void CControlUI::PlaceCover() {
    if (cover_ == nullptr || !cover_->IsVisible()) return;
    if (cover_->IsFloat()) {
        const SIZE xy = cover_->GetFixedXY();
        const FloatFractions fractions = cover_->GetFloatFractions();
        const LONG width = itemRect_.right - itemRect_.left;
        const LONG height = itemRect_.bottom - itemRect_.top;
        RECT rect;
        rect.left = xy.cx + static_cast<LONG>(fractions.left * width);
        rect.top = xy.cy + static_cast<LONG>(fractions.top * height);
        rect.right = rect.left + cover_->GetFixedWidth() + static_cast<LONG>(fractions.right * width);
        rect.bottom = rect.top + cover_->GetFixedHeight() + static_cast<LONG>(fractions.bottom * height);
        cover_->SetPos(rect, false);
        return;
    }
    const LONG width = std::clamp<LONG>(itemRect_.right - itemRect_.left, cover_->GetMinWidth(),
                                        std::max(cover_->GetMinWidth(), cover_->GetMaxWidth()));
    const LONG height = std::clamp<LONG>(itemRect_.bottom - itemRect_.top, cover_->GetMinHeight(),
                                         std::max(cover_->GetMinHeight(), cover_->GetMaxHeight()));
    cover_->SetPos({itemRect_.left, itemRect_.top, itemRect_.left + width, itemRect_.top + height}, false);
}

void CControlUI::Move(SIZE offset, bool needInvalidate) {
    RECT rect = itemRect_;
    ::OffsetRect(&rect, offset.cx, offset.cy);
    if (floating_ && parent_ != nullptr) {
        const RECT& parentRect = parent_->GetPos();
        ::OffsetRect(&rect, -parentRect.left, -parentRect.top);
    }
    SetPos(rect, needInvalidate);
}

int CControlUI::GetWidth() const { return itemRect_.right - itemRect_.left; }
int CControlUI::GetHeight() const { return itemRect_.bottom - itemRect_.top; }
int CControlUI::GetX() const { return itemRect_.left; }
int CControlUI::GetY() const { return itemRect_.top; }
RECT CControlUI::GetPadding() const { return padding_; }

void CControlUI::SetPadding(RECT padding) {
    padding_ = padding;
    RequestParentLayout();
}

SIZE CControlUI::GetFixedXY() const { return fixedXY_; }

void CControlUI::SetFixedXY(SIZE xy) {
    fixedXY_ = xy;
    RequestParentLayout();
}

FloatFractions CControlUI::GetFloatFractions() const { return floatFractions_; }

void CControlUI::SetFloatFractions(FloatFractions fractions) {
    floatFractions_ = fractions;
    RequestParentLayout();
}

int CControlUI::GetFixedWidth() const { return fixedSize_.cx; }

void CControlUI::SetFixedWidth(int cx) {
    if (cx < 0) return;
    fixedSize_.cx = cx;
    RequestParentLayout();
}

int CControlUI::GetFixedHeight() const { return fixedSize_.cy; }

void CControlUI::SetFixedHeight(int cy) {
    if (cy < 0) return;
    fixedSize_.cy = cy;
    RequestParentLayout();
}

int CControlUI::GetMinWidth() const { return minSize_.cx; }

void CControlUI::SetMinWidth(int cx) {
    if (minSize_.cx == cx || cx < 0) return;
    minSize_.cx = cx;
    RequestParentLayout();
}

int CControlUI::GetMaxWidth() const { return maxSize_.cx; }

void CControlUI::SetMaxWidth(int cx) {
    if (maxSize_.cx == cx || cx < 0) return;
    maxSize_.cx = cx;
    RequestParentLayout();
}

int CControlUI::GetMinHeight() const { return minSize_.cy; }

void CControlUI::SetMinHeight(int cy) {
    if (minSize_.cy == cy || cy < 0) return;
    minSize_.cy = cy;
    RequestParentLayout();
}

int CControlUI::GetMaxHeight() const { return maxSize_.cy; }

void CControlUI::SetMaxHeight(int cy) {
    if (maxSize_.cy == cy || cy < 0) return;
    maxSize_.cy = cy;
    RequestParentLayout();
}

std::wstring CControlUI::GetToolTip() const { return toolTip_; }

void CControlUI::SetToolTip(const std::wstring& text) {
    toolTip_.clear();
    for (size_t pos = 0; pos < text.size();) {
        if (text.compare(pos, 3, L"<n>") == 0) {
            toolTip_ += L"\r\n";
            pos += 3;
        } else {
            toolTip_ += text[pos++];
        }
    }
}

void CControlUI::SetToolTipWidth(int width) { toolTipWidth_ = width; }
int CControlUI::GetToolTipWidth() const { return toolTipWidth_; }
wchar_t CControlUI::GetShortcut() const { return shortcut_; }
void CControlUI::SetShortcut(wchar_t shortcut) { shortcut_ = shortcut; }
bool CControlUI::HasContextMenu() const { return menuUsed_; }
void CControlUI::SetHasContextMenu(bool menuUsed) { menuUsed_ = menuUsed; }
std::wstring CControlUI::GetUserData() const { return userData_; }
void CControlUI::SetUserData(const std::wstring& text) { userData_ = text; }
intptr_t CControlUI::GetTag() const { return tag_; }
void CControlUI::SetTag(intptr_t tag) { tag_ = tag; }

bool CControlUI::IsVisible() const { return visible_ && inheritedVisible_; }

void CControlUI::SetVisible(bool visible) {
    if (visible_ == visible) return;
    const bool wasVisible = IsVisible();
    visible_ = visible;
    if (focused_ && !visible && manager_ != nullptr) manager_->SetFocus(nullptr, false);
    if (IsVisible() != wasVisible) RequestParentLayout();
    if (cover_ != nullptr) cover_->SetInheritedVisible(IsVisible());
}

void CControlUI::SetInheritedVisible(bool visible) {
    inheritedVisible_ = visible;
    if (!visible && focused_ && manager_ != nullptr) manager_->SetFocus(nullptr, false);
    if (cover_ != nullptr) cover_->SetInheritedVisible(IsVisible());
}

bool CControlUI::IsEnabled() const { return enabled_; }

void CControlUI::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Invalidate();
}

bool CControlUI::IsMouseEnabled() const { return mouseEnabled_; }
void CControlUI::SetMouseEnabled(bool enabled) { mouseEnabled_ = enabled; }
bool CControlUI::IsKeyboardEnabled() const { return keyboardEnabled_; }
void CControlUI::SetKeyboardEnabled(bool enabled) { keyboardEnabled_ = enabled; }
bool CControlUI::IsFocused() const { return focused_; }

void CControlUI::SetFocus() {
    if (manager_ != nullptr) manager_->SetFocus(this, false);
}

bool CControlUI::IsFloat() const { return floating_; }

void CControlUI::SetFloat(bool floating) {
    if (floating_ == floating) return;
    floating_ = floating;
    RequestParentLayout();
}

CControlUI* CControlUI::MatchSelf(FindControlProc proc, void* data, UINT flags) {
    if ((flags & kFindHitTest) != 0 && !IsMouseEnabled()) return nullptr;
    return proc(this, data);
}

CControlUI* CControlUI::VisitControls(FindControlProc proc, void* data, UINT flags) {
    if ((flags & kFindVisible) != 0 && !IsVisible()) return nullptr;
    if ((flags & kFindEnabled) != 0 && !IsEnabled()) return nullptr;
    if ((flags & kFindHitTest) != 0 && !::PtInRect(&itemRect_, *static_cast<POINT*>(data))) return nullptr;
    if ((flags & kFindUpdateTest) != 0 && proc(this, data) != nullptr) return nullptr;
    if ((flags & kFindMeFirst) != 0) {
        if (CControlUI* found = MatchSelf(proc, data, flags)) return found;
    }
    if (cover_ != nullptr) {
        if (CControlUI* found = cover_->VisitControls(proc, data, flags)) return found;
    }
    if ((flags & kFindMeFirst) == 0) return MatchSelf(proc, data, flags);
    return nullptr;
}

void CControlUI::Init() {
    InitSelf();
    RunAll(initHandlers, *this);
}

void CControlUI::InitSelf() {}

void CControlUI::DispatchEvent(ControlEvent& event) {
    if (RunAll(eventHandlers, event)) HandleEvent(event);
}

void CControlUI::HandleEvent(ControlEvent& event) {
    switch (event.type) {
    case kEventSetCursor:
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        return;
    case kEventKillFocus:
        focused_ = false;
        Invalidate();
        return;
    case kEventSetFocus:
        focused_ = true;
        Invalidate();
        return;
    case kEventTimer:
        SendNotify(Notify::kTimer, event.wParam, event.lParam);
        return;
    case kEventContextMenu:
        if (menuUsed_) {
            SendNotify(Notify::kMenu, event.wParam, event.lParam);
            return;
        }
        break;
    default:
        break;
    }
    if (parent_ != nullptr) parent_->HandleEvent(event);
}

void CControlUI::SendNotify(const wchar_t* type, WPARAM wParam, LPARAM lParam) {
    if (manager_ != nullptr) manager_->SendNotification(this, type, wParam, lParam);
}

std::wstring CControlUI::GetAttribute(std::wstring_view) { return L""; }

void CControlUI::SetAttribute(std::wstring_view name, std::wstring_view value) {
    const std::wstring text(value);
    if (name == L"pos") {
        const IntRect rect = ParseRect(value);
        fixedXY_ = {rect.left, rect.top};
        SetFixedWidth(SizeBetween(rect.left, rect.right));
        SetFixedHeight(SizeBetween(rect.top, rect.bottom));
        RequestParentLayout();
    } else if (name == L"padding") {
        const IntRect rect = ParseRect(value);
        SetPadding({rect.left, rect.top, rect.right, rect.bottom});
    } else if (name == L"bkcolor" || name == L"bkcolor1") {
        SetBkColor(ParseColor(value));
    } else if (name == L"bkcolor2") {
        SetBkColor2(ParseColor(value));
    } else if (name == L"bkcolor3") {
        SetBkColor3(ParseColor(value));
    } else if (name == L"bordercolor") {
        SetBorderColor(ParseColor(value));
    } else if (name == L"focusbordercolor") {
        SetFocusBorderColor(ParseColor(value));
    } else if (name == L"colorhsl") {
        SetColorHSL(ParseControlBoolean(value));
    } else if (name == L"bordersize") {
        if (value.find(L',') == std::wstring_view::npos) {
            SetBorderSize(ParseInteger(value));
        } else {
            const IntRect rect = ParseRect(value);
            SetBorderSize(RECT{rect.left, rect.top, rect.right, rect.bottom});
        }
    } else if (name == L"borderstyle") {
        SetBorderStyle(ParseInteger(value));
    } else if (name == L"borderround") {
        const IntPair pair = ParsePair(value);
        SetBorderRound({pair.cx, pair.cy});
    } else if (name == L"bkimage") {
        SetBkImage(text);
    } else if (name == L"width") {
        SetFixedWidth(ParseInteger(value));
    } else if (name == L"height") {
        SetFixedHeight(ParseInteger(value));
    } else if (name == L"minwidth") {
        SetMinWidth(ParseInteger(value));
    } else if (name == L"minheight") {
        SetMinHeight(ParseInteger(value));
    } else if (name == L"maxwidth") {
        SetMaxWidth(ParseInteger(value));
    } else if (name == L"maxheight") {
        SetMaxHeight(ParseInteger(value));
    } else if (name == L"name") {
        SetName(text);
    } else if (name == L"text") {
        SetText(text);
    } else if (name == L"tooltip") {
        SetToolTip(text);
    } else if (name == L"userdata") {
        SetUserData(text);
    } else if (name == L"tag") {
        SetTag(ParseInteger(value));
    } else if (name == L"enabled") {
        SetEnabled(ParseControlBoolean(value));
    } else if (name == L"mouse") {
        SetMouseEnabled(ParseControlBoolean(value));
    } else if (name == L"keyboard") {
        SetKeyboardEnabled(ParseControlBoolean(value));
    } else if (name == L"visible") {
        SetVisible(ParseControlBoolean(value));
    } else if (name == L"float") {
        if (value.find(L',') == std::wstring_view::npos) {
            SetFloat(ParseControlBoolean(value));
        } else {
            SetFloatFractions(ParseFractions(value));
            SetFloat(true);
        }
    } else if (name == L"shortcut") {
        SetShortcut(value.empty() ? L'\0' : value.front());
    } else if (name == L"menu") {
        SetHasContextMenu(ParseControlBoolean(value));
    } else if (name == L"virtualwnd") {
        SetVirtualWnd(text);
    } else {
        AddCustomAttribute(std::wstring(name), text);
    }
}

std::wstring CControlUI::GetAttributeList() { return L""; }

void CControlUI::ApplyAttributeList(std::wstring_view list) {
    for (const auto& [name, value] : ParseAttributeList(list)) SetAttribute(name, value);
}

SIZE CControlUI::MeasureSize(SIZE) { return fixedSize_; }

bool CControlUI::Paint(HDC dc, const RECT& paintRect, CControlUI* stopControl) {
    if (stopControl == this) return false;
    if (!::IntersectRect(&paintRect_, &paintRect, &itemRect_)) return true;
    if (!RunAll(paintHandlers, *this, dc)) return true;
    if (!DoPaint(dc, paintRect)) return false;
    if (cover_ != nullptr && cover_->IsVisible()) {
        if (!cover_->Paint(dc, paintRect, stopControl)) return false;
    }
    return true;
}

bool CControlUI::DoPaint(HDC dc, const RECT&) {
    if (borderRound_.cx > 0 || borderRound_.cy > 0) {
        ScopedRoundClip clip(dc, itemRect_, borderRound_);
        PaintBkColor(dc);
        PaintBkImage(dc);
        PaintStateImage(dc);
        PaintText(dc);
        PaintBorder(dc);
    } else {
        PaintBkColor(dc);
        PaintBkImage(dc);
        PaintStateImage(dc);
        PaintText(dc);
        PaintBorder(dc);
    }
    return true;
}

void CControlUI::PaintBkColor(HDC dc) {
    if (bkColor_ == 0) return;
    if (bkColor2_ == 0) {
        if ((bkColor_ >> 24) == 0xFF) {
            DrawColor(dc, paintRect_, bkColor_);
        } else {
            DrawColor(dc, itemRect_, bkColor_);
        }
        return;
    }
    if (bkColor3_ == 0) {
        DrawGradient(dc, itemRect_, bkColor_, bkColor2_, true, 16);
        return;
    }
    RECT upper = itemRect_;
    upper.bottom = (itemRect_.top + itemRect_.bottom) / 2;
    RECT lower = itemRect_;
    lower.top = upper.bottom;
    DrawGradient(dc, upper, bkColor_, bkColor2_, true, 8);
    DrawGradient(dc, lower, bkColor2_, bkColor3_, true, 8);
}

void CControlUI::PaintBkImage(HDC dc) {
    if (!bkImage_.Description().empty()) DrawControlImage(dc, bkImage_);
}

void CControlUI::PaintStateImage(HDC) {}
void CControlUI::PaintText(HDC) {}

void CControlUI::PaintBorder(HDC dc) {
    if (borderColor_ == 0 && focusBorderColor_ == 0) return;
    const RECT& w = borderWidths_;
    if (w.left <= 0 && w.top <= 0 && w.right <= 0 && w.bottom <= 0) return;
    const uint32_t color = (focused_ && focusBorderColor_ != 0) ? focusBorderColor_ : borderColor_;
    if (borderRound_.cx > 0 || borderRound_.cy > 0) {
        DrawRoundRect(dc, itemRect_, w.left, borderRound_.cx, borderRound_.cy, color, borderStyle_);
        return;
    }
    if (w.left == w.top && w.left == w.right && w.left == w.bottom) {
        DrawRect(dc, itemRect_, w.left, color, borderStyle_);
        return;
    }
    const RECT& r = itemRect_;
    if (w.left > 0) DrawLine(dc, {r.left, r.top, r.left, r.bottom}, w.left, color, borderStyle_);
    if (w.top > 0) DrawLine(dc, {r.left, r.top, r.right, r.top}, w.top, color, borderStyle_);
    if (w.right > 0) {
        DrawLine(dc, {r.right - w.right, r.top, r.right - w.right, r.bottom}, w.right, color, borderStyle_);
    }
    if (w.bottom > 0) {
        DrawLine(dc, {r.left, r.bottom - w.bottom, r.right, r.bottom - w.bottom}, w.bottom, color, borderStyle_);
    }
}

void CControlUI::PaintOverlay(HDC dc, const RECT&) {
    RunAll(overlayHandlers, *this, dc);
}

void CControlUI::Invalidate() {
    if (!IsVisible() || manager_ == nullptr) return;
    RECT invalid = itemRect_;
    for (CControlUI* ancestor = parent_; ancestor != nullptr; ancestor = ancestor->GetParent()) {
        RECT clipped;
        if (!::IntersectRect(&clipped, &invalid, &ancestor->GetPos())) return;
        invalid = clipped;
    }
    manager_->Invalidate(invalid);
}

void CControlUI::RequestLayout() {
    if (!IsVisible()) return;
    updateNeeded_ = true;
    Invalidate();
    if (manager_ != nullptr) manager_->RequestLayout();
}

void CControlUI::RequestParentLayout() {
    if (parent_ != nullptr) {
        if (parent_->IsVisible()) {
            parent_->updateNeeded_ = true;
            parent_->Invalidate();
            if (manager_ != nullptr) manager_->RequestLayout();
        }
        parent_->Invalidate();
    } else {
        RequestLayout();
    }
    if (manager_ != nullptr) manager_->RequestLayout();
}

void CControlUI::SetBkColor(uint32_t argb) {
    if (bkColor_ == argb) return;
    bkColor_ = argb;
    Invalidate();
}

void CControlUI::SetBkColor2(uint32_t argb) {
    if (bkColor2_ == argb) return;
    bkColor2_ = argb;
    Invalidate();
}

void CControlUI::SetBkColor3(uint32_t argb) {
    if (bkColor3_ == argb) return;
    bkColor3_ = argb;
    Invalidate();
}

void CControlUI::SetBkImage(const std::wstring& description) {
    if (bkImage_.Description() == description && bkImage_.Image()) return;
    bkImage_.SetDescription(description);
    if (manager_ != nullptr && !description.empty()) {
        const auto& image = bkImage_.Resolve(manager_->GetImageStore());
        if (image && floating_ && fixedSize_.cx == 0 && fixedSize_.cy == 0) {
            SetFixedWidth(image->width);
            SetFixedHeight(image->height);
        }
    }
    Invalidate();
}

bool CControlUI::DrawControlImage(HDC dc, ImageDescriptionCache& image) {
    if (manager_ == nullptr) return false;
    return DrawImageDescription(dc, *manager_, itemRect_, paintRect_, image);
}

void CControlUI::SetBorderColor(uint32_t argb) {
    if (borderColor_ == argb) return;
    borderColor_ = argb;
    Invalidate();
}

void CControlUI::SetFocusBorderColor(uint32_t argb) {
    if (focusBorderColor_ == argb) return;
    focusBorderColor_ = argb;
    Invalidate();
}

void CControlUI::SetBorderSize(int width) {
    borderWidths_ = {width, width, width, width};
    Invalidate();
}

void CControlUI::SetBorderSize(RECT widths) {
    borderWidths_ = widths;
    Invalidate();
}

void CControlUI::SetBorderRound(SIZE round) {
    borderRound_ = round;
    Invalidate();
}

void CControlUI::SetBorderStyle(int style) {
    borderStyle_ = style;
    Invalidate();
}

void CControlUI::SetColorHSL(bool on) {
    if (colorHsl_ == on) return;
    colorHsl_ = on;
    Invalidate();
}

std::wstring CControlUI::GetVirtualWnd() const {
    if (!virtualWnd_.empty()) return virtualWnd_;
    return parent_ != nullptr ? parent_->GetVirtualWnd() : std::wstring();
}

void CControlUI::SetVirtualWnd(const std::wstring& name) {
    virtualWnd_ = name;
}

void CControlUI::AddCustomAttribute(const std::wstring& name, const std::wstring& value) {
    if (!name.empty()) customAttributes_[name] = value;
}

const std::wstring* CControlUI::GetCustomAttribute(const std::wstring& name) const {
    const auto found = customAttributes_.find(name);
    return found != customAttributes_.end() ? &found->second : nullptr;
}

}  // namespace SkinUI
