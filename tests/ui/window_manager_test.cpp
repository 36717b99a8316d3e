// A real window on the virtual display, driven through real window messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

#include "tests/ui/test_controls.h"
#include "tests/ui/test_window.h"
#include "ui/core/multi_language.h"
#include "ui/core/window_manager.h"

namespace {

using namespace SkinUI;
using SkinTest::TestButton;
using SkinTest::TestContainer;
using SkinTest::TestWindow;

TestButton* AddButton(TestContainer* parent, const wchar_t* name, RECT pos) {
    auto* button = new TestButton();
    button->SetName(name);
    button->SetFloat(true);
    button->SetFixedXY({pos.left, pos.top});
    button->SetFixedWidth(pos.right - pos.left);
    button->SetFixedHeight(pos.bottom - pos.top);
    parent->Add(button);
    return button;
}

// A window showing a root container with three floating buttons side by side.
class WindowManagerTest : public testing::Test {
protected:
    void SetUp() override {
        root_ = new TestContainer();
        root_->SetName(L"root");
        first_ = AddButton(root_, L"first", {10, 10, 90, 50});
        second_ = AddButton(root_, L"second", {110, 10, 190, 50});
        third_ = AddButton(root_, L"third", {210, 10, 290, 50});
        ASSERT_TRUE(window_.Manager().AttachRoot(root_));
        // Shown without activation: under Wine without a window manager, hiding an
        // active window waits seconds for the X server.
        ::ShowWindow(window_.Handle(), SW_SHOWNA);
        ASSERT_TRUE(window_.PumpUntil([&] { return window_.Count(Notify::kWindowInit) == 1; }));
    }

    void Click(POINT screen) {
        INPUT inputs[3] = {};
        const int width = ::GetSystemMetrics(SM_CXSCREEN) - 1;
        const int height = ::GetSystemMetrics(SM_CYSCREEN) - 1;
        inputs[0].type = INPUT_MOUSE;
        inputs[0].mi.dx = screen.x * 65535 / width;
        inputs[0].mi.dy = screen.y * 65535 / height;
        inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        inputs[1] = inputs[0];
        inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
        inputs[2] = inputs[0];
        inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
        ASSERT_EQ(::SendInput(3, inputs, sizeof(INPUT)), 3u);
    }

    TestWindow window_;
    TestContainer* root_ = nullptr;
    TestButton* first_ = nullptr;
    TestButton* second_ = nullptr;
    TestButton* third_ = nullptr;
};

TEST_F(WindowManagerTest, WindowInitIsSentOnceAfterTheFirstLayout) {
    EXPECT_EQ(window_.notifications.front().type, Notify::kWindowInit);
    EXPECT_EQ(window_.notifications.front().sender, root_);
    const RECT pos = second_->GetPos();
    EXPECT_EQ(pos.left, 110);
    EXPECT_EQ(pos.right, 190);
    window_.Manager().Invalidate();
    root_->RequestLayout();
    window_.PumpFor(150);
    EXPECT_EQ(window_.Count(Notify::kWindowInit), 1u);
    // The paint after the first layout gives the first tab stop the focus.
    ASSERT_TRUE(window_.PumpUntil([&] { return window_.Manager().GetFocus() != nullptr; }));
    EXPECT_EQ(window_.Manager().GetFocus(), first_);
    EXPECT_EQ(window_.Count(Notify::kSetFocus), 1u);
}

TEST_F(WindowManagerTest, ARealClickOnAButtonYieldsClick) {
    Click(window_.ScreenPoint(second_->GetPos()));
    ASSERT_TRUE(window_.PumpUntil([&] { return window_.Count(Notify::kClick) == 1; }));
    const auto clicked = std::find_if(window_.notifications.begin(), window_.notifications.end(),
                                      [](const TestWindow::Received& r) { return r.type == Notify::kClick; });
    EXPECT_EQ(clicked->sender, second_);
    EXPECT_EQ(window_.Manager().GetFocus(), second_);
    EXPECT_NE(std::find(second_->events.begin(), second_->events.end(), kEventButtonDown), second_->events.end());
    EXPECT_NE(std::find(second_->events.begin(), second_->events.end(), kEventMouseEnter), second_->events.end());
    EXPECT_GE(window_.Count(Notify::kMouseEnter), 1u);
}

TEST_F(WindowManagerTest, ButtonUpOutsideStillReachesThePushedControlWithoutAClick) {
    const RECT& pos = first_->GetPos();
    ::SendMessageW(window_.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pos.left + 5, pos.top + 5));
    ::SendMessageW(window_.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(150, 150));
    window_.PumpFor(50);
    const auto down = std::find(first_->events.begin(), first_->events.end(), kEventButtonDown);
    ASSERT_NE(down, first_->events.end());
    EXPECT_NE(std::find(down, first_->events.end(), kEventButtonUp), first_->events.end());
    EXPECT_EQ(window_.Count(Notify::kClick), 0u);
}

