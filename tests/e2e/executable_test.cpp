// What a person downloads: one x64 GUI program carrying its manifest, icon and skin.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/test_files.h"
#include "utils/unique_handle.h"

namespace {

std::filesystem::path InstallerPath() { return TestSupport::BinFolder() / L"VantorelInstaller.exe"; }

TEST(InstallerExecutable, IsA64BitGuiProgram) {
    std::ifstream file(InstallerPath(), std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), sizeof(IMAGE_DOS_HEADER));
    IMAGE_DOS_HEADER dos;
    std::memcpy(&dos, bytes.data(), sizeof(dos));
    ASSERT_EQ(dos.e_magic, IMAGE_DOS_SIGNATURE);
    IMAGE_NT_HEADERS64 nt;
    ASSERT_LE(static_cast<size_t>(dos.e_lfanew) + sizeof(nt), bytes.size());
    std::memcpy(&nt, bytes.data() + dos.e_lfanew, sizeof(nt));
    EXPECT_EQ(nt.Signature, IMAGE_NT_SIGNATURE);
    EXPECT_EQ(nt.FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
    EXPECT_EQ(nt.OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR64_MAGIC);
    EXPECT_EQ(nt.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

class InstallerResources : public testing::Test {
protected:
    void SetUp() override {
        module_.Reset(::LoadLibraryExW(InstallerPath().c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        ASSERT_TRUE(module_);
    }
    std::string Resource(const wchar_t* type, const wchar_t* name) const {
        HRSRC found = ::FindResourceW(module_.Get(), name, type);
        if (!found) return {};
        HGLOBAL loaded = ::LoadResource(module_.Get(), found);
        const char* data = static_cast<const char*>(::LockResource(loaded));
        return std::string(data, ::SizeofResource(module_.Get(), found));
    }
    Utils::ModuleHandle module_;
};

TEST_F(InstallerResources, ManifestRequiresAdministratorRights) {
    const std::string manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEW(1));
    EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
}

TEST_F(InstallerResources, IconGroup145) {
    EXPECT_FALSE(Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(145)).empty());
}

TEST_F(InstallerResources, SkinIsA7zArchiveInZipres147) {
    const std::string skin = Resource(L"ZIPRES", MAKEINTRESOURCEW(147));
    ASSERT_GE(skin.size(), 32u);
    EXPECT_EQ(skin.substr(0, 6), std::string("7z\xBC\xAF\x27\x1C", 6));
}

}  // namespace
