#include "tests/ui/test_window.h"

namespace SkinTest {
namespace {

constexpr wchar_t kClassName[] = L"SkinTestWindow";

void RegisterWindowClass() {
    static const ATOM atom = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        return ::RegisterClassExW(&windowClass);
    }();
    (void)atom;
}

}  // namespace

TestWindow::TestWindow(int width, int height) {
    RegisterWindowClass();
    hwnd_ = ::CreateWindowExW(0, kClassName, L"skin test", WS_POPUP, 100, 100, width, height, nullptr,
                              nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TestWindow::WindowProc));
    manager_.Init(hwnd_, L"test");
    manager_.AddNotificationListener(this);
}

TestWindow::~TestWindow() {
    ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
    ::DestroyWindow(hwnd_);
}

LRESULT CALLBACK TestWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TestWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    LRESULT result = 0;
    if (self != nullptr && self->manager_.HandleWindowMessage(message, wParam, lParam, result)) return result;
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

void TestWindow::Notify(SkinUI::NotifyEvent& event) {
    notifications.push_back({event.type, event.sender, event.wParam, event.lParam});
}

size_t TestWindow::Count(const std::wstring& type) const {
    size_t count = 0;
    for (const Received& received : notifications) count += received.type == type ? 1 : 0;
    return count;
}

bool TestWindow::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!SkinUI::CWindowManagerUI::TranslateMessage(&message)) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
        }
        if (!done()) ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void TestWindow::PumpFor(DWORD ms) {
    const DWORD start = ::GetTickCount();
    PumpUntil([&] { return ::GetTickCount() - start >= ms; }, ms + 1000);
}

POINT TestWindow::ScreenPoint(const RECT& clientRect) const {
    POINT point{(clientRect.left + clientRect.right) / 2, (clientRect.top + clientRect.bottom) / 2};
    ::ClientToScreen(hwnd_, &point);
    return point;
}

}  // namespace SkinTest
