#include <gtest/gtest.h>

#include <windows.h>

#include "tests/ui/test_controls.h"
#include "tests/ui/test_window.h"
#include "ui/core/control.h"

namespace {

using namespace SkinUI;
using SkinTest::TestButton;
using SkinTest::TestContainer;
using SkinTest::TestWindow;

bool SameRect(const RECT& a, const RECT& b) {
    return ::EqualRect(&a, &b) != FALSE;
}

TEST(ControlAttributes, CommonAttributes) {
    CControlUI control;
    control.SetAttribute(L"pos", L"5,6,25,16");
    EXPECT_EQ(control.GetFixedXY().cx, 5);
    EXPECT_EQ(control.GetFixedXY().cy, 6);
    EXPECT_EQ(control.GetFixedWidth(), 20);
    EXPECT_EQ(control.GetFixedHeight(), 10);
    control.SetAttribute(L"width", L"-3");  // negative sizes are ignored
    EXPECT_EQ(control.GetFixedWidth(), 20);
    control.SetAttribute(L"padding", L"1,2,3,4");
    EXPECT_TRUE(SameRect(control.GetPadding(), {1, 2, 3, 4}));
    control.SetAttribute(L"bkcolor", L"0xFF1890FF");
    EXPECT_EQ(control.GetBkColor(), 0xFF1890FFu);
    control.SetAttribute(L"bkcolor1", L"#FF1675FE");
    EXPECT_EQ(control.GetBkColor(), 0xFF1675FEu);
    control.SetAttribute(L"bordersize", L"2");
    EXPECT_TRUE(SameRect(control.GetBorderSize(), {2, 2, 2, 2}));
    control.SetAttribute(L"bordersize", L"1,0,3,0");
    EXPECT_TRUE(SameRect(control.GetBorderSize(), {1, 0, 3, 0}));
    control.SetAttribute(L"tooltip", L"one<n>two");
    EXPECT_EQ(control.GetToolTip(), L"one\r\ntwo");
    control.SetAttribute(L"shortcut", L"Ab");
    EXPECT_EQ(control.GetShortcut(), L'A');
    control.SetAttribute(L"visible", L"True");  // control booleans are exactly "true"
    EXPECT_FALSE(control.IsVisible());
    control.SetAttribute(L"visible", L"true");
    EXPECT_TRUE(control.IsVisible());
    control.SetAttribute(L"enabled", L"false");
    EXPECT_FALSE(control.IsEnabled());
    control.SetAttribute(L"float", L"0.5,0,0.5,0");
    EXPECT_TRUE(control.IsFloat());
    EXPECT_DOUBLE_EQ(control.GetFloatFractions().left, 0.5);
    EXPECT_DOUBLE_EQ(control.GetFloatFractions().right, 0.5);
    control.SetAttribute(L"tag", L"42");
    EXPECT_EQ(control.GetTag(), 42);
    control.SetAttribute(L"Name", L"x");  // names are case-sensitive: a custom attribute
    EXPECT_EQ(control.GetName(), L"");
    ASSERT_NE(control.GetCustomAttribute(L"Name"), nullptr);
    EXPECT_EQ(*control.GetCustomAttribute(L"Name"), L"x");
    control.ApplyAttributeList(L"name=\"btn\" text=\"a b\" userdata=\"u\"");
    EXPECT_EQ(control.GetName(), L"btn");
    EXPECT_EQ(control.GetText(), L"a b");
    EXPECT_EQ(control.GetUserData(), L"u");
    // The order matters: "pos" first sets width 10 and height 0, then "width" again.
    CControlUI ordered;
    ordered.SetAttribute(L"pos", L"0,0,10,0");
    ordered.SetAttribute(L"width", L"10");
    EXPECT_EQ(ordered.GetFixedWidth(), 10);
    EXPECT_EQ(ordered.GetFixedHeight(), 0);
}

TEST(ControlTree, VirtualWindowAndInterfaces) {
    TestContainer parent;
    auto* child = new CControlUI();
    parent.Add(child);
    parent.SetVirtualWnd(L"page");
    EXPECT_EQ(child->GetVirtualWnd(), L"page");
    child->SetVirtualWnd(L"own");
    EXPECT_EQ(child->GetVirtualWnd(), L"own");
    EXPECT_EQ(child->GetInterface(L"Control"), child);
    EXPECT_EQ(child->GetInterface(L"Container"), nullptr);
    EXPECT_NE(parent.GetInterface(L"IContainer"), nullptr);
    EXPECT_EQ(child->GetParent(), &parent);
}

// A 200 x 100 window whose root holds a 100 x 50 floating panel at (20, 20) with a
// floating child.
class ControlInWindowTest : public testing::Test {
protected:
    void SetUp() override {
        root_ = new TestContainer();
        panel_ = new TestContainer();
        panel_->SetFloat(true);
        panel_->SetFixedXY({20, 20});
        panel_->SetFixedWidth(100);
        panel_->SetFixedHeight(50);
        child_ = new TestButton();
        child_->SetFloat(true);
        child_->SetFixedXY({5, 5});
        child_->SetFixedWidth(20);
        child_->SetFixedHeight(10);
        panel_->Add(child_);
        root_->Add(panel_);
        window_.Manager().AttachRoot(root_);
        ::ShowWindow(window_.Handle(), SW_SHOWNA);
        ASSERT_TRUE(window_.PumpUntil([&] { return window_.Count(Notify::kWindowInit) == 1; }));
        window_.PumpFor(30);
        ::ValidateRect(window_.Handle(), nullptr);
    }

    bool NothingPending() {
        const RECT update = PendingUpdate();
        return ::IsRectEmpty(&update) != FALSE;
    }

