#include "ui/core/window_manager.h"

#include <windowsx.h>

#include <algorithm>
#include <mutex>

#include "ui/core/control.h"
#include "ui/core/drawing.h"
#include "ui/core/multi_language.h"

namespace SkinUI {
namespace {

// Reflected child-control messages are sent back to the child at this offset.
constexpr UINT kReflectedMessageOffset = 0x2000;
// Timer ids handed to Windows wrap below this value.
constexpr int kNativeTimerIdRange = 255;

std::vector<CWindowManagerUI*>& AllManagers() {
    static std::vector<CWindowManagerUI*> managers;
    return managers;
}

// Worker threads may queue notifications (posting is their only way in), so the queue
// is guarded even though everything else runs on the window's thread.
std::mutex& AsyncQueueLock() {
    static std::mutex lock;
    return lock;
}

POINT PointFromLParam(LPARAM lParam) {
    return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

uint16_t CurrentKeyState() {
    uint16_t state = 0;
    if (::GetKeyState(VK_LBUTTON) < 0) state |= kKeyStateLeftButton;
    if (::GetKeyState(VK_RBUTTON) < 0) state |= kKeyStateRightButton;
    if (::GetKeyState(VK_SHIFT) < 0) state |= kKeyStateShift;
    if (::GetKeyState(VK_CONTROL) < 0) state |= kKeyStateControl;
    if (::GetKeyState(VK_MENU) < 0) state |= kKeyStateAlt;
    return state;
}

CControlUI* AcceptControl(CControlUI* control, void*) {
    return control;
}

CControlUI* CollectControl(CControlUI* control, void* data) {
    static_cast<std::vector<CControlUI*>*>(data)->push_back(control);
    return nullptr;
}

CControlUI* CollectIfUpdateNeeded(CControlUI* control, void* data) {
    if (!control->IsUpdateNeeded()) return nullptr;
    auto* found = static_cast<std::vector<CControlUI*>*>(data);
    if (std::find(found->begin(), found->end(), control) == found->end()) found->push_back(control);
    return control;
}

bool IsTabStop(const CControlUI* control) {
    return control->IsVisible() && control->IsEnabled() && (control->GetInputFlags() & kInputTabStop) != 0;
}

wchar_t UpperCase(wchar_t c) {
    return static_cast<wchar_t>(reinterpret_cast<uintptr_t>(::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(c)))));
}

std::unique_ptr<FontInfo> SystemDefaultFont() {
    LOGFONTW logFont{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(logFont), &logFont);
    logFont.lfCharSet = DEFAULT_CHARSET;
    auto info = std::make_unique<FontInfo>();
    info->font.Reset(::CreateFontIndirectW(&logFont));
    info->faceName = logFont.lfFaceName;
    info->size = -logFont.lfHeight;
    return info;
}

}  // namespace

CWindowManagerUI::CWindowManagerUI() {
    static std::once_flag commonControls;
    std::call_once(commonControls, [] { ::InitCommonControls(); });
    defaultFont_ = SystemDefaultFont();
}

CWindowManagerUI::~CWindowManagerUI() {
    for (TimerRecord& timer : timers_) {
        if (!timer.killed) ::KillTimer(timer.hwnd, timer.nativeId);
    }
    timers_.clear();
    if (toolTipWindow_ != nullptr) ::DestroyWindow(toolTipWindow_);
    toolTipWindow_ = nullptr;
    RunDelayedCleanup();
    if (root_ != nullptr) root_->Delete();
    root_ = nullptr;
    offscreenBitmap_.Reset();
    offscreenDc_.Reset();
    if (paintDc_ != nullptr) ::ReleaseDC(hwnd_, paintDc_);
    auto& managers = AllManagers();
    managers.erase(std::remove(managers.begin(), managers.end(), this), managers.end());
}

void CWindowManagerUI::Init(HWND hwnd, const std::wstring& name) {
    nameMap_.clear();
    fonts_.clear();
    defaultAttributeLists_.clear();
    images_.Clear();
    for (TimerRecord& timer : timers_) {
        if (!timer.killed) ::KillTimer(timer.hwnd, timer.nativeId);
    }
    timers_.clear();
    name_ = name;
    if (hwnd_ != hwnd) {
        if (paintDc_ != nullptr) ::ReleaseDC(hwnd_, paintDc_);
        hwnd_ = hwnd;
        paintDc_ = ::GetDC(hwnd);
        auto& managers = AllManagers();
        if (std::find(managers.begin(), managers.end(), this) == managers.end()) managers.push_back(this);
    }
}

