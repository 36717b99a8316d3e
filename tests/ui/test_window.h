#pragma once
// A real top-level window driven by a window manager, with its own window procedure,
// and a message pump for the tests.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/core/window_manager.h"

namespace SkinTest {

class TestWindow : public SkinUI::INotifyUI {
public:
    TestWindow(int width = 300, int height = 200);
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow() override;

    HWND Handle() const noexcept { return hwnd_; }
    SkinUI::CWindowManagerUI& Manager() noexcept { return manager_; }
    void Notify(SkinUI::NotifyEvent& event) override;

    // Runs the message loop (with the framework's pre-translation) until done() or timeout.
    bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000);
    void PumpFor(DWORD ms);
    POINT ScreenPoint(const RECT& clientRect) const;  // centre of a client rectangle

    struct Received {
        std::wstring type;
        SkinUI::CControlUI* sender;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Received> notifications;
    size_t Count(const std::wstring& type) const;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    SkinUI::CWindowManagerUI manager_;
};

}  // namespace SkinTest
