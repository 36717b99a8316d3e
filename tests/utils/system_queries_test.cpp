#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <string>

#include "utils/accounts.h"
#include "utils/message_pump.h"
#include "utils/thread.h"

namespace {

// Wine runs every program as a member of the Administrators group, and its one
// account is the console user. (Its account database reports that account at guest
// level, so IsAccountAdmin cannot be shown true here.)
TEST(Accounts, ProcessIsAdministratorAndConsoleUserIsTheProcessUser) {
    EXPECT_TRUE(Utils::IsUserAdmin());

    std::wstring consoleUser = L"untouched";
    ASSERT_TRUE(Utils::GetConsoleUserName(consoleUser));
    wchar_t processUser[256] = {};
    DWORD size = 256;
    ASSERT_TRUE(::GetUserNameW(processUser, &size));
    EXPECT_EQ(consoleUser, processUser);
}

TEST(Accounts, UnknownAccountIsNoAdministrator) {
    EXPECT_FALSE(Utils::IsAccountAdmin(L"vantorel-no-such-account"));
    EXPECT_FALSE(Utils::IsAccountAdmin(L""));
}

constexpr UINT kCountedMessage = WM_APP + 5;

struct CountingWindow {
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == kCountedMessage) {
            ++*reinterpret_cast<int*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
            return 0;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    CountingWindow() {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VantorelPumpProbe";
        ::RegisterClassW(&windowClass);
        handle = ::CreateWindowExW(0, L"VantorelPumpProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   windowClass.hInstance, nullptr);
        ::SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&count));
    }
    ~CountingWindow() {
        if (::IsWindow(handle)) ::DestroyWindow(handle);
    }

    HWND handle = nullptr;
    int count = 0;
};

TEST(PumpMessages, DispatchesQueuedMessagesToTheWindow) {
    CountingWindow window;
    ASSERT_NE(window.handle, nullptr);
    for (int i = 0; i < 3; ++i) ::PostMessageW(window.handle, kCountedMessage, 0, 0);
    Utils::PumpMessages(window.handle);
    EXPECT_EQ(window.count, 3);
}

TEST(PumpMessages, LeavesTheQueueAloneOnceTheWindowIsGone) {
    CountingWindow window;
    const HWND gone = window.handle;
    ::DestroyWindow(gone);
    ::PostThreadMessageW(::GetCurrentThreadId(), kCountedMessage, 0, 0);
    Utils::PumpMessages(gone);
    MSG message;
    EXPECT_TRUE(::PeekMessageW(&message, nullptr, kCountedMessage, kCountedMessage, PM_REMOVE));
}

TEST(PumpMessages, QuitIsPostedAgainForTheOuterLoop) {
    ::PostQuitMessage(5);
    Utils::PumpMessages(nullptr);
    MSG message;
    ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 5u);
}

TEST(PumpMessages, ReturnsWhenNoMessageEverArrives) {
    // On a thread of its own, so a pump that waits for a message forever fails here
    // instead of hanging the run.
    std::atomic<bool> returned{false};
    Utils::Thread worker;
    worker.Create(&returned, L"pump", [](void* flag) {
        Utils::PumpMessages(nullptr);
        *static_cast<std::atomic<bool>*>(flag) = true;
    });
    ASSERT_NE(worker.Handle(), nullptr);
    ::ResumeThread(worker.Handle());
    ::WaitForSingleObject(worker.Handle(), 10000);
    EXPECT_TRUE(returned);
    if (!returned) ::PostThreadMessageW(worker.ThreadId(), WM_NULL, 0, 0);
}

}  // namespace