bool CWindowManagerUI::AttachRoot(CControlUI* control) {
    if (::GetFocus() != hwnd_ && focused_ != nullptr && !noActivate_) ::SetFocus(hwnd_);
    if (focused_ != nullptr) {
        CControlUI* old = focused_;
        Dispatch(old, kEventKillFocus);
        SendNotification(old, Notify::kKillFocus);
        focused_ = nullptr;
    }
    hot_ = nullptr;
    pushed_ = nullptr;
    keyPressed_ = nullptr;
    if (root_ != nullptr) {
        RunDelayedCleanup();
        {
            std::lock_guard<std::mutex> lock(AsyncQueueLock());
            asyncNotifyQueue_.clear();
        }
        nameMap_.clear();
        nativeWindows_.clear();
        nativeWindowControls_.clear();
        CControlUI* old = root_;
        root_ = nullptr;
        old->AttachManager(nullptr, nullptr, false);
        AddDelayedCleanup(old);
    }
    root_ = control;
    firstLayoutPending_ = true;
    updateNeeded_ = true;
    focusNeeded_ = true;
    if (root_ == nullptr) return false;
    return InitTree(root_);
}

bool CWindowManagerUI::InitTree(CControlUI* control, CControlUI* parent) {
    if (control == nullptr) return false;
    control->AttachManager(this, parent != nullptr ? parent : control->GetParent(), true);
    RegisterNames(control);
    return true;
}

void CWindowManagerUI::RegisterNames(CControlUI* control) {
    // Children before their container, siblings in markup order; a later control of the
    // same name replaces an earlier one.
    std::vector<CControlUI*> controls;
    control->VisitControls(CollectControl, &controls, 0);
    for (CControlUI* each : controls) {
        const std::wstring name = each->GetName();
        if (!name.empty()) nameMap_[name] = each;
    }
}

void CWindowManagerUI::ReapObjects(CControlUI* control) {
    if (control == root_) root_ = nullptr;
    if (control == focused_) focused_ = nullptr;
    if (control == hot_) hot_ = nullptr;
    if (control == pushed_) pushed_ = nullptr;
    if (control == keyPressed_) keyPressed_ = nullptr;
    KillTimers(control);
    for (auto it = nameMap_.begin(); it != nameMap_.end();) {
        it = it->second == control ? nameMap_.erase(it) : std::next(it);
    }
    {
        std::lock_guard<std::mutex> lock(AsyncQueueLock());
        for (NotifyEvent& queued : asyncNotifyQueue_) {
            if (queued.sender == control) queued.sender = nullptr;
        }
    }
    mouseLeaveNeeded_.erase(std::remove(mouseLeaveNeeded_.begin(), mouseLeaveNeeded_.end(), control),
                            mouseLeaveNeeded_.end());
    for (size_t i = nativeWindowControls_.size(); i-- > 0;) {
        if (nativeWindowControls_[i] == control) {
            nativeWindowControls_.erase(nativeWindowControls_.begin() + static_cast<ptrdiff_t>(i));
            nativeWindows_.erase(nativeWindows_.begin() + static_cast<ptrdiff_t>(i));
        }
    }
}

CControlUI* CWindowManagerUI::FindControlByName(const std::wstring& name) const {
    const auto found = nameMap_.find(name);
    return found != nameMap_.end() ? found->second : nullptr;
}

CControlUI* CWindowManagerUI::FindControlAt(POINT point) const {
    if (root_ == nullptr) return nullptr;
    return root_->VisitControls(AcceptControl, &point, kFindVisible | kFindHitTest | kFindTopFirst);
}

bool CWindowManagerUI::BelongsHere(CControlUI* control) const {
    return control != nullptr && control->GetManager() == this;
}

void CWindowManagerUI::TakeNativeFocus() {
    if (!noActivate_ && ::GetFocus() != hwnd_) ::SetFocus(hwnd_);
}

void CWindowManagerUI::SetFocus(CControlUI* control, bool moveNativeFocus) {
    if (moveNativeFocus && ::GetFocus() != hwnd_ && control != focused_ && !noActivate_) ::SetFocus(hwnd_);
    if (control == focused_) return;
    if (focused_ != nullptr) {
        CControlUI* old = focused_;
        focused_ = nullptr;
        ControlEvent event = MakeEvent(kEventKillFocus, control);
        old->DispatchEvent(event);
        SendNotification(old, Notify::kKillFocus);
    }
    if (control == nullptr || !BelongsHere(control) || !control->IsVisible() || !control->IsEnabled()) return;
    focused_ = control;
    Dispatch(control, kEventSetFocus);
    SendNotification(control, Notify::kSetFocus);
}