TEST_F(WindowManagerTest, TabMovesTheFocusOverTabStopsAndWraps) {
    ASSERT_TRUE(window_.PumpUntil([&] { return window_.Manager().GetFocus() == first_; }));
    second_->SetKeyboardEnabled(false);  // not a tab stop any more
    auto pressTab = [&] {
        ::PostMessageW(window_.Handle(), WM_KEYDOWN, VK_TAB, 0);
        window_.PumpFor(30);
    };
    pressTab();
    EXPECT_EQ(window_.Manager().GetFocus(), third_);
    pressTab();
    EXPECT_EQ(window_.Manager().GetFocus(), first_);
    window_.Manager().SetNextTabControl(false);
    EXPECT_EQ(window_.Manager().GetFocus(), third_);

    // Hiding the focused control leaves nothing focused; the next Tab starts over.
    third_->SetVisible(false);
    EXPECT_EQ(window_.Manager().GetFocus(), nullptr);
    window_.PumpFor(50);  // the layout asked for by hiding
    pressTab();
    EXPECT_EQ(window_.Manager().GetFocus(), first_);
}

TEST_F(WindowManagerTest, KeysGoToTheFocusedControl) {
    window_.Manager().SetFocus(second_);
    ::PostMessageW(window_.Handle(), WM_KEYDOWN, VK_SPACE, 0);
    ASSERT_TRUE(window_.PumpUntil([&] { return window_.Count(Notify::kClick) == 1; }));
    EXPECT_EQ(window_.notifications.back().sender, second_);
}

TEST_F(WindowManagerTest, PostedNotificationsArriveAfterSynchronousOnes) {
    window_.notifications.clear();
    CWindowManagerUI& manager = window_.Manager();
    manager.SendNotification(first_, L"later", 1, 0, true);
    NotifyEvent merged;
    merged.type = L"later";
    merged.sender = first_;
    merged.wParam = 2;
    manager.SendNotification(merged, true, false);  // no repeat: updates the queued one
    manager.SendNotification(second_, L"now");
    ASSERT_EQ(window_.notifications.size(), 1u);
    EXPECT_EQ(window_.notifications[0].type, L"now");
    ASSERT_TRUE(window_.PumpUntil([&] { return window_.Count(L"later") == 1; }));
    window_.PumpFor(30);
    EXPECT_EQ(window_.Count(L"later"), 1u);
    EXPECT_EQ(window_.notifications.back().wParam, 2u);
    EXPECT_EQ(window_.notifications.back().sender, first_);
}

TEST_F(WindowManagerTest, AWorkerThreadCanQueueANotification) {
    std::thread worker([&] { window_.Manager().SendNotification(root_, L"checknet", 1, 0, true); });
    worker.join();
    ASSERT_TRUE(window_.PumpUntil([&] { return window_.Count(L"checknet") == 1; }));
    EXPECT_EQ(window_.notifications.back().wParam, 1u);
}

