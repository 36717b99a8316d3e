#pragma once
#include <windows.h>

namespace App {

// Stands in for the skinned main window until it exists: a plain top-level window
// titled "Vantorel", created and run modally the way the main window will be. Returns
// when the window is gone or WM_QUIT arrives.
class PlaceholderMainWindow {
public:
    explicit PlaceholderMainWindow(HINSTANCE instance) : instance_(instance) {}
    PlaceholderMainWindow(const PlaceholderMainWindow&) = delete;
    PlaceholderMainWindow& operator=(const PlaceholderMainWindow&) = delete;
    ~PlaceholderMainWindow();

    bool Create();
    void CenterWindow();
    void ShowModal();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
    HWND window_ = nullptr;
};

}  // namespace App
