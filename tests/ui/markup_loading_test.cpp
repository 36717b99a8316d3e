#include <gtest/gtest.h>

#include <string>

#include "tests/ui/skin_fixture.h"
#include "ui/core/markup_document.h"

namespace {

using SkinUI::CMarkupDocument;
using SkinUI::MarkupEncoding;

class MarkupLoadingTest : public SkinTest::SkinSettingsTest {};

TEST_F(MarkupLoadingTest, LayoutFromTheArchive) {
    UseMemoryArchive();
    CMarkupDocument document;
    ASSERT_TRUE(document.LoadFromFile(L"MainWnd.xml"));
    const auto root = document.GetRoot();
    EXPECT_EQ(root.GetName(), L"Window");
    EXPECT_EQ(root.FindAttribute(L"size").value_or(L""), L"600,400");
    EXPECT_EQ(root.GetChild().FindAttribute(L"text").value_or(L""), L"安装");
}

TEST_F(MarkupLoadingTest, FailuresCarryTheReadOrParseError) {
    UseMemoryArchive();
    CMarkupDocument document;
    EXPECT_FALSE(document.LoadFromFile(L"broken.xml"));
    EXPECT_EQ(document.GetLastErrorMessage(), L"Unmatched closing tag");
    EXPECT_EQ(document.GetLastErrorLocation(), L"Window>");
    EXPECT_FALSE(document.LoadFromFile(L"missing.xml"));
    EXPECT_EQ(document.GetLastErrorMessage(), L"Could not find ziped file");
    EXPECT_FALSE(document.LoadFromFile(L"res/empty.txt"));
    EXPECT_EQ(document.GetLastErrorMessage(), L"File is empty");
    EXPECT_FALSE(document.GetRoot().IsValid());

    UseFolder();
    EXPECT_FALSE(document.LoadFromFile(L"missing.xml"));
    EXPECT_EQ(document.GetLastErrorMessage(), L"Error opening file");
    EXPECT_FALSE(document.LoadFromFile(L"res/big/over4mib.bin"));
    EXPECT_EQ(document.GetLastErrorMessage(), L"File too large");
    EXPECT_TRUE(document.LoadFromFile(L"exitTipWnd.xml"));
}

TEST(MarkupLoading, Encodings) {
    const struct {
        std::string bytes;
        MarkupEncoding encoding;
        bool ok;
    } cases[] = {
        {"\xEF\xBB\xBF<a t=\"\xE5\xAE\x89\"/>", MarkupEncoding::Utf8, true},
        {std::string("\xFF\xFE<\0a\0/\0>\0", 10), MarkupEncoding::Utf16, true},
        {std::string("\xFE\xFF\0<\0a\0/\0>", 10), MarkupEncoding::Utf16, true},
        {std::string("<\0a\0/\0>\0", 8), MarkupEncoding::Utf16, false},
        {"<a/>", MarkupEncoding::Ansi, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.encoding));
        CMarkupDocument document;
        EXPECT_EQ(document.LoadFromMemory(c.bytes.data(), c.bytes.size(), c.encoding), c.ok);
        if (c.ok) {
            EXPECT_EQ(document.GetRoot().GetName(), L"a");
        }
    }
    CMarkupDocument utf8;
    ASSERT_TRUE(utf8.LoadFromMemory(cases[0].bytes.data(), cases[0].bytes.size(), MarkupEncoding::Utf8));
    EXPECT_EQ(utf8.GetRoot().FindAttribute(L"t").value_or(L""), L"安");
}

}  // namespace
