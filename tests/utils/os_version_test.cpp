#include <gtest/gtest.h>

#include "utils/os_version.h"

namespace {

struct VersionCase {
    uint32_t major, minor, build;
    bool serverR2;
    const wchar_t* name;
};

TEST(OsVersionName, EveryRowOfTheTable) {
    const VersionCase cases[] = {
        {0, 0, 0, false, L"XP-"},      {4, 90, 3000, false, L"XP-"},
        {5, 0, 2195, false, L"2K"},    {5, 1, 2600, false, L"XP"},
        {5, 2, 3790, false, L"Server 2003"}, {5, 2, 3790, true, L"Server 2003 R2"},
        {5, 3, 0, false, L"XP+"},      {5, 9, 0, true, L"XP+"},
        {6, 0, 6002, false, L"Vista"}, {6, 1, 7601, false, L"7"},
        {6, 2, 9200, false, L"8"},     {6, 3, 9600, false, L"8.1"},
        {6, 4, 0, false, L"8.1+"},     {10, 0, 19045, false, L"10"},
        {10, 0, 22631, false, L"10"},  {10, 1, 0, false, L"10+"},
        {7, 2, 100, false, L"7.2.100"}, {8, 0, 0, false, L"8.0.0"},
        {9, 1, 65535, false, L"9.1.65535"}, {11, 0, 26100, false, L"11.0.26100"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.major << "." << c.minor << "." << c.build);
        EXPECT_EQ(Utils::OsVersionNameFor({c.major, c.minor, c.build, c.serverR2}), c.name);
    }
}

TEST(OsVersionName, RunningSystemIsNamed) {
    const auto [family, name] = Utils::GetOsVersionName();
    EXPECT_EQ(family, L"Windows");
    const Utils::NtVersionNumbers numbers = Utils::GetNtVersionNumbers();
    EXPECT_GE(numbers.major, 5u);
    EXPECT_LE(numbers.build, 0xFFFFu);
    EXPECT_EQ(name, Utils::OsVersionNameFor(numbers));
}

}  // namespace