TEST_F(WindowManagerTest, TimersArePerControlAndStopWhenTheControlIsDeleted) {
    CWindowManagerUI& manager = window_.Manager();
    ASSERT_TRUE(manager.SetTimer(first_, 2100, 20));
    const UINT firstNative = manager.LastNativeTimerId();
    ASSERT_TRUE(manager.SetTimer(second_, 2100, 20));
    EXPECT_EQ(manager.LastNativeTimerId(), firstNative + 1);  // each control its own native timer
    EXPECT_FALSE(manager.SetTimer(first_, 2100, 5000));       // running: refused, period kept

    auto timersFrom = [&](CControlUI* control) {
        size_t count = 0;
        for (const auto& r : window_.notifications) {
            count += (r.type == Notify::kTimer && r.sender == control && r.wParam == 2100) ? 1 : 0;
        }
        return count;
    };
    ASSERT_TRUE(window_.PumpUntil([&] { return timersFrom(first_) >= 3 && timersFrom(second_) >= 3; }));

    // Killed and started again: the same native id is used again.
    EXPECT_TRUE(manager.KillTimer(first_, 2100));
    EXPECT_FALSE(manager.KillTimer(first_, 2100));
    EXPECT_TRUE(manager.SetTimer(first_, 2100, 20));
    EXPECT_EQ(manager.LastNativeTimerId(), firstNative + 1);

    root_->Remove(second_);
    second_ = nullptr;
    window_.notifications.clear();
    ASSERT_TRUE(window_.PumpUntil([&] { return timersFrom(first_) >= 3; }));
    for (const auto& r : window_.notifications) {
        if (r.type == Notify::kTimer) {
            EXPECT_EQ(r.sender, first_);
        }
    }
}

TEST_F(WindowManagerTest, MovingOutOfTheWindowLeavesTheHotControl) {
    auto countFrom = [&](const wchar_t* type) {
        size_t count = 0;
        for (const auto& r : window_.notifications) count += (r.type == type && r.sender == first_) ? 1 : 0;
        return count;
    };
    const RECT& pos = first_->GetPos();
    ::SendMessageW(window_.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(pos.left + 5, pos.top + 5));
    EXPECT_EQ(countFrom(Notify::kMouseEnter), 1u);
    ::SendMessageW(window_.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(-1, -1));
    EXPECT_EQ(countFrom(Notify::kMouseLeave), 1u);
}

TEST_F(WindowManagerTest, HoveringShowsTheToolTipWithResolvedTexts) {
    SetMultiLanguageString(31, L"安装到此处");
    second_->SetToolTip(L"%{31}");
    const RECT& pos = second_->GetPos();
    const LPARAM point = MAKELPARAM(pos.left + 5, pos.top + 5);
    ::SendMessageW(window_.Handle(), WM_MOUSEMOVE, 0, point);
    ::SendMessageW(window_.Handle(), WM_MOUSEHOVER, 0, point);
    ClearMultiLanguageStrings();
    HWND tip = nullptr;
    while ((tip = ::FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) != nullptr) {
        if (::GetWindow(tip, GW_OWNER) == window_.Handle()) break;
    }
    ASSERT_NE(tip, nullptr);
    wchar_t text[64] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = window_.Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(window_.Handle());
    tool.lpszText = text;
    ::SendMessageW(tip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
    EXPECT_EQ(std::wstring(text), L"安装到此处");
    EXPECT_NE(std::find(second_->events.begin(), second_->events.end(), kEventMouseHover), second_->events.end());
}

TEST_F(WindowManagerTest, TheWheelReachesTheControlUnderThePointer) {
    POINT screen = window_.ScreenPoint(third_->GetPos());
    ::SendMessageW(window_.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));
    const auto wheel = std::find(third_->events.begin(), third_->events.end(), kEventScrollWheel);
    EXPECT_NE(wheel, third_->events.end());
}

TEST_F(WindowManagerTest, AltShortcutsFocusAndActivate) {
    third_->SetShortcut(L'x');
    ::PostMessageW(window_.Handle(), WM_SYSCHAR, L'X', 0);
    ASSERT_TRUE(window_.PumpUntil([&] { return window_.Count(Notify::kClick) == 1; }));
    EXPECT_EQ(window_.Manager().GetFocus(), third_);

    // A label's shortcut goes to the next control visited that is not a label; the
    // visit runs from the last child to the first.
    auto* label = new SkinTest::TestLabel();
    label->SetShortcut(L'l');
    root_->Add(label);
    window_.Manager().SetFocus(first_);
    ::PostMessageW(window_.Handle(), WM_SYSCHAR, L'l', 0);
    ASSERT_TRUE(window_.PumpUntil([&] { return window_.Count(Notify::kClick) == 2; }));
    EXPECT_EQ(window_.Manager().GetFocus(), third_);
}

