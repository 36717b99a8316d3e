#include <gtest/gtest.h>

#include <string>

#include "ui/core/value_grammar.h"

namespace {

using namespace SkinUI;

std::string Narrow(std::wstring_view text) {
    return std::string(text.begin(), text.end());
}

TEST(ValueGrammar, Integers) {
    const struct {
        const wchar_t* text;
        int32_t value;
    } cases[] = {
        {L"12", 12},   {L"  -7", -7},   {L"+3", 3},   {L"42px", 42},  {L"px", 0},  {L"", 0},
        {L"0x10", 0},  {L"2147483647", 2147483647},   {L"-2147483648", -2147483647 - 1},
        // Absurd numbers saturate like wcstol instead of wrapping.
        {L"99999999999999999999", 2147483647},       {L"-99999999999999999999", -2147483647 - 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.text));
        EXPECT_EQ(ParseInteger(c.text), c.value);
    }
}

TEST(ValueGrammar, PairsAndRectanglesSkipExactlyOneSeparator) {
    const struct {
        const wchar_t* text;
        IntRect rect;
    } cases[] = {
        {L"1,2,3,4", {1, 2, 3, 4}},
        {L"1;2;3;4", {1, 2, 3, 4}},
        {L"1|2x3 4", {1, 2, 3, 4}},
        {L"1, 2, 3, 4", {1, 2, 3, 4}},  // the blank after the comma is skipped by the number
        {L"0,0,10,0", {0, 0, 10, 0}},
        {L"-5,-6,7,8", {-5, -6, 7, 8}},
        {L"1,2", {1, 2, 0, 0}},          // missing numbers read 0, nothing is read past the end
        {L"1", {1, 0, 0, 0}},
        {L"", {0, 0, 0, 0}},
        {L"1,,3,4", {1, 0, 3, 4}},       // an empty number reads 0 and the next skip eats the second comma
        {L"a,b,c,d", {0, 0, 0, 0}},
        {L"1,,,", {1, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.text));
        EXPECT_EQ(ParseRect(c.text), c.rect);
        EXPECT_EQ(ParsePair(c.text), (IntPair{c.rect.left, c.rect.top}));
    }
}

TEST(ValueGrammar, ColoursAreArgbWithOptionalHashOrHexPrefix) {
    const struct {
        const wchar_t* text;
        uint32_t argb;
    } cases[] = {
        {L"#FF1890FF", 0xFF1890FF}, {L"0xFF1890FF", 0xFF1890FF}, {L"FF1890FF", 0xFF1890FF},
        {L"#ff1675fe", 0xFF1675FE}, {L"#FF0000", 0x00FF0000},    {L"#0xFF", 0xFF},
        {L"", 0},                   {L"#", 0},                   {L"#zz", 0},
        {L"0x", 0},                 {L"#12345678ab", 0xFFFFFFFF}, {L"-1", 0xFFFFFFFF},
        {L"##FF", 0},               {L" FF", 0xFF},              {L"FFgg", 0xFF},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.text));
        EXPECT_EQ(ParseColor(c.text), c.argb);
    }
}

TEST(ValueGrammar, Booleans) {
    EXPECT_TRUE(ParseControlBoolean(L"true"));
    EXPECT_TRUE(ParseWindowBoolean(L"true"));
    for (const wchar_t* text : {L"True", L"TRUE", L"tRuE"}) {
        SCOPED_TRACE(Narrow(text));
        EXPECT_FALSE(ParseControlBoolean(text));
        EXPECT_TRUE(ParseWindowBoolean(text));
    }
    for (const wchar_t* text : {L"", L"1", L"yes", L" true", L"true ", L"truex"}) {
        SCOPED_TRACE(Narrow(text));
        EXPECT_FALSE(ParseControlBoolean(text));
        EXPECT_FALSE(ParseWindowBoolean(text));
    }
}

TEST(ValueGrammar, AttributeLists) {
    using Items = std::vector<std::pair<std::wstring, std::wstring>>;
    const struct {
        const wchar_t* text;
        Items items;
    } cases[] = {
        {L"textcolor=\"#FF000000\" font=\"1\"", {{L"textcolor", L"#FF000000"}, {L"font", L"1"}}},
        {L"a=\"1\" b=\"\" c=\"x y\"", {{L"a", L"1"}, {L"b", L""}, {L"c", L"x y"}}},
        {L"a=\"1\"  b=\"2\"", {{L"a", L"1"}, {L" b", L"2"}}},  // one blank is the separator
        {L"a=\"1\",b=\"2\"", {{L"a", L"1"}}},                  // anything else ends the list
        {L"a= \"1\"", {}},
        {L"a=\"1", {}},
        {L"a", {}},
        {L"", {}},
        {L"a=\"1\" ", {{L"a", L"1"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.text));
        EXPECT_EQ(ParseAttributeList(c.text), c.items);
    }
}

TEST(ValueGrammar, TextReferencesUseRegisteredStringsOnly) {
    const StringLookup lookup = [](int32_t id) -> std::optional<std::wstring> {
        if (id == 1) return L"安装";
        if (id == 20) return L"";
        return std::nullopt;
    };
    const struct {
        const wchar_t* text;
        const wchar_t* result;
    } cases[] = {
        {L"%{1}", L"安装"},           {L"a%{1}b%{1}c", L"a安装b安装c"}, {L"%{20}!", L"!"},
        {L"%{2}", L"%{2}"},           {L"%{}", L"%{}"},                 {L"%{1", L"%{1"},
        {L"%{x}", L"%{x}"},           {L"%%{1}", L"%安装"},             {L"100%", L"100%"},
        {L"%{99999999999}", L"%{99999999999}"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Narrow(c.text));
        EXPECT_EQ(SubstituteTextReferences(c.text, lookup), c.result);
    }
    EXPECT_EQ(SubstituteTextReferences(L"%{1}", nullptr), L"%{1}");
}

}  // namespace
