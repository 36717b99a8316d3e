#pragma once
// Joins one native window to one control tree: turns window messages into control
// events, lays out and paints with double buffering, keeps names, timers and focus,
// delivers notifications, and holds the window's fonts, images and attribute tables.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ui/core/control_event.h"
#include "ui/core/gdi_handles.h"
#include "ui/core/image_description_cache.h"
#include "ui/core/image_table.h"
#include "ui/core/paint_resources.h"

namespace SkinUI {

class CControlUI;

// Posted to flush queued notifications and deferred deletions.
inline constexpr UINT kAsyncNotifyMessage = WM_APP + 1;

struct FontInfo {
    GdiFont font;
    std::wstring faceName;
    int size = 0;
    bool bold = false;
    bool underline = false;
    bool italic = false;
    TEXTMETRICW metrics{};
    bool hasMetrics = false;
};

class CWindowManagerUI : public IPaintResources {
public:
    CWindowManagerUI();
    CWindowManagerUI(const CWindowManagerUI&) = delete;
    CWindowManagerUI& operator=(const CWindowManagerUI&) = delete;
    ~CWindowManagerUI() override;

    void Init(HWND hwnd, const std::wstring& name = L"");
    HWND GetWindow() const noexcept { return hwnd_; }
    HDC GetPaintDC() const noexcept { return paintDc_; }
    const std::wstring& GetName() const noexcept { return name_; }

    // The manager owns the root from here on; the previous root is deleted later.
    bool AttachRoot(CControlUI* control);
    CControlUI* GetRoot() const noexcept { return root_; }
    bool InitTree(CControlUI* control, CControlUI* parent = nullptr);
    // Called by a control that is being destroyed.
    void ReapObjects(CControlUI* control);

    CControlUI* FindControlByName(const std::wstring& name) const;
    CControlUI* FindControlAt(POINT point) const;
    CControlUI* GetFocus() const noexcept { return focused_; }
    void SetFocus(CControlUI* control, bool moveNativeFocus = true);
    // Moves the focus to the next (or previous) tab stop, wrapping around.
    bool SetNextTabControl(bool forward = true);

    bool SetTimer(CControlUI* control, UINT id, UINT elapseMs);
    bool KillTimer(CControlUI* control, UINT id);
    void KillTimers(CControlUI* control);

    void SendNotification(CControlUI* control, const std::wstring& type, WPARAM wParam = 0,
                          LPARAM lParam = 0, bool async = false);
    void SendNotification(NotifyEvent& record, bool async = false, bool allowRepeat = true);
    bool AddNotificationListener(INotifyUI* listener);
    bool RemoveNotificationListener(INotifyUI* listener);
    bool AddPreMessageFilter(IMessageFilterUI* filter);
    bool RemovePreMessageFilter(IMessageFilterUI* filter);
    bool AddMessageFilter(IMessageFilterUI* filter);
    bool RemoveMessageFilter(IMessageFilterUI* filter);
    bool AddTranslateAccelerator(ITranslateAccelerator* translator);
    bool RemoveTranslateAccelerator(ITranslateAccelerator* translator);
    void AddMouseLeaveNeeded(CControlUI* control);
    void AddDelayedCleanup(CControlUI* control);
    void AddNativeWindow(CControlUI* control, HWND hwnd);
    void SetRouteByVirtualWindow(bool on) noexcept { routeByVirtualWindow_ = on; }

    void Invalidate();
    void Invalidate(RECT rect);
    void RequestLayout() noexcept { updateNeeded_ = true; }
    bool IsLayoutPending() const noexcept { return updateNeeded_; }

    // Resources (fonts, default attribute lists, images, window attributes).
    bool IsUsingSharedResources() const noexcept { return sharedResources_; }
    void SetUseSharedResources(bool on) noexcept { sharedResources_ = on; }
    HFONT AddFont(int id, const std::wstring& faceName, int size, bool bold, bool underline,
                  bool italic, bool shared = false);
    void SetDefaultFont(const std::wstring& faceName, int size, bool bold, bool underline,
                        bool italic, bool shared = false);
    HFONT GetFont(int32_t id) override;
    const FontInfo* GetFontInfo(int32_t id);
    void AddDefaultAttributeList(const std::wstring& className, const std::wstring& list,
                                 bool shared = false);
    const std::wstring* GetDefaultAttributeList(const std::wstring& className) const;
    ImageStore& GetImageStore() override { return images_; }
    void SetWindowAttribute(std::wstring_view name, std::wstring_view value);
    const std::wstring* GetWindowCustomAttribute(const std::wstring& name) const;
    SIZE GetInitSize() const noexcept { return initSize_; }
    RECT GetSizeBox() const noexcept { return sizeBox_; }
    RECT GetCaptionRect() const noexcept { return caption_; }
    SIZE GetRoundCorner() const noexcept { return roundCorner_; }
    SIZE GetMinInfo() const noexcept { return minInfo_; }
    SIZE GetMaxInfo() const noexcept { return maxInfo_; }
    uint8_t GetOpacity() const noexcept { return opacity_; }
    bool IsNoActivate() const noexcept { return noActivate_; }
    uint32_t GetDefaultFontColor() const noexcept { return defaultFontColor_; }
    uint32_t GetDisabledFontColor() const noexcept { return disabledFontColor_; }
    uint32_t GetLinkFontColor() const noexcept { return linkFontColor_; }
    uint32_t GetLinkHoverFontColor() const noexcept { return linkHoverFontColor_; }
    uint32_t GetSelectedColor() const noexcept { return selectedColor_; }

