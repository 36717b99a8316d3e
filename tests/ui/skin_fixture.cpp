#include "tests/ui/skin_fixture.h"

#include <fstream>
#include <iterator>

#include "tests/support/test_files.h"
#include "ui/core/skin_resources.h"

namespace SkinTest {

std::filesystem::path FixtureFolder() {
    return TestSupport::BinFolder() / L"ui_fixtures";
}

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void SkinSettingsTest::SetUp() {
    SkinUI::SetArchiveFormat7z(true);
}

void SkinSettingsTest::TearDown() {
    SkinUI::SetArchive(L"", false);
    SkinUI::SetResourcePath(L"");
}

void SkinSettingsTest::UseMemoryArchive(const std::wstring& archiveFile) {
    const std::vector<uint8_t> bytes = ReadBytes(FixtureFolder() / archiveFile);
    ASSERT_FALSE(bytes.empty());
    SkinUI::SetArchive(L"", false);
    SkinUI::SetArchiveMemory(bytes.data(), bytes.size());
}

void SkinSettingsTest::UseFolder() {
    SkinUI::SetArchive(L"", false);
    SkinUI::SetResourcePath((FixtureFolder() / L"skin").wstring());
}

}  // namespace SkinTest
