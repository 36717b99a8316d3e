#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/ui/skin_fixture.h"
#include "tests/ui/test_controls.h"
#include "tests/ui/test_window.h"
#include "ui/core/control_factory.h"
#include "ui/core/image_table.h"
#include "ui/core/layout_builder.h"
#include "ui/core/multi_language.h"
#include "ui/core/window_manager.h"

namespace {

using namespace SkinUI;
using SkinTest::TestButton;
using SkinTest::TestContainer;
using SkinTest::TestWindow;

// The window's hook: "Box" and "SequenceLabel" are classes the core does not know.
class Callback : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(std::wstring_view className) override {
        created.emplace_back(className);
        if (className == L"Box") return new TestContainer();
        if (className == L"SequenceLabel") return new TestButton();
        return nullptr;
    }
    std::vector<std::wstring> created;
};

class CreatesNothing : public IDialogBuilderCallback {
public:
    CControlUI* CreateControl(std::wstring_view) override { return nullptr; }
};

class LayoutBuilderTest : public SkinTest::SkinSettingsTest {
protected:
    void SetUp() override {
        SkinSettingsTest::SetUp();
        UseMemoryArchive();
    }
    void TearDown() override {
        ClearMultiLanguageStrings();
        SkinSettingsTest::TearDown();
    }

    CControlUI* Build(const std::wstring& layout, CControlUI* parent = nullptr) {
        return builder_.Create(layout, &callback_, &window_.Manager(), parent);
    }

    TestWindow window_;
    Callback callback_;
    CLayoutBuilder builder_;
};

TEST_F(LayoutBuilderTest, BuildsTheTreeAndRegistersResources) {
    CControlUI* root = Build(
        L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        L"<Window size=\"320,200\" caption=\"0,0,0,30\" showshadow=\"true\" shadowsize=\"6\">\n"
        L"  <Font id=\"0\" name=\"微软雅黑\" size=\"14\" bold=\"TRUE\" default=\"true\"/>\n"
        L"  <Font id=\"1\" name=\"微软雅黑\" size=\"20\"/>\n"
        L"  <Default name=\"Control\" value=\"userdata=&quot;from default&quot; tag=&quot;7&quot;\"/>\n"
        L"  <MultiLanguage id=\"5\" value=\"安装\"/>\n"
        L"  <Image name=\"res/mainWnd/bg1.png\"/>\n"
        L"  <Box name=\"page\">\n"
        L"    <!-- <Control name=\"commented\"/> -->\n"
        L"    <Control name=\"a\" tag=\"9\" text=\"%{5}\"/>\n"
        L"    <Unknown name=\"skipped\"><Control name=\"inside\"/></Unknown>\n"
        L"    <SequenceLabel name=\"seq\"/>\n"
        L"  </Box>\n"
        L"</Window>\n");
    ASSERT_NE(root, nullptr) << std::string(builder_.GetLastErrorMessage().begin(), builder_.GetLastErrorMessage().end());
    CWindowManagerUI& manager = window_.Manager();
    ASSERT_TRUE(manager.AttachRoot(root));

    EXPECT_EQ(manager.FindControlByName(L"page"), root);
    CControlUI* a = manager.FindControlByName(L"a");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetUserData(), L"from default");  // defaults first,
    EXPECT_EQ(a->GetTag(), 9);                      // then the element's own attributes
    EXPECT_EQ(a->GetText(), L"%{5}");
    EXPECT_EQ(GetMultiLanguageString(5).value_or(L""), L"安装");
    EXPECT_EQ(manager.FindControlByName(L"commented"), nullptr);
    EXPECT_EQ(manager.FindControlByName(L"skipped"), nullptr);
    EXPECT_EQ(manager.FindControlByName(L"inside"), nullptr);  // skipped with its element
    EXPECT_NE(manager.FindControlByName(L"seq"), nullptr);
    EXPECT_EQ(callback_.created, (std::vector<std::wstring>{L"Box", L"Unknown", L"SequenceLabel"}));

    RECT client;
    ::GetClientRect(window_.Handle(), &client);
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(manager.GetCaptionRect().bottom, 30);
    ASSERT_NE(manager.GetWindowCustomAttribute(L"shadowsize"), nullptr);
    EXPECT_EQ(*manager.GetWindowCustomAttribute(L"shadowsize"), L"6");

    LOGFONTW base{};
    LOGFONTW font{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(base), &base);
    ::GetObjectW(manager.GetFont(0), sizeof(font), &font);
    EXPECT_EQ(font.lfWeight, base.lfWeight + 700);
    ::GetObjectW(manager.GetFont(-1), sizeof(font), &font);
    EXPECT_EQ(font.lfHeight, -14);  // the default font
    ::GetObjectW(manager.GetFont(1), sizeof(font), &font);
    EXPECT_EQ(font.lfHeight, -20);
    EXPECT_NE(manager.GetImageStore().GetImage(L"res/mainWnd/bg1.png"), nullptr);
}

TEST_F(LayoutBuilderTest, AFloatingControlTakesItsBackgroundPicturesSize) {
    CControlUI* control = Build(
        L"<Window><Control float=\"true\" bkimage=\"res/mainWnd/installBtnAnimate/000.png\"/></Window>");
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->GetFixedWidth(), 3);
    EXPECT_EQ(control->GetFixedHeight(), 2);
    control->Delete();
}