bool CWindowManagerUI::SetNextTabControl(bool forward) {
    if (root_ == nullptr) return false;
    if (forward && updateNeeded_) {
        focusNeeded_ = true;
        Invalidate();
        return true;
    }
    focusNeeded_ = false;
    std::vector<CControlUI*> controls;
    root_->VisitControls(CollectControl, &controls, kFindVisible | kFindEnabled | kFindMeFirst);
    controls.erase(std::remove_if(controls.begin(), controls.end(), [](CControlUI* c) { return !IsTabStop(c); }),
                   controls.end());
    if (controls.empty()) return true;
    const auto current = std::find(controls.begin(), controls.end(), focused_);
    CControlUI* next;
    if (current == controls.end()) {
        next = forward ? controls.front() : controls.back();
    } else {
        const size_t index = static_cast<size_t>(current - controls.begin());
        const size_t count = controls.size();
        next = controls[forward ? (index + 1) % count : (index + count - 1) % count];
    }
    SetFocus(next, true);
    return true;
}

bool CWindowManagerUI::SetTimer(CControlUI* control, UINT id, UINT elapseMs) {
    for (TimerRecord& timer : timers_) {
        if (timer.control == control && timer.hwnd == hwnd_ && timer.id == id) {
            if (!timer.killed) return false;  // running: the period stays as it was
            if (::SetTimer(hwnd_, timer.nativeId, elapseMs, nullptr) == 0) return false;
            timer.killed = false;
            return true;
        }
    }
    timerSerial_ = (timerSerial_ + 1) % kNativeTimerIdRange;
    const UINT nativeId = static_cast<UINT>(timerSerial_);
    if (::SetTimer(hwnd_, nativeId, elapseMs, nullptr) == 0) return false;
    timers_.push_back({control, id, hwnd_, nativeId, false});
    return true;
}

bool CWindowManagerUI::KillTimer(CControlUI* control, UINT id) {
    for (TimerRecord& timer : timers_) {
        if (timer.control == control && timer.hwnd == hwnd_ && timer.id == id && !timer.killed) {
            ::KillTimer(timer.hwnd, timer.nativeId);
            timer.killed = true;
            return true;
        }
    }
    return false;
}

void CWindowManagerUI::KillTimers(CControlUI* control) {
    for (TimerRecord& timer : timers_) {
        if (timer.control == control && !timer.killed) ::KillTimer(timer.hwnd, timer.nativeId);
    }
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                                 [control](const TimerRecord& timer) { return timer.control == control; }),
                  timers_.end());
}

void CWindowManagerUI::SendNotification(CControlUI* control, const std::wstring& type, WPARAM wParam,
                                        LPARAM lParam, bool async) {
    NotifyEvent record;
    record.type = type;
    record.sender = control;
    record.wParam = wParam;
    record.lParam = lParam;
    SendNotification(record, async, true);
}

void CWindowManagerUI::SendNotification(NotifyEvent& record, bool async, bool allowRepeat) {
    record.timestamp = ::GetTickCount();
    record.mouse = lastMouse_;
    if (routeByVirtualWindow_ && record.sender != nullptr) record.virtualWnd = record.sender->GetVirtualWnd();
    if (!async) {
        DeliverToListeners(record);
        return;
    }
    bool post = false;
    {
        std::lock_guard<std::mutex> lock(AsyncQueueLock());
        bool merged = false;
        if (!allowRepeat) {
            for (NotifyEvent& queued : asyncNotifyQueue_) {
                if (queued.sender == record.sender && queued.type == record.type) {
                    queued.wParam = record.wParam;
                    queued.lParam = record.lParam;
                    queued.mouse = record.mouse;
                    queued.timestamp = record.timestamp;
                    merged = true;
                    break;
                }
            }
        }
        if (!merged) asyncNotifyQueue_.push_back(record);
        post = !asyncNotifyPosted_;
        asyncNotifyPosted_ = true;
    }
    if (post) ::PostMessageW(hwnd_, kAsyncNotifyMessage, 0, 0);
}

void CWindowManagerUI::DeliverToListeners(NotifyEvent& record) {
    if (record.sender != nullptr) {
        for (const auto& handler : record.sender->notifyHandlers) handler(record);
    }
    // A listener may remove itself while being told.
    const std::vector<INotifyUI*> listeners = notifiers_;
    for (INotifyUI* listener : listeners) {
        if (std::find(notifiers_.begin(), notifiers_.end(), listener) != notifiers_.end()) listener->Notify(record);
    }
}

