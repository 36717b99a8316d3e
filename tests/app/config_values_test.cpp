#include <gtest/gtest.h>

#include <cmath>

#include "app/settings/config_values.h"

namespace {

using Settings::ParseInteger;
using Settings::ParseNumber;

TEST(ConfigValues, IntegerConversion) {
    const struct {
        const wchar_t* text;
        int32_t value;
    } cases[] = {
        {L"3", 3},           {L"  -2", -2},       {L"+7", 7},          {L"12abc", 12},
        {L"abc", 0},         {L"", 0},            {L"0x10", 0},        {L"2147483647", 2147483647},
        {L"-2147483648", -2147483647 - 1},
        // Out of range for the field: treated like text without a number, never fatal.
        {L"2147483648", 0},  {L"99999999999999999999999", 0},        {L"-99999999999", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "text of length " << wcslen(c.text));
        EXPECT_EQ(ParseInteger(c.text), c.value);
    }
}

TEST(ConfigValues, NumberConversion) {
    const struct {
        const wchar_t* text;
        std::optional<double> value;
    } cases[] = {
        {L"0.7", 0.7},  {L" 0.35", 0.35},  {L"1", 1.0},       {L"-0.5x", -0.5},
        {L"1e-1", 0.1}, {L"abc", std::nullopt}, {L"", std::nullopt}, {L".", std::nullopt},
        {L"1e999", std::nullopt}, {L"-1e999", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case with expected " << c.value.value_or(-12345));
        EXPECT_EQ(ParseNumber(c.text), c.value);
    }
}

TEST(ConfigValues, BooleanIsExactlyLowerCaseTrue) {
    EXPECT_TRUE(Settings::ParseBoolean(L"true"));
    for (const wchar_t* text : {L"True", L"TRUE", L"1", L"yes", L"", L" true", L"true "}) {
        EXPECT_FALSE(Settings::ParseBoolean(text));
    }
}

TEST(ConfigValues, RouteExpansion) {
    const struct {
        const wchar_t* url;
        const wchar_t* osName;
        const wchar_t* expanded;
    } cases[] = {
        {L"https://h/software/467", L"XP", L"https://h/software/467"},
        {L"https://h/${ROUTE}/467", L"10", L"https://h/download_silent/467"},
        {L"https://h/${ROUTE}/467", L"XP", L"https://h/download_silent_xp/467"},
        {L"https://h/${ROUTE}/467", L"XP-", L"https://h/download_silent_xp/467"},
        {L"https://h/${ROUTE}/467", L"XP+", L"https://h/download_silent_xp/467"},
        {L"https://h/${ROUTE}/467", L"Server 2003", L"https://h/download_silent/467"},
        {L"${ROUTE}/${ROUTE}", L"7", L"download_silent/download_silent"},
        {L"${ROUTE}${ROUTE}", L"XP", L"download_silent_xpdownload_silent_xp"},
        {L"${route}/${ROUTE", L"7", L"${route}/${ROUTE"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Settings::ExpandRoute(c.url, c.osName), c.expanded);
    }
}

TEST(ConfigValues, SwitchSplitting) {
    const Settings::SwitchMap switches = Settings::ParseSwitches(
        {L"C:\\x\\VantorelInstaller.exe", L"-downloadtype=3", L"-downloadtype=2", L"-insnew",
         L"-instcmd=/D=C:\\a b", L"-empty=", L"plain=value", L"-DownloadType=9"});
    const Settings::SwitchMap expected = {
        {L"C:\\x\\VantorelInstaller.exe", L""},
        {L"-downloadtype", L"3"},  // the first occurrence wins
        {L"-insnew", L""},
        {L"-instcmd", L"/D=C:\\a b"},  // split at the first "=" only
        {L"-empty", L""},
        {L"plain=value", L""},  // no leading "-": kept whole, never looked up
        {L"-DownloadType", L"9"},
    };
    EXPECT_EQ(switches, expected);
}

}  // namespace