TEST_F(WindowManagerTest, ANewRootGetsWindowInitAndTheOldTreeIsDeletedLater) {
    bool oldDeleted = false;
    first_->destroyHandlers.push_back([&](CControlUI&) {
        oldDeleted = true;
        return true;
    });
    window_.Manager().SetTimer(first_, 1, 10);
    auto* fresh = new TestContainer();
    ASSERT_TRUE(window_.Manager().AttachRoot(fresh));
    EXPECT_FALSE(oldDeleted);
    EXPECT_EQ(window_.Manager().FindControlByName(L"first"), nullptr);
    ASSERT_TRUE(window_.PumpUntil([&] { return window_.Count(Notify::kWindowInit) == 2; }));
    EXPECT_TRUE(oldDeleted);
    window_.PumpFor(50);  // the deleted control's timer must not fire into freed memory
    EXPECT_EQ(window_.notifications.back().type, Notify::kWindowInit);
    EXPECT_FALSE(window_.Manager().AttachRoot(nullptr));
}

TEST(WindowManagerTimers, NativeIdsCountFrom17AndWrapAt255) {
    TestWindow window;
    auto* root = new TestContainer();
    ASSERT_TRUE(window.Manager().AttachRoot(root));
    std::vector<UINT> ids;
    for (UINT i = 0; i < 240; ++i) {
        ASSERT_TRUE(window.Manager().SetTimer(root, i, 100000));
        ids.push_back(window.Manager().LastNativeTimerId());
    }
    EXPECT_EQ(ids[0], 17u);
    EXPECT_EQ(ids[1], 18u);
    EXPECT_EQ(ids[237], 254u);
    EXPECT_EQ(ids[238], 0u);
    EXPECT_EQ(ids[239], 1u);
    window.Manager().KillTimers(root);
}

TEST_F(WindowManagerTest, NamesAndHitTesting) {
    CWindowManagerUI& manager = window_.Manager();
    EXPECT_EQ(manager.FindControlByName(L"second"), second_);
    EXPECT_EQ(manager.FindControlByName(L"Second"), nullptr);  // exact names
    EXPECT_EQ(manager.FindControlAt({150, 30}), second_);
    EXPECT_EQ(manager.FindControlAt({100, 30}), root_);
    EXPECT_EQ(manager.FindControlAt({500, 30}), nullptr);

    // Two overlapping floating siblings: the later one in markup order is on top.
    TestButton* over = AddButton(root_, L"over", {150, 20, 250, 40});
    window_.PumpFor(50);  // placed by the next layout
    EXPECT_EQ(manager.FindControlAt({160, 30}), over);
    EXPECT_EQ(manager.FindControlByName(L"over"), over);
    // A later control of the same name takes the name.
    TestButton* again = AddButton(root_, L"second", {0, 100, 10, 110});
    EXPECT_EQ(manager.FindControlByName(L"second"), again);
    root_->Remove(again);
    EXPECT_EQ(manager.FindControlByName(L"second"), nullptr);
    // Mouse-disabled controls are not hit.
    over->SetMouseEnabled(false);
    EXPECT_EQ(manager.FindControlAt({160, 30}), second_);
}

