#include <gtest/gtest.h>

#include <string>

#include "ui/core/markup_document.h"

namespace {

using SkinUI::CMarkupDocument;
using SkinUI::MarkupNode;

// Compact rendering of a tree: name[attr=value ...]{children} for every top-level element.
std::wstring Describe(MarkupNode node) {
    std::wstring out;
    for (; node.IsValid(); node = node.GetSibling()) {
        if (!out.empty()) out += L' ';
        out += node.GetName();
        if (node.GetAttributeCount() > 0) {
            out += L'[';
            for (size_t i = 0; i < node.GetAttributeCount(); ++i) {
                if (i > 0) out += L' ';
                out.append(node.GetAttributeName(i)).append(L"=").append(node.GetAttributeValue(i));
            }
            out += L']';
        }
        if (node.HasChildren()) out.append(L"{").append(Describe(node.GetChild())).append(L"}");
    }
    return out;
}

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

TEST(MarkupDocument, WellFormedDocumentsGiveTheElementTree) {
    const struct {
        const wchar_t* markup;
        const wchar_t* tree;
    } cases[] = {
        {L"<Window/>", L"Window"},
        {L"<Window></Window>\n", L"Window"},
        {L"<Window size=\"600,400\"><Label name=\"a\"/><Button/></Window>",
         L"Window[size=600,400]{Label[name=a] Button}"},
        {L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<Window>\r\n  <VerticalLayout>\r\n"
         L"    <Control />\r\n  </VerticalLayout>\r\n</Window>",
         L"Window{VerticalLayout{Control}}"},
        // Comments between elements, and a comment around a whole element, which removes it.
        {L"<!-- head --><Window><!-- <Label name=\"gone\"/> --><Button/><!--x--></Window><!--tail-->",
         L"Window{Button}"},
        {L"<a x = \"1\"\ty=\"2\"\r\nz=\"\"/>", L"a[x=1 y=2 z=]"},
        {L"<a><b><c/></b><d/></a>", L"a{b{c} d}"},
        {L"<a></a ><b/>", L"a b"},
        {L"<ns:el_1 x:y=\"v\"/>", L"ns:el_1[x:y=v]"},
        {L"<a t=\"&amp;&lt;&gt;&quot;&apos;\"/>", L"a[t=&<>\"']"},
        {L"<a t=\"&copy; &amp &#65; R&amp;D\"/>", L"a[t=&copy; &amp &#65; R&D]"},
        {L"<a t=\"  spaced  \"/>", L"a[t=  spaced  ]"},
        {L"<a t=\"中文\"/>", L"a[t=中文]"},
        {L"", L""},
        {L"  \r\n ", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.markup));
        CMarkupDocument document;
        ASSERT_TRUE(document.LoadFromString(c.markup)) << Narrow(document.GetLastErrorMessage());
        EXPECT_EQ(Describe(document.GetRoot()), c.tree);
    }
}

TEST(MarkupDocument, MalformedDocumentsNameTheErrorAndWhereItIs) {
    const struct {
        const wchar_t* markup;
        const wchar_t* message;
        const wchar_t* location;
    } cases[] = {
        {L"hello", L"Expected start tag", L"hello"},
        {L"<a><b/>text</a>", L"Expected start tag", L"text</a>"},
        {L"<a><b/>", L"Expected start tag", L""},
        {L"< a/>", L"Error parsing element name", L" a/>"},
        {L"<a x=\"1\" / >", L"Expected start-tag closing", L"/ >"},
        {L"<a x=\"1\"", L"Error while parsing attributes", L""},
        {L"<a x \"1\"/>", L"Error while parsing attributes", L"\"1\"/>"},
        {L"<a x=1/>", L"Expected attribute value", L"1/>"},
        {L"<a x=\"1/>", L"Error while parsing attribute string", L"1/>"},
        {L"<a>text", L"Expected end-tag start", L"text"},
        {L"<a></b>", L"Unmatched closing tag", L"b>"},
        {L"<a></A>", L"Unmatched closing tag", L"A>"},
        {L"<a></ab>", L"Unmatched closing tag", L"b>"},
        {L"<a></a x>", L"Unmatched closing tag", L"x>"},
        {L"<a/></a>", L"Unmatched closing tag", L"</a>"},
        // The location is cut to 49 characters.
        {L"<a></b0123456789012345678901234567890123456789012345678901234567890>",
         L"Unmatched closing tag", L"b012345678901234567890123456789012345678901234567"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.markup));
        CMarkupDocument document;
        EXPECT_FALSE(document.LoadFromString(c.markup));
        EXPECT_EQ(document.GetLastErrorMessage(), c.message);
        EXPECT_EQ(document.GetLastErrorLocation(), c.location);
        EXPECT_FALSE(document.GetRoot().IsValid());
    }
}

TEST(MarkupDocument, OnlyTheFirst64AttributesAreKept) {
    std::wstring markup = L"<Label";
    for (int i = 0; i < 70; ++i) markup += L" a" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
    markup += L"/>";
    CMarkupDocument document;
    ASSERT_TRUE(document.LoadFromString(markup));
    const MarkupNode root = document.GetRoot();
    ASSERT_EQ(root.GetAttributeCount(), CMarkupDocument::kMaxAttributes);
    EXPECT_EQ(root.GetAttributeName(63), L"a63");
    EXPECT_EQ(root.FindAttribute(L"A63").value_or(L"?"), L"63");
    EXPECT_FALSE(root.FindAttribute(L"a64").has_value());
}

TEST(MarkupDocument, CursorNavigationAndText) {
    CMarkupDocument document;
    ASSERT_TRUE(document.LoadFromString(L"<a>one &amp; two<b/>\n<c>three</c></a>"));
    const MarkupNode a = document.GetRoot();
    EXPECT_EQ(a.GetText(), L"one & two");
    const MarkupNode b = a.GetChild();
    EXPECT_EQ(b.GetName(), L"b");
    EXPECT_EQ(b.GetParent().GetName(), L"a");
    const MarkupNode c = b.GetSibling();
    EXPECT_EQ(c.GetText(), L"three");
    EXPECT_FALSE(c.GetSibling().IsValid());
    EXPECT_FALSE(a.GetParent().IsValid());
    // An invalid cursor answers with empties instead of touching memory.
    const MarkupNode none = c.GetSibling();
    EXPECT_EQ(none.GetName(), L"");
    EXPECT_EQ(none.GetAttributeCount(), 0u);
    EXPECT_FALSE(none.GetChild().IsValid());
    EXPECT_EQ(a.GetAttributeName(5), L"");
}

TEST(MarkupDocument, DeepNestingDoesNotExhaustTheStack) {
    constexpr int kDepth = 200000;
    std::wstring markup;
    for (int i = 0; i < kDepth; ++i) markup += L"<a>";
    for (int i = 0; i < kDepth; ++i) markup += L"</a>";
    CMarkupDocument document;
    EXPECT_TRUE(document.LoadFromString(markup));
    markup.resize(markup.size() - 4);
    EXPECT_FALSE(document.LoadFromString(markup));
    EXPECT_EQ(document.GetLastErrorMessage(), L"Expected start tag");
}

TEST(MarkupDocument, ReloadingForgetsThePreviousDocumentAndError) {
    CMarkupDocument document;
    EXPECT_FALSE(document.LoadFromString(L"<a>"));
    ASSERT_TRUE(document.LoadFromString(L"<b/>"));
    EXPECT_EQ(document.GetRoot().GetName(), L"b");
    EXPECT_EQ(document.GetLastErrorMessage(), L"");
}

}  // namespace
