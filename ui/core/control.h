#pragma once
// The base of every visible element of a skinned window. Controls form a tree owned by
// containers; the root belongs to the window's manager.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "ui/core/control_event.h"
#include "ui/core/image_description_cache.h"

namespace SkinUI {

class CWindowManagerUI;

// VisitControls flags.
inline constexpr UINT kFindVisible = 0x00000001;
inline constexpr UINT kFindEnabled = 0x00000002;
inline constexpr UINT kFindHitTest = 0x00000004;     // data is a POINT*; only controls containing it
inline constexpr UINT kFindUpdateTest = 0x00000008;  // a control the visitor already accepts is not descended
inline constexpr UINT kFindTopFirst = 0x00000010;    // children from last to first
inline constexpr UINT kFindMeFirst = 0x80000000;     // the control before its cover and children

// GetInputFlags values.
inline constexpr UINT kInputTabStop = 0x00000001;
inline constexpr UINT kInputSetCursor = 0x00000002;

using FindControlProc = CControlUI* (*)(CControlUI* control, void* data);

// Floating placement by fractions of the parent's size.
struct FloatFractions {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

class CControlUI {
public:
    using ControlHandler = std::function<bool(CControlUI&)>;
    using EventHandler = std::function<bool(ControlEvent&)>;
    using NotifyHandler = std::function<bool(NotifyEvent&)>;
    using PaintHandler = std::function<bool(CControlUI&, HDC)>;

    // Callbacks an application may attach.
    std::vector<ControlHandler> initHandlers;
    std::vector<ControlHandler> destroyHandlers;
    std::vector<ControlHandler> sizeHandlers;
    std::vector<EventHandler> eventHandlers;     // false suppresses the control's own handling
    std::vector<NotifyHandler> notifyHandlers;
    std::vector<PaintHandler> paintHandlers;     // false skips painting the control
    std::vector<PaintHandler> overlayHandlers;

    CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual void Delete();
    virtual ~CControlUI();

    virtual std::wstring GetName() const;
    virtual void SetName(const std::wstring& name);

    virtual std::wstring_view GetClass() const;
    virtual void* GetInterface(std::wstring_view name);

    virtual UINT GetInputFlags() const;
    virtual HWND GetNativeHandle() const;

    virtual bool Activate();
    virtual CWindowManagerUI* GetManager() const;
    virtual void AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool init = true);
    virtual CControlUI* GetParent() const;
    virtual CControlUI* GetCoverControl() const;
    virtual void SetCoverControl(CControlUI* control);

    virtual std::wstring GetText() const;
    virtual void SetText(const std::wstring& text);

    virtual const RECT& GetPos() const;
    virtual RECT GetPosInParent() const;
    virtual RECT GetClientPos() const;
    virtual void SetPos(RECT rect, bool needInvalidate = true);
    virtual void Move(SIZE offset, bool needInvalidate = true);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetX() const;
    virtual int GetY() const;
    virtual RECT GetPadding() const;
    virtual void SetPadding(RECT padding);
    virtual SIZE GetFixedXY() const;
    virtual void SetFixedXY(SIZE xy);
    virtual FloatFractions GetFloatFractions() const;
    virtual void SetFloatFractions(FloatFractions fractions);
    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int cx);
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const;
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const;
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const;
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const;
    virtual void SetMaxHeight(int cy);

    virtual std::wstring GetToolTip() const;
    virtual void SetToolTip(const std::wstring& text);
    virtual void SetToolTipWidth(int width);
    virtual int GetToolTipWidth() const;
    virtual wchar_t GetShortcut() const;
    virtual void SetShortcut(wchar_t shortcut);
    virtual bool HasContextMenu() const;
    virtual void SetHasContextMenu(bool menuUsed);
    virtual std::wstring GetUserData() const;
    virtual void SetUserData(const std::wstring& text);
    virtual intptr_t GetTag() const;
    virtual void SetTag(intptr_t tag);