void CWindowManagerUI::FlushAsyncNotifications() {
    for (;;) {
        NotifyEvent record;
        {
            std::lock_guard<std::mutex> lock(AsyncQueueLock());
            asyncNotifyPosted_ = false;
            if (asyncNotifyQueue_.empty()) break;
            record = std::move(asyncNotifyQueue_.front());
            asyncNotifyQueue_.pop_front();
        }
        DeliverToListeners(record);
    }
    RunDelayedCleanup();
}

void CWindowManagerUI::RunDelayedCleanup() {
    std::vector<CControlUI*> doomed;
    doomed.swap(delayedCleanup_);
    for (CControlUI* control : doomed) control->Delete();
}

template <typename T>
static bool AddUnique(std::vector<T*>& list, T* item) {
    if (item == nullptr || std::find(list.begin(), list.end(), item) != list.end()) return false;
    list.push_back(item);
    return true;
}

template <typename T>
static bool RemoveItem(std::vector<T*>& list, T* item) {
    const auto found = std::find(list.begin(), list.end(), item);
    if (found == list.end()) return false;
    list.erase(found);
    return true;
}

bool CWindowManagerUI::AddNotificationListener(INotifyUI* listener) { return AddUnique(notifiers_, listener); }
bool CWindowManagerUI::RemoveNotificationListener(INotifyUI* listener) { return RemoveItem(notifiers_, listener); }
bool CWindowManagerUI::AddPreMessageFilter(IMessageFilterUI* filter) { return AddUnique(preMessageFilters_, filter); }
bool CWindowManagerUI::RemovePreMessageFilter(IMessageFilterUI* filter) { return RemoveItem(preMessageFilters_, filter); }
bool CWindowManagerUI::AddMessageFilter(IMessageFilterUI* filter) { return AddUnique(messageFilters_, filter); }
bool CWindowManagerUI::RemoveMessageFilter(IMessageFilterUI* filter) { return RemoveItem(messageFilters_, filter); }
bool CWindowManagerUI::AddTranslateAccelerator(ITranslateAccelerator* translator) {
    return AddUnique(translateAccelerators_, translator);
}
bool CWindowManagerUI::RemoveTranslateAccelerator(ITranslateAccelerator* translator) {
    return RemoveItem(translateAccelerators_, translator);
}

void CWindowManagerUI::AddMouseLeaveNeeded(CControlUI* control) {
    AddUnique(mouseLeaveNeeded_, control);
}

void CWindowManagerUI::AddDelayedCleanup(CControlUI* control) {
    if (control == nullptr) return;
    control->AttachManager(this, nullptr, false);
    delayedCleanup_.push_back(control);
    bool post;
    {
        std::lock_guard<std::mutex> lock(AsyncQueueLock());
        post = !asyncNotifyPosted_;
        asyncNotifyPosted_ = true;
    }
    if (post) ::PostMessageW(hwnd_, kAsyncNotifyMessage, 0, 0);
}

void CWindowManagerUI::AddNativeWindow(CControlUI* control, HWND hwnd) {
    if (control == nullptr || hwnd == nullptr) return;
    nativeWindows_.push_back(hwnd);
    nativeWindowControls_.push_back(control);
}

void CWindowManagerUI::Invalidate() {
    RECT client;
    if (hwnd_ != nullptr && ::GetClientRect(hwnd_, &client)) Invalidate(client);
}

void CWindowManagerUI::Invalidate(RECT rect) {
    rect.left = std::max<LONG>(rect.left, 0);
    rect.top = std::max<LONG>(rect.top, 0);
    rect.right = std::max(rect.right, rect.left);
    rect.bottom = std::max(rect.bottom, rect.top);
    if (hwnd_ != nullptr) ::InvalidateRect(hwnd_, &rect, FALSE);
}

ControlEvent CWindowManagerUI::MakeEvent(int32_t type, CControlUI* sender, WPARAM wParam, LPARAM lParam) const {
    ControlEvent event;
    event.type = type;
    event.sender = sender;
    event.timestamp = ::GetTickCount();
    event.mouse = lastMouse_;
    event.keyState = CurrentKeyState();
    event.wParam = wParam;
    event.lParam = lParam;
    return event;
}

void CWindowManagerUI::Dispatch(CControlUI* control, int32_t type, WPARAM wParam, LPARAM lParam) {
    if (control == nullptr) return;
    ControlEvent event = MakeEvent(type, control, wParam, lParam);
    control->DispatchEvent(event);
}

