#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "utils/code_page.h"
#include "utils/guid.h"
#include "utils/guid_text.h"
#include "utils/text_helpers.h"
#include "utils/url_text.h"

namespace {

TEST(UrlEncode, FormEncodesTheUtf8Bytes) {
    struct Case {
        const wchar_t* text;
        const wchar_t* encoded;
    };
    const Case cases[] = {
        {L"a b", L"a+b"},
        {L"http://h:80/p?a=1&b=2#f", L"http://h:80/p?a=1&b=2#f"},  // reserved characters stay
        {L"100%~!", L"100%~!"},
        {L"中", L"%E4%B8%AD"},
        {L"é\t\r\n", L"%C3%A9%09%0D%0A"},
        {L"\x7f", L"%7F"},
        {L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(Utils::UrlEncode(c.text), c.encoded);
    }
}

TEST(GetUrlMd5, TakesTheSegmentBeforeTheLastOne) {
    struct Case {
        const char* url;
        const char* expected;
    };
    const Case cases[] = {
        {"http://h/pkg/0123456789abcdef0123456789abcdef/Vantorel.exe", "0123456789abcdef0123456789abcdef"},
        // A trailing "/" makes the last segment empty: the one before it is taken.
        {"http://h/pkg/abc/", "abc"},
        {"http://h/pkg/abc/x?y=/z", "x?y="},
        {"a/b", ""},
        {"/b", ""},
        {"//", ""},
        {"nothing", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        EXPECT_EQ(Utils::GetUrlMd5(c.url), c.expected);
    }
}

TEST(ReplaceAll, ReplacesEveryOccurrence) {
    struct Case {
        const wchar_t* text;
        const wchar_t* from;
        const wchar_t* to;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"http://${ROUTE}/a/${ROUTE}/b", L"${ROUTE}", L"cdn1", L"http://cdn1/a/cdn1/b"},
        {L"no token", L"${ROUTE}", L"x", L"no token"},
        // Searching again from the start also finds what a replacement completes.
        {L"aab", L"ab", L"b", L"b"},
        {L"$${ROUTE}{ROUTE}}", L"${ROUTE}", L"", L"}"},
        // A replacement holding the token is done once, not forever.
        {L"x${ROUTE}y${ROUTE}", L"${ROUTE}", L"[${ROUTE}]", L"x[${ROUTE}]y[${ROUTE}]"},
        {L"abc", L"", L"x", L"abc"},
        {L"", L"a", L"b", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(Utils::ReplaceAll(c.text, c.from, c.to), c.expected);
    }
    EXPECT_EQ(Utils::ReplaceAll(std::string("a/b/c"), "/", "\\"), "a\\b\\c");
}

TEST(UnsignedToDecimal, PrintsTheWholeRange) {
    EXPECT_EQ(Utils::UnsignedToDecimal(0), L"0");
    EXPECT_EQ(Utils::UnsignedToDecimal(1073741824), L"1073741824");
    EXPECT_EQ(Utils::UnsignedToDecimal(4294967295u), L"4294967295");
    EXPECT_EQ(Utils::UnsignedToDecimal(18446744073709551615u), L"18446744073709551615");
}

TEST(CodePage, ConvertsBothWays) {
    struct Case {
        const char* label;
        std::wstring wide;
        std::string bytes;
        unsigned codePage;
    };
    const Case cases[] = {
        {"UTF-8", L"安装中 ok", "\xE5\xAE\x89\xE8\xA3\x85\xE4\xB8\xAD ok", Utils::kUtf8CodePage},
        {"GBK", L"安装中", "\xB0\xB2\xD7\xB0\xD6\xD0", 936},
        {"empty", L"", "", Utils::kUtf8CodePage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Utils::WideToMultiByte(c.wide, c.codePage), c.bytes);
        EXPECT_EQ(Utils::MultiByteToWide(c.bytes, c.codePage), c.wide);
    }
    // The ANSI code page is whatever the system uses; a round trip keeps ASCII.
    EXPECT_EQ(Utils::MultiByteToWide(Utils::WideToMultiByte(L"C:\\a b.exe", Utils::kAnsiCodePage),
                                     Utils::kAnsiCodePage),
              L"C:\\a b.exe");
    // Both sides stop at the first NUL.
    EXPECT_EQ(Utils::WideToMultiByte(std::wstring(L"ab\0cd", 5), Utils::kUtf8CodePage), "ab");
}

TEST(GuidText, ThirdGroupIsLowerCaseAndTheRestUpperCase) {
    const Utils::GuidFields guid{0xABCDEF01, 0x2A3B, 0xC4DE, {0xFA, 0x0B, 0x1C, 0x2D, 0x3E, 0x4F, 0x5A, 0x6B}};
    EXPECT_EQ(Utils::FormatGuidCompact(guid), L"ABCDEF012A3Bc4deFA0B1C2D3E4F5A6B");
    const Utils::GuidFields zero{0, 0, 0, {}};
    EXPECT_EQ(Utils::FormatGuidCompact(zero), std::wstring(32, L'0'));
}

TEST(NewGuidString, FreshCompactGuids) {
    const std::wregex compact(L"[0-9A-F]{8}[0-9A-F]{4}[0-9a-f]{4}[0-9A-F]{16}");
    const std::wstring first = Utils::NewGuidString();
    const std::wstring second = Utils::NewGuidString();
    EXPECT_TRUE(std::regex_match(first, compact));
    EXPECT_TRUE(std::regex_match(second, compact));
    EXPECT_NE(first, second);
}

}  // namespace