    virtual bool IsVisible() const;
    virtual void SetVisible(bool visible = true);
    virtual void SetInheritedVisible(bool visible = true);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool enabled = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool enabled = true);
    virtual bool IsKeyboardEnabled() const;
    virtual void SetKeyboardEnabled(bool enabled = true);
    virtual bool IsFocused() const;
    virtual void SetFocus();
    virtual bool IsFloat() const;
    virtual void SetFloat(bool floating = true);

    virtual CControlUI* VisitControls(FindControlProc proc, void* data, UINT flags);
    virtual void Init();
    virtual void InitSelf();
    virtual void DispatchEvent(ControlEvent& event);
    virtual void HandleEvent(ControlEvent& event);

    virtual std::wstring GetAttribute(std::wstring_view name);
    virtual void SetAttribute(std::wstring_view name, std::wstring_view value);
    virtual std::wstring GetAttributeList();
    virtual void ApplyAttributeList(std::wstring_view list);
    virtual SIZE MeasureSize(SIZE available);

    virtual bool Paint(HDC dc, const RECT& paintRect, CControlUI* stopControl);
    virtual bool DoPaint(HDC dc, const RECT& paintRect);
    virtual void PaintBkColor(HDC dc);
    virtual void PaintBkImage(HDC dc);
    virtual void PaintStateImage(HDC dc);
    virtual void PaintText(HDC dc);
    virtual void PaintBorder(HDC dc);
    virtual void PaintOverlay(HDC dc, const RECT& paintRect);

    void Invalidate();
    bool IsUpdateNeeded() const noexcept { return updateNeeded_; }
    void RequestLayout();
    void RequestParentLayout();

    uint32_t GetBkColor() const noexcept { return bkColor_; }
    void SetBkColor(uint32_t argb);
    void SetBkColor2(uint32_t argb);
    void SetBkColor3(uint32_t argb);
    const std::wstring& GetBkImage() const noexcept { return bkImage_.Description(); }
    void SetBkImage(const std::wstring& description);
    // Draws an image description over the control, clipped to the area being painted.
    bool DrawControlImage(HDC dc, ImageDescriptionCache& image);
    void SetBorderColor(uint32_t argb);
    void SetFocusBorderColor(uint32_t argb);
    void SetBorderSize(int width);
    void SetBorderSize(RECT widths);
    RECT GetBorderSize() const noexcept { return borderWidths_; }
    void SetBorderRound(SIZE round);
    void SetBorderStyle(int style);
    void SetColorHSL(bool on);
    std::wstring GetVirtualWnd() const;
    void SetVirtualWnd(const std::wstring& name);
    void AddCustomAttribute(const std::wstring& name, const std::wstring& value);
    const std::wstring* GetCustomAttribute(const std::wstring& name) const;

protected:
    // The manager's notification for this control, when attached.
    void SendNotify(const wchar_t* type, WPARAM wParam = 0, LPARAM lParam = 0);
    const RECT& PaintArea() const noexcept { return paintRect_; }
    ImageDescriptionCache& ForeImage() noexcept { return foreImage_; }

    CWindowManagerUI* manager_ = nullptr;
    CControlUI* parent_ = nullptr;
    CControlUI* cover_ = nullptr;
    std::wstring virtualWnd_;
    std::wstring name_;
    bool updateNeeded_ = true;
    bool menuUsed_ = false;
    RECT itemRect_{};
    RECT padding_{};
    SIZE fixedXY_{};
    SIZE fixedSize_{};
    SIZE minSize_{};
    SIZE maxSize_{9999, 9999};
    bool visible_ = true;
    bool inheritedVisible_ = true;
    bool enabled_ = true;
    bool mouseEnabled_ = true;
    bool keyboardEnabled_ = true;
    bool focused_ = false;
    bool floating_ = false;
    FloatFractions floatFractions_{};
    bool setPosBusy_ = false;
    std::wstring text_;
    std::wstring toolTip_;
    wchar_t shortcut_ = 0;
    std::wstring userData_;
    intptr_t tag_ = 0;
    uint32_t bkColor_ = 0;
    uint32_t bkColor2_ = 0;
    uint32_t bkColor3_ = 0;
    ImageDescriptionCache bkImage_;
    ImageDescriptionCache foreImage_;
    uint32_t borderColor_ = 0;
    uint32_t focusBorderColor_ = 0;
    bool colorHsl_ = false;
    int borderStyle_ = PS_SOLID;
    int toolTipWidth_ = 300;
    SIZE borderRound_{};
    RECT paintRect_{};
    RECT borderWidths_{};
    std::map<std::wstring, std::wstring> customAttributes_;

private:
    void PlaceCover();
    CControlUI* MatchSelf(FindControlProc proc, void* data, UINT flags);
};

}  // namespace SkinUI