    RECT PendingUpdate() {
        RECT update{};
        ::GetUpdateRect(window_.Handle(), &update, FALSE);
        return update;
    }

    TestWindow window_{200, 100};
    TestContainer* root_ = nullptr;
    TestContainer* panel_ = nullptr;
    TestButton* child_ = nullptr;
};

TEST_F(ControlInWindowTest, FloatingPositionsAreRelativeToTheParent) {
    EXPECT_TRUE(SameRect(panel_->GetPos(), {20, 20, 120, 70}));
    EXPECT_TRUE(SameRect(child_->GetPos(), {25, 25, 45, 35}));
    EXPECT_TRUE(SameRect(child_->GetPosInParent(), {5, 5, 25, 15}));
    // SetPos writes the placement back, net of the fractions of the parent's size.
    child_->SetFloatFractions({0.5, 0, 0, 0});
    child_->SetPos({60, 10, 80, 30});
    EXPECT_TRUE(SameRect(child_->GetPos(), {80, 30, 100, 50}));
    EXPECT_EQ(child_->GetFixedXY().cx, 10);  // 60 - 0.5 * 100
    EXPECT_EQ(child_->GetFixedXY().cy, 10);
    EXPECT_EQ(child_->GetFixedWidth(), 70);  // 80 - 10
    EXPECT_EQ(child_->GetFixedHeight(), 20);
}

TEST_F(ControlInWindowTest, InvalidationIsClippedByEveryAncestor) {
    child_->SetText(child_->GetText());  // the same text: nothing to repaint
    EXPECT_TRUE(NothingPending());
    child_->SetText(L"new");
    EXPECT_TRUE(SameRect(PendingUpdate(), {25, 25, 45, 35}));
    ::ValidateRect(window_.Handle(), nullptr);

    // Moved outside its parent: every ancestor is visible, yet nothing is repainted.
    child_->SetPos({150, 60, 170, 70}, false);
    ::ValidateRect(window_.Handle(), nullptr);
    child_->Invalidate();
    EXPECT_TRUE(NothingPending());
    panel_->Invalidate();
    EXPECT_TRUE(SameRect(PendingUpdate(), {20, 20, 120, 70}));
}

TEST_F(ControlInWindowTest, VisitControlsFlags) {
    struct Collector {
        static CControlUI* Add(CControlUI* control, void* data) {
            static_cast<std::vector<CControlUI*>*>(data)->push_back(control);
            return nullptr;
        }
    };
    std::vector<CControlUI*> order;
    root_->VisitControls(Collector::Add, &order, 0);
    EXPECT_EQ(order, (std::vector<CControlUI*>{child_, panel_, root_}));
    order.clear();
    root_->VisitControls(Collector::Add, &order, kFindMeFirst);
    EXPECT_EQ(order, (std::vector<CControlUI*>{root_, panel_, child_}));
    order.clear();
    child_->SetEnabled(false);
    root_->VisitControls(Collector::Add, &order, kFindEnabled);
    EXPECT_EQ(order, (std::vector<CControlUI*>{panel_, root_}));
    order.clear();
    panel_->SetVisible(false);
    root_->VisitControls(Collector::Add, &order, kFindVisible);
    EXPECT_EQ(order, (std::vector<CControlUI*>{root_}));
    panel_->SetVisible(true);
    window_.PumpFor(30);

    // Two overlapping floating siblings: visible + hit test + top first finds the later.
    auto* later = new TestButton();
    later->SetFloat(true);
    later->SetFixedXY({10, 0});
    later->SetFixedWidth(20);
    later->SetFixedHeight(10);
    panel_->Add(later);
    window_.PumpFor(30);
    POINT point{35, 25};
    auto accept = [](CControlUI* control, void*) { return control; };
    EXPECT_EQ(root_->VisitControls(accept, &point, 0x15), later);
    EXPECT_EQ(window_.Manager().FindControlAt(point), later);
}

TEST_F(ControlInWindowTest, TheTreePaintsBackgroundsAndBorders) {
    root_->SetAttribute(L"bkcolor", L"#FF202020");
    panel_->SetAttribute(L"bkcolor", L"#80FFFFFF");  // half over the root's grey
    child_->SetAttribute(L"bkcolor", L"#FFFF0000");
    child_->SetAttribute(L"bordercolor", L"#FF00FF00");
    child_->SetAttribute(L"bordersize", L"1");
    window_.PumpFor(30);

    HDC memory = ::CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 200, -100, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::SendMessageW(window_.Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
    ::GdiFlush();
    auto at = [&](int x, int y) { return static_cast<uint32_t*>(bits)[y * 200 + x] & 0xFFFFFF; };
    EXPECT_EQ(at(5, 5), 0x202020u);                  // root
    const uint32_t blended = at(60, 60);             // panel over root
    EXPECT_NEAR(static_cast<int>(blended & 0xFF), 0x8F, 3);
    EXPECT_EQ(at(25, 25), 0x00FF00u);                // child's border, drawn inside
    EXPECT_EQ(at(44, 34), 0x00FF00u);
    EXPECT_EQ(at(30, 30), 0xFF0000u);                // child's background
    ::SelectObject(memory, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
}

TEST_F(ControlInWindowTest, HidingTheFocusedControlClearsTheFocus) {
    window_.Manager().SetFocus(child_);
    ASSERT_EQ(window_.Manager().GetFocus(), child_);
    EXPECT_TRUE(child_->IsFocused());
    panel_->SetVisible(false);
    child_->SetInheritedVisible(false);
    EXPECT_EQ(window_.Manager().GetFocus(), nullptr);
    EXPECT_FALSE(child_->IsFocused());
}

}  // namespace
