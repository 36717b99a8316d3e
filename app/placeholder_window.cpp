#include "app/placeholder_window.h"

namespace App {
namespace {

constexpr wchar_t kClassName[] = L"VantorelPlaceholderWnd";
constexpr DWORD kMainWindowStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;  // 0x10CF0000
constexpr int kWidth = 600;
constexpr int kHeight = 400;

}  // namespace

PlaceholderMainWindow::~PlaceholderMainWindow() {
    if (window_ && ::IsWindow(window_)) ::DestroyWindow(window_);
}

bool PlaceholderMainWindow::Create() {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &PlaceholderMainWindow::WindowProc;
    windowClass.hInstance = instance_;
    windowClass.hIcon = ::LoadIconW(instance_, MAKEINTRESOURCEW(145));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    ::RegisterClassExW(&windowClass);

    window_ = ::CreateWindowExW(0, kClassName, L"Vantorel", kMainWindowStyle, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                instance_, nullptr);
    if (!window_) return false;
    // The skinned window takes its size from its layout; the placeholder uses the same.
    ::SetWindowPos(window_, nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER);
    return true;
}

void PlaceholderMainWindow::CenterWindow() {
    RECT window = {}, workArea = {};
    ::GetWindowRect(window_, &window);
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    ::SetWindowPos(window_, nullptr, workArea.left + (workArea.right - workArea.left - width) / 2,
                   workArea.top + (workArea.bottom - workArea.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PlaceholderMainWindow::ShowModal() {
    MSG message;
    while (::IsWindow(window_) && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

LRESULT CALLBACK PlaceholderMainWindow::WindowProc(HWND window, UINT message, WPARAM wParam,
                                                   LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(window, &paint);
        RECT client;
        ::GetClientRect(window, &client);
        ::DrawTextW(dc, L"Vantorel", -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ::EndPaint(window, &paint);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace App