void CWindowManagerUI::LayoutIfNeeded(const RECT& client) {
    if (!updateNeeded_) return;
    updateNeeded_ = false;
    if (!::IsRectEmpty(&client) && root_ != nullptr) {
        if (root_->IsUpdateNeeded()) {
            offscreenBitmap_.Reset();
            offscreenDc_.Reset();
            root_->SetPos(client, true);
        } else {
            std::vector<CControlUI*> pending;
            root_->VisitControls(CollectIfUpdateNeeded, &pending, kFindVisible | kFindUpdateTest | kFindMeFirst);
            for (CControlUI* control : pending) {
                control->SetPos(control->IsFloat() ? control->GetPosInParent() : control->GetPos(), true);
            }
        }
    }
    if (firstLayoutPending_ && root_ != nullptr) {
        firstLayoutPending_ = false;
        SendNotification(root_, Notify::kWindowInit);
    }
}

void CWindowManagerUI::OnPaint() {
    if (root_ == nullptr) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd_, &ps);
        ::FillRect(dc, &ps.rcPaint, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        ::EndPaint(hwnd_, &ps);
        return;
    }
    RECT client;
    ::GetClientRect(hwnd_, &client);
    RECT update;
    if (!::GetUpdateRect(hwnd_, &update, FALSE) || ::IsRectEmpty(&update)) return;
    if (focusNeeded_) SetNextTabControl(true);
    LayoutIfNeeded(client);
    if (root_ == nullptr) return;  // a listener of "windowinit" may have replaced the tree

    painting_ = true;
    PAINTSTRUCT ps;
    HDC windowDc = ::BeginPaint(hwnd_, &ps);
    const LONG width = client.right - client.left;
    const LONG height = client.bottom - client.top;
    if (offscreenPaint_ && width > 0 && height > 0) {
        if (!offscreenDc_) {
            offscreenDc_.Reset(::CreateCompatibleDC(paintDc_));
            offscreenBitmap_.Reset(::CreateCompatibleBitmap(paintDc_, width, height));
        }
        if (offscreenDc_ && offscreenBitmap_) {
            ScopedSelect select(offscreenDc_.Get(), offscreenBitmap_.Get());
            root_->Paint(offscreenDc_.Get(), update, nullptr);
            ::BitBlt(windowDc, update.left, update.top, update.right - update.left, update.bottom - update.top,
                     offscreenDc_.Get(), update.left, update.top, SRCCOPY);
        }
    } else {
        const int saved = ::SaveDC(windowDc);
        root_->Paint(windowDc, update, nullptr);
        ::RestoreDC(windowDc, saved);
    }
    if (showDirty_) DrawRect(windowDc, update, 1, 0xFFDC0000, PS_SOLID);
    ::EndPaint(hwnd_, &ps);
    painting_ = false;
    // A focus move deferred during this paint asked for another one; BeginPaint has just
    // validated that request, so it is made again now.
    if (focusNeeded_) Invalidate();
}

void CWindowManagerUI::ArmMouseTracking() {
    if (mouseTracking_) return;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_HOVER | TME_LEAVE;
    track.hwndTrack = hwnd_;
    track.dwHoverTime = toolTipWindow_ != nullptr
                            ? static_cast<DWORD>(::SendMessageW(toolTipWindow_, TTM_GETDELAYTIME, TTDT_INITIAL, 0))
                            : hoverTime_;
    mouseTracking_ = ::TrackMouseEvent(&track) != FALSE;
}

void CWindowManagerUI::OnMouseMove(POINT point, WPARAM wParam, LPARAM lParam) {
    ArmMouseTracking();
    lastMouse_ = point;
    CControlUI* control = FindControlAt(point);
    if (control != nullptr && !BelongsHere(control)) return;
    if (!mouseCaptured_) {
        if (hot_ != nullptr && control != hot_) {
            const std::vector<CControlUI*> leaving = mouseLeaveNeeded_;
            for (CControlUI* each : leaving) Dispatch(each, kEventMouseLeave, wParam, lParam);
            Dispatch(hot_, kEventMouseLeave, wParam, lParam);
            if (toolTipWindow_ != nullptr) {
                ::SendMessageW(toolTipWindow_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&toolTipInfo_));
            }
            hot_ = nullptr;
        }
        if (control != nullptr && control != hot_) {
            Dispatch(control, kEventMouseEnter, wParam, lParam);
            hot_ = control;
        }
    }
    if (pushed_ != nullptr) {
        Dispatch(pushed_, kEventMouseMove, wParam, lParam);
    } else if (control != nullptr) {
        Dispatch(control, kEventMouseMove, wParam, lParam);
    }
}