    SIZE GetTextSize(HDC dc, std::wstring_view text, int fontId, UINT style);
    POINT GetLastMousePos() const noexcept { return lastMouse_; }

    // The window procedure calls this first; true means the message was handled.
    bool HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // For the message loop: offers a message to the manager of its window (or of the
    // window's ancestors); true means it was consumed.
    static bool TranslateMessage(MSG* message);
    bool PreMessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Hooks for the test of native timer ids.
    UINT LastNativeTimerId() const noexcept { return static_cast<UINT>(timerSerial_); }

private:
    struct TimerRecord {
        CControlUI* control;
        UINT id;
        HWND hwnd;
        UINT nativeId;
        bool killed;
    };

    ControlEvent MakeEvent(int32_t type, CControlUI* sender, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void Dispatch(CControlUI* control, int32_t type, WPARAM wParam = 0, LPARAM lParam = 0);
    void TakeNativeFocus();
    void OnPaint();
    void LayoutIfNeeded(const RECT& client);
    void FlushAsyncNotifications();
    void RunDelayedCleanup();
    void OnMouseMove(POINT point, WPARAM wParam, LPARAM lParam);
    void OnMouseHover(POINT point, WPARAM wParam, LPARAM lParam);
    void ArmMouseTracking();
    bool OnShortcut(wchar_t character);
    void DeliverToListeners(NotifyEvent& record);
    void RegisterNames(CControlUI* control);
    bool BelongsHere(CControlUI* control) const;
    std::unique_ptr<FontInfo> CreateFontInfo(const std::wstring& faceName, int size, bool bold,
                                             bool underline, bool italic);

    std::wstring name_;
    HWND hwnd_ = nullptr;
    HDC paintDc_ = nullptr;
    MemoryDc offscreenDc_;
    GdiBitmap offscreenBitmap_;
    HWND toolTipWindow_ = nullptr;
    int toolTipMaxWidth_ = -1;
    TOOLINFOW toolTipInfo_{};
    std::wstring toolTipText_;
    UINT hoverTime_ = 1000;
    bool noActivate_ = false;
    bool showDirty_ = false;
    CControlUI* root_ = nullptr;
    CControlUI* focused_ = nullptr;
    CControlUI* hot_ = nullptr;
    CControlUI* pushed_ = nullptr;
    CControlUI* keyPressed_ = nullptr;
    POINT lastMouse_{-1, -1};
    SIZE minInfo_{};
    SIZE maxInfo_{};
    SIZE initSize_{};
    RECT sizeBox_{};
    RECT caption_{};
    SIZE roundCorner_{};
    int timerSerial_ = 4096;
    bool firstLayoutPending_ = true;
    bool updateNeeded_ = false;
    bool focusNeeded_ = false;
    bool offscreenPaint_ = true;
    uint8_t opacity_ = 255;
    bool layered_ = false;
    uint8_t layeredOpacity_ = 255;
    ImageDescriptionCache layeredImage_;
    bool mouseTracking_ = false;
    bool mouseCaptured_ = false;
    bool asyncNotifyPosted_ = false;
    bool painting_ = false;
    bool routeByVirtualWindow_ = false;
    std::vector<INotifyUI*> notifiers_;
    std::vector<TimerRecord> timers_;
    std::vector<IMessageFilterUI*> preMessageFilters_;
    std::vector<IMessageFilterUI*> messageFilters_;
    std::vector<ITranslateAccelerator*> translateAccelerators_;
    std::vector<HWND> nativeWindows_;
    std::vector<CControlUI*> nativeWindowControls_;
    std::vector<CControlUI*> delayedCleanup_;
    std::deque<NotifyEvent> asyncNotifyQueue_;
    std::vector<CControlUI*> mouseLeaveNeeded_;
    std::unordered_map<std::wstring, CControlUI*> nameMap_;
    std::map<std::wstring, std::wstring> windowCustomAttributes_;
    std::unordered_map<std::wstring, std::wstring> defaultAttributeLists_;
    std::unordered_map<std::wstring, std::unique_ptr<FontInfo>> fonts_;
    std::unique_ptr<FontInfo> defaultFont_;
    ImageStore images_;
    bool sharedResources_ = false;
    uint32_t disabledFontColor_ = 0xFFA7A6AA;
    uint32_t defaultFontColor_ = 0xFF000000;
    uint32_t linkFontColor_ = 0xFF0000FF;
    uint32_t linkHoverFontColor_ = 0xFFD3215F;
    uint32_t selectedColor_ = 0xFFBAE4FF;
};

}  // namespace SkinUI
