#pragma once
// The records the window manager hands to controls (ControlEvent) and that controls send
// to the window's listeners (NotifyEvent).
#include <windows.h>

#include <cstdint>
#include <string>

namespace SkinUI {

class CControlUI;

// The numbers are a contract between the manager and controls; the markers bound ranges.
enum ControlEventType : int32_t {
    kEventFirst = 1,
    kEventKeyBegin = 2,
    kEventKeyDown = 3,
    kEventKeyUp = 4,
    kEventChar = 5,
    kEventSysKey = 6,
    kEventKeyEnd = 7,
    kEventMouseBegin = 8,
    kEventMouseMove = 9,
    kEventMouseLeave = 10,
    kEventMouseEnter = 11,
    kEventMouseHover = 12,
    kEventButtonDown = 13,
    kEventButtonUp = 14,
    kEventRButtonDown = 15,
    kEventDblClick = 16,
    kEventContextMenu = 17,
    kEventScrollWheel = 18,
    kEventMouseEnd = 19,
    kEventKillFocus = 20,
    kEventSetFocus = 21,
    kEventWindowSize = 22,
    kEventSetCursor = 23,
    kEventTimer = 24,
    kEventNotify = 25,
    kEventCommand = 26,
};

inline bool IsMouseEvent(int32_t type) noexcept {
    return type > kEventMouseBegin && type < kEventMouseEnd;
}

// Key-state bits of ControlEvent::keyState.
enum : uint16_t {
    kKeyStateLeftButton = 0x01,
    kKeyStateRightButton = 0x02,
    kKeyStateShift = 0x04,
    kKeyStateControl = 0x08,
    kKeyStateAlt = 0x20,
};

struct ControlEvent {
    int32_t type = 0;
    CControlUI* sender = nullptr;
    uint32_t timestamp = 0;
    POINT mouse{};
    wchar_t key = 0;
    uint16_t keyState = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

struct NotifyEvent {
    std::wstring type;
    std::wstring virtualWnd;
    CControlUI* sender = nullptr;
    uint32_t timestamp = 0;
    POINT mouse{};
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// Notification types the framework itself sends.
namespace Notify {
inline constexpr wchar_t kWindowInit[] = L"windowinit";
inline constexpr wchar_t kClick[] = L"click";
inline constexpr wchar_t kSelectChanged[] = L"selectchanged";
inline constexpr wchar_t kTabSelect[] = L"tabselect";
inline constexpr wchar_t kSetFocus[] = L"setfocus";
inline constexpr wchar_t kKillFocus[] = L"killfocus";
inline constexpr wchar_t kMouseEnter[] = L"mouseenter";
inline constexpr wchar_t kMouseLeave[] = L"mouseleave";
inline constexpr wchar_t kMenu[] = L"menu";
inline constexpr wchar_t kTimer[] = L"timer";
inline constexpr wchar_t kTextChanged[] = L"textchanged";
inline constexpr wchar_t kReturn[] = L"return";
}  // namespace Notify

// A window's listener for notifications.
class INotifyUI {
public:
    virtual ~INotifyUI() = default;
    virtual void Notify(NotifyEvent& event) = 0;
};

// Sees window messages before the manager does (or, as a pre-filter, in the message loop).
class IMessageFilterUI {
public:
    virtual ~IMessageFilterUI() = default;
    virtual LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
};

// Translates keyboard accelerators in the message loop; true consumes the message.
class ITranslateAccelerator {
public:
    virtual ~ITranslateAccelerator() = default;
    virtual bool TranslateAccelerator(MSG* message) = 0;
};

}  // namespace SkinUI