TEST_F(LayoutBuilderTest, OnlyTheFirst64AttributesOfAnElementApply) {
    std::wstring markup = L"<Window><Control";
    for (int i = 0; i < 70; ++i) markup += L" x" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
    markup += L"/></Window>";
    CControlUI* control = Build(markup);
    ASSERT_NE(control, nullptr);
    EXPECT_NE(control->GetCustomAttribute(L"x63"), nullptr);
    EXPECT_EQ(control->GetCustomAttribute(L"x64"), nullptr);
    control->Delete();
}

TEST_F(LayoutBuilderTest, IncludeBuildsItsSourceIntoTheSameParent) {
    auto* parent = new TestContainer();
    window_.Manager().AttachRoot(parent);
    Build(L"<Window><Include source=\"parts/item.xml\" count=\"3\"/><Control text=\"own\"/></Window>", parent);
    ASSERT_EQ(parent->GetCount(), 4);
    EXPECT_EQ(parent->GetItemAt(0)->GetText(), L"included");
    EXPECT_EQ(parent->GetItemAt(2)->GetText(), L"included");
    EXPECT_EQ(parent->GetItemAt(3)->GetText(), L"own");

    // A source that includes itself stops at the nesting limit instead of overflowing.
    auto* looped = new TestContainer();
    window_.Manager().AttachRoot(looped);
    Build(L"<Window><Include source=\"parts/loop.xml\"/></Window>", looped);
    EXPECT_EQ(looped->GetCount(), CLayoutBuilder::kMaxIncludeDepth);
}

TEST_F(LayoutBuilderTest, LayoutsFromModuleResourcesIncludeByResourceId) {
    auto* parent = new TestContainer();
    window_.Manager().AttachRoot(parent);
    CLayoutBuilder fromResource;
    fromResource.Create(202, L"XML", &callback_, &window_.Manager(), parent);
    ASSERT_EQ(parent->GetCount(), 2);  // "201" included twice
    EXPECT_EQ(parent->GetItemAt(1)->GetText(), L"included");
    CLayoutBuilder missing;
    EXPECT_EQ(missing.Create(203, L"XML", &callback_, &window_.Manager(), parent), nullptr);
    EXPECT_EQ(missing.Create(0x10000, L"XML", &callback_, &window_.Manager(), parent), nullptr);
}

TEST_F(LayoutBuilderTest, CoverAndNonContainerParents) {
    auto* parent = new TestContainer();
    window_.Manager().AttachRoot(parent);
    Build(L"<Window><Control name=\"over\" cover=\"true\"/></Window>", parent);
    EXPECT_EQ(parent->GetCount(), 0);
    ASSERT_NE(parent->GetCoverControl(), nullptr);
    EXPECT_EQ(parent->GetCoverControl()->GetName(), L"over");

    CControlUI plain;
    EXPECT_EQ(Build(L"<Window><Control/></Window>", &plain), nullptr);
    // Children of a plain control: the whole build fails.
    EXPECT_EQ(Build(L"<Window><Box><Control><Control/></Control></Box></Window>"), nullptr);
}

TEST_F(LayoutBuilderTest, FailuresAndSkippedSubtrees) {
    EXPECT_EQ(Build(L"<Window><Control></Window>"), nullptr);
    EXPECT_EQ(builder_.GetLastErrorMessage(), L"Unmatched closing tag");
    EXPECT_EQ(Build(L"missing.xml"), nullptr);
    EXPECT_EQ(builder_.GetLastErrorMessage(), L"Could not find ziped file");
    EXPECT_EQ(Build(L"<Window/>"), nullptr);  // nothing to build

    CLayoutBuilder prompt;
    CreatesNothing nothing;
    CControlUI* root = prompt.Create(L"<Window><SequenceLabel><Control name=\"x\"/></SequenceLabel>"
                                     L"<Control name=\"kept\"/></Window>",
                                     &nothing, &window_.Manager());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetName(), L"kept");
    root->Delete();

    // Without a manager only the element's own attributes are applied.
    CLayoutBuilder bare;
    CControlUI* control = bare.Create(L"<Window><Control name=\"n\"/></Window>", nullptr, nullptr);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->GetName(), L"n");
    control->Delete();
}

TEST_F(LayoutBuilderTest, EndlessNestingIsCutAtTheDepthLimit) {
    std::wstring markup = L"<Window>";
    for (int i = 0; i < 5000; ++i) markup += L"<Box>";
    for (int i = 0; i < 5000; ++i) markup += L"</Box>";
    markup += L"</Window>";
    CControlUI* root = Build(markup);
    ASSERT_NE(root, nullptr);
    int depth = 0;
    for (CControlUI* node = root; node != nullptr; ++depth) {
        node = static_cast<TestContainer*>(node)->GetItemAt(0);
    }
    EXPECT_EQ(depth, CLayoutBuilder::kMaxElementDepth);
    root->Delete();
}

TEST_F(LayoutBuilderTest, LayoutFilesFromTheSkinWithRegisteredClasses) {
    EXPECT_EQ(Build(L"MainWnd.xml"), nullptr);  // no class is registered for "Label" yet
    RegisterControlClass(L"Label", [] { return new SkinTest::TestLabel(); });
    CControlUI* root = Build(L"MainWnd.xml");  // "mainWnd.xml" in the archive
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->GetClass(), L"Label");
    EXPECT_EQ(root->GetText(), L"安装");
    root->Delete();
    RegisterControlClass(L"Label", nullptr);
}

}  // namespace