void CWindowManagerUI::OnMouseHover(POINT point, WPARAM wParam, LPARAM lParam) {
    mouseTracking_ = false;
    lastMouse_ = point;
    if (hot_ != nullptr) Dispatch(hot_, kEventMouseHover, wParam, lParam);
    CControlUI* control = FindControlAt(point);
    if (control == nullptr) return;
    toolTipText_ = ResolveTextReferences(control->GetToolTip());
    if (toolTipText_.empty()) return;
    toolTipInfo_ = {};
    toolTipInfo_.cbSize = sizeof(toolTipInfo_);
    toolTipInfo_.uFlags = TTF_IDISHWND;
    toolTipInfo_.hwnd = hwnd_;
    toolTipInfo_.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    toolTipInfo_.hinst = ::GetModuleHandleW(nullptr);
    toolTipInfo_.lpszText = toolTipText_.data();
    toolTipInfo_.rect = control->GetPos();
    if (toolTipWindow_ == nullptr) {
        toolTipWindow_ = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                                           nullptr, ::GetModuleHandleW(nullptr), nullptr);
        if (toolTipWindow_ == nullptr) return;
        if (toolTipMaxWidth_ >= 0) ::SendMessageW(toolTipWindow_, TTM_SETMAXTIPWIDTH, 0, toolTipMaxWidth_);
        ::SendMessageW(toolTipWindow_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&toolTipInfo_));
    }
    ::SendMessageW(toolTipWindow_, TTM_SETMAXTIPWIDTH, 0, control->GetToolTipWidth());
    ::SendMessageW(toolTipWindow_, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&toolTipInfo_));
    ::SendMessageW(toolTipWindow_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&toolTipInfo_));
}

bool CWindowManagerUI::OnShortcut(wchar_t character) {
    if (root_ == nullptr) return false;
    std::vector<CControlUI*> controls;
    root_->VisitControls(CollectControl, &controls, kFindEnabled | kFindMeFirst | kFindTopFirst);
    const wchar_t wanted = UpperCase(character);
    auto isLabel = [](CControlUI* c) { return c->GetClass().find(L"Label") != std::wstring_view::npos; };
    for (size_t i = 0; i < controls.size(); ++i) {
        CControlUI* control = controls[i];
        if (!control->IsVisible() || control->GetShortcut() == 0 || UpperCase(control->GetShortcut()) != wanted) {
            continue;
        }
        if (isLabel(control)) {
            // A label names the control that follows it.
            control = nullptr;
            for (size_t j = i + 1; j < controls.size(); ++j) {
                if (controls[j]->IsVisible() && !isLabel(controls[j])) {
                    control = controls[j];
                    break;
                }
            }
            if (control == nullptr) return false;
        }
        control->SetFocus();
        control->Activate();
        return true;
    }
    return false;
}

bool CWindowManagerUI::TranslateMessage(MSG* message) {
    const std::vector<CWindowManagerUI*> managers = AllManagers();
    LRESULT ignored = 0;
    for (CWindowManagerUI* manager : managers) {
        if (manager->hwnd_ != message->hwnd) continue;
        for (ITranslateAccelerator* translator : manager->translateAccelerators_) {
            if (translator->TranslateAccelerator(message)) return true;
        }
        return manager->PreMessageHandler(message->message, message->wParam, message->lParam, ignored);
    }
    // A child window (such as a hosted edit box): its ancestors' managers see it too.
    for (CWindowManagerUI* manager : managers) {
        if (manager->hwnd_ == nullptr || !::IsChild(manager->hwnd_, message->hwnd)) continue;
        for (ITranslateAccelerator* translator : manager->translateAccelerators_) {
            if (translator->TranslateAccelerator(message)) return true;
        }
        manager->PreMessageHandler(message->message, message->wParam, message->lParam, ignored);
    }
    return false;
}

bool CWindowManagerUI::PreMessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    for (IMessageFilterUI* filter : std::vector<IMessageFilterUI*>(preMessageFilters_)) {
        bool handled = false;
        const LRESULT filtered = filter->MessageHandler(message, wParam, lParam, handled);
        if (handled) {
            result = filtered;
            return true;
        }
    }
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_TAB && root_ != nullptr) {
            if (focused_ != nullptr && focused_->GetClass() == L"RichEdit" &&
                focused_->GetAttribute(L"wanttab") == L"true") {
                return false;
            }
            SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
            return true;
        }
        break;
    case WM_SYSCHAR:
        return OnShortcut(static_cast<wchar_t>(wParam));
    case WM_SYSKEYDOWN:
        if (focused_ != nullptr) Dispatch(focused_, kEventSysKey, wParam, lParam);
        break;
    default:
        break;
    }
    return false;
}