TEST_F(WindowManagerTest, ContextMenuBubblesToTheParentUnlessTheControlWantsIt) {
    const RECT& pos = first_->GetPos();
    POINT screen{pos.left + 5, pos.top + 5};
    ::ClientToScreen(window_.Handle(), &screen);
    ::SendMessageW(window_.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pos.left + 5, pos.top + 5));
    ::SendMessageW(window_.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window_.Handle()),
                   MAKELPARAM(screen.x, screen.y));
    EXPECT_NE(std::find(root_->handledEvents.begin(), root_->handledEvents.end(), kEventContextMenu),
              root_->handledEvents.end());
    EXPECT_EQ(window_.Count(Notify::kMenu), 0u);

    first_->SetHasContextMenu(true);
    ::SendMessageW(window_.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pos.left + 5, pos.top + 5));
    ::SendMessageW(window_.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window_.Handle()),
                   MAKELPARAM(screen.x, screen.y));
    EXPECT_EQ(window_.Count(Notify::kMenu), 1u);
}

TEST(WindowManagerResources, FontsAddToTheBaseWeightAndReplaceById) {
    TestWindow window;
    CWindowManagerUI& manager = window.Manager();
    LOGFONTW base{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(base), &base);

    HFONT bold = manager.AddFont(1, L"微软雅黑", 14, true, true, false);
    ASSERT_NE(bold, nullptr);
    LOGFONTW created{};
    ::GetObjectW(bold, sizeof(created), &created);
    EXPECT_EQ(created.lfWeight, base.lfWeight + 700);
    EXPECT_EQ(created.lfHeight, -14);
    EXPECT_TRUE(created.lfUnderline);
    EXPECT_FALSE(created.lfItalic);
    EXPECT_EQ(std::wstring(created.lfFaceName), L"微软雅黑");
    EXPECT_EQ(manager.GetFont(1), bold);
    ASSERT_NE(manager.GetFontInfo(1), nullptr);
    EXPECT_TRUE(manager.GetFontInfo(1)->hasMetrics);

    HFONT replaced = manager.AddFont(1, L"Arial", 20, false, false, true);
    EXPECT_EQ(manager.GetFont(1), replaced);
    // Unknown ids and -1 give the default font.
    EXPECT_EQ(manager.GetFont(99), manager.GetFont(-1));
    manager.SetDefaultFont(L"Arial", 30, false, false, false);
    ::GetObjectW(manager.GetFont(-1), sizeof(created), &created);
    EXPECT_EQ(created.lfHeight, -30);
    // Faces longer than the logical font allows are cut, not overrun.
    EXPECT_NE(manager.AddFont(2, std::wstring(100, L'x'), 12, false, false, false), nullptr);
    EXPECT_EQ(manager.GetFontInfo(2)->faceName.size(), 31u);
}

TEST(WindowManagerResources, WindowAttributes) {
    TestWindow window;
    CWindowManagerUI& manager = window.Manager();
    manager.SetWindowAttribute(L"SIZE", L"320,240");  // no root yet: the window is resized
    RECT client;
    ::GetClientRect(window.Handle(), &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 240);
    manager.SetWindowAttribute(L"caption", L"0,0,0,40");
    EXPECT_EQ(manager.GetCaptionRect().bottom, 40);
    manager.SetWindowAttribute(L"roundcorner", L"4,4");
    EXPECT_EQ(manager.GetRoundCorner().cx, 4);
    manager.SetWindowAttribute(L"defaultfontcolor", L"#FF1890FF");
    EXPECT_EQ(manager.GetDefaultFontColor(), 0xFF1890FFu);
    manager.SetWindowAttribute(L"NoActivate", L"true");  // matched only as written
    EXPECT_FALSE(manager.IsNoActivate());
    ASSERT_NE(manager.GetWindowCustomAttribute(L"NoActivate"), nullptr);
    manager.SetWindowAttribute(L"showshadow", L"true");
    manager.SetWindowAttribute(L"showshadow", L"false");  // the first value is kept
    EXPECT_EQ(*manager.GetWindowCustomAttribute(L"showshadow"), L"true");
    EXPECT_EQ(manager.GetWindowCustomAttribute(L""), nullptr);
    EXPECT_EQ(manager.GetWindowCustomAttribute(L"shadowsize"), nullptr);
    manager.SetWindowAttribute(L"opacity", L"200");
    EXPECT_EQ(manager.GetOpacity(), 200);
    EXPECT_NE(::GetWindowLongPtrW(window.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
}

}  // namespace
