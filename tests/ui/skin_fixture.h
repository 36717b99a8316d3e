#pragma once
// The packed test skin (see fixtures/make_skin_fixture.py) and a guard that puts the
// process-wide skin settings back after each test.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace SkinTest {

std::filesystem::path FixtureFolder();
std::vector<uint8_t> ReadBytes(const std::filesystem::path& path);

class SkinSettingsTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Skin files come from the fixture archive, held in memory as the installer does.
    void UseMemoryArchive(const std::wstring& archiveFile = L"skin.7z");
    // Skin files come from the unpacked fixture folder.
    void UseFolder();
};

}  // namespace SkinTest