bool CWindowManagerUI::HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (hwnd_ == nullptr) return false;
    for (IMessageFilterUI* filter : std::vector<IMessageFilterUI*>(messageFilters_)) {
        bool handled = false;
        const LRESULT filtered = filter->MessageHandler(message, wParam, lParam, handled);
        if (handled) {
            if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) lastMouse_ = PointFromLParam(lParam);
            result = filtered;
            return true;
        }
    }
    switch (message) {
    case kAsyncNotifyMessage:
        FlushAsyncNotifications();
        return true;
    case WM_CLOSE: {
        if (hot_ != nullptr) Dispatch(hot_, kEventMouseLeave);
        if (pushed_ != nullptr) Dispatch(pushed_, kEventButtonUp);
        SetFocus(nullptr, false);
        if (::GetActiveWindow() == hwnd_) {
            HWND owner = ::GetWindow(hwnd_, GW_OWNER);
            if ((::GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_CHILD) != 0) owner = ::GetParent(hwnd_);
            if (owner != nullptr) ::SetFocus(owner);
        }
        if (toolTipWindow_ != nullptr) ::DestroyWindow(toolTipWindow_);
        toolTipWindow_ = nullptr;
        return false;
    }
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_PRINTCLIENT: {
        if (root_ == nullptr) return false;
        RECT client;
        ::GetClientRect(hwnd_, &client);
        HDC dc = reinterpret_cast<HDC>(wParam);
        const int saved = ::SaveDC(dc);
        root_->Paint(dc, client, nullptr);
        if ((lParam & PRF_CHILDREN) != 0) {
            for (HWND child = ::GetWindow(hwnd_, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
                RECT pos;
                ::GetWindowRect(child, &pos);
                ::MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&pos), 2);
                ::SetWindowOrgEx(dc, -pos.left, -pos.top, nullptr);
                ::SendMessageW(child, WM_PRINT, wParam, lParam | PRF_NONCLIENT);
                ::SetWindowOrgEx(dc, 0, 0, nullptr);
            }
        }
        ::RestoreDC(dc, saved);
        return true;
    }
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (minInfo_.cx > 0) info->ptMinTrackSize.x = minInfo_.cx;
        if (minInfo_.cy > 0) info->ptMinTrackSize.y = minInfo_.cy;
        if (maxInfo_.cx > 0) info->ptMaxTrackSize.x = maxInfo_.cx;
        if (maxInfo_.cy > 0) info->ptMaxTrackSize.y = maxInfo_.cy;
        return false;
    }
    case WM_SIZE:
        if (focused_ != nullptr) Dispatch(focused_, kEventWindowSize, wParam, lParam);
        if (root_ != nullptr) root_->RequestLayout();
        return true;
    case WM_TIMER:
        for (size_t i = 0; i < timers_.size(); ++i) {
            const TimerRecord timer = timers_[i];
            if (timer.hwnd == hwnd_ && timer.nativeId == wParam && !timer.killed) {
                Dispatch(timer.control, kEventTimer, timer.id, lParam);
                break;
            }
        }
        return true;
    case WM_MOUSEMOVE:
        if (root_ != nullptr) OnMouseMove(PointFromLParam(lParam), wParam, lParam);
        return true;
    case WM_LBUTTONDOWN: {
        TakeNativeFocus();
        const POINT point = PointFromLParam(lParam);
        lastMouse_ = point;
        CControlUI* control = FindControlAt(point);
        if (!BelongsHere(control)) return true;
        pushed_ = control;
        control->SetFocus();
        ::SetCapture(hwnd_);
        mouseCaptured_ = true;
        Dispatch(control, kEventButtonDown, wParam, lParam);
        return true;
    }
    case WM_LBUTTONDBLCLK: {
        TakeNativeFocus();
        const POINT point = PointFromLParam(lParam);
        lastMouse_ = point;
        CControlUI* control = FindControlAt(point);
        if (!BelongsHere(control)) return true;
        ::SetCapture(hwnd_);
        mouseCaptured_ = true;
        Dispatch(control, kEventDblClick, wParam, lParam);
        pushed_ = control;
        return true;
    }
    case WM_LBUTTONUP: {
        lastMouse_ = PointFromLParam(lParam);
        if (pushed_ == nullptr) return true;
        mouseCaptured_ = false;
        ::ReleaseCapture();
        CControlUI* released = pushed_;
        pushed_ = nullptr;
        Dispatch(released, kEventButtonUp, wParam, lParam);
        return true;
    }
    case WM_RBUTTONDOWN: {
        TakeNativeFocus();
        const POINT point = PointFromLParam(lParam);
        lastMouse_ = point;
        CControlUI* control = FindControlAt(point);
        if (!BelongsHere(control)) return true;
        control->SetFocus();
        Dispatch(control, kEventRButtonDown, wParam, lParam);
        pushed_ = control;
        return true;
    }
    case WM_CONTEXTMENU: {
        if (root_ == nullptr || mouseCaptured_) return false;
        POINT point = PointFromLParam(lParam);
        ::ScreenToClient(hwnd_, &point);
        lastMouse_ = point;
        if (pushed_ == nullptr) return true;
        CControlUI* target = pushed_;
        pushed_ = nullptr;
        Dispatch(target, kEventContextMenu, reinterpret_cast<WPARAM>(target), MAKELPARAM(point.x, point.y));
        return true;
    }
    case WM_MOUSEWHEEL: {
        if (root_ == nullptr) return false;
        POINT point = PointFromLParam(lParam);
        ::ScreenToClient(hwnd_, &point);
        lastMouse_ = point;
        CControlUI* control = FindControlAt(point);
        if (!BelongsHere(control)) return true;
        const WPARAM towardsUser = GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? 1 : 0;
        Dispatch(control, kEventScrollWheel, towardsUser, lParam);
        ::SendMessageW(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
        return true;
    }
    case WM_MOUSEHOVER:
        OnMouseHover(PointFromLParam(lParam), wParam, lParam);
        return true;
    case WM_MOUSELEAVE: {
        if (toolTipWindow_ != nullptr) {
            ::SendMessageW(toolTipWindow_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&toolTipInfo_));
        }
        if (mouseTracking_) {
            POINT point;
            RECT client;
            ::GetCursorPos(&point);
            ::ScreenToClient(hwnd_, &point);
            ::GetClientRect(hwnd_, &client);
            if (::PtInRect(&client, point) && ::GetActiveWindow() == hwnd_) {
                ::SendMessageW(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
            } else {
                ::SendMessageW(hwnd_, WM_MOUSEMOVE, 0, MAKELPARAM(-1, -1));
            }
        }
        mouseTracking_ = false;
        return true;
    }
    case WM_SETCURSOR: {
        if (root_ == nullptr || LOWORD(lParam) != HTCLIENT) return false;
        if (mouseCaptured_) {
            result = TRUE;
            return true;
        }
        POINT point;
        ::GetCursorPos(&point);
        ::ScreenToClient(hwnd_, &point);
        CControlUI* control = FindControlAt(point);
        if (control == nullptr || (control->GetInputFlags() & kInputSetCursor) == 0) return false;
        Dispatch(control, kEventSetCursor, wParam, lParam);
        result = TRUE;
        return true;
    }
    case WM_MOUSEACTIVATE:
        if (!noActivate_) return false;
        result = MA_NOACTIVATE;
        return true;
    case WM_KILLFOCUS: {
        const auto gaining = reinterpret_cast<HWND>(wParam);
        for (size_t i = 0; i < nativeWindows_.size(); ++i) {
            if (nativeWindows_[i] == gaining) {
                SetFocus(nativeWindowControls_[i], false);
                break;
            }
        }
        return false;
    }
    case WM_KEYDOWN:
        if (focused_ == nullptr) return false;
        Dispatch(focused_, kEventKeyDown, wParam, lParam);
        keyPressed_ = focused_;
        return true;
    case WM_KEYUP:
        if (keyPressed_ == nullptr) return false;
        Dispatch(keyPressed_, kEventKeyUp, wParam, lParam);
        keyPressed_ = nullptr;
        return true;
    case WM_CHAR:
        if (focused_ == nullptr) return false;
        Dispatch(focused_, kEventChar, wParam, lParam);
        return true;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
        HWND child = message == WM_NOTIFY ? reinterpret_cast<NMHDR*>(lParam)->hwndFrom : reinterpret_cast<HWND>(lParam);
        if (child == nullptr) return false;
        result = ::SendMessageW(child, message + kReflectedMessageOffset, wParam, lParam);
        return true;
    }
    default:
        return false;
    }
}

}  // namespace SkinUI
