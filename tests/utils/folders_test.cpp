#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "tests/support/test_files.h"
#include "utils/folders.h"

namespace {

namespace fs = std::filesystem;

// Points the system temporary path somewhere else for one test, then puts it back.
class TemporaryPathOverride {
public:
    explicit TemporaryPathOverride(const std::wstring& folder) {
        wchar_t old[32767];
        const DWORD length = ::GetEnvironmentVariableW(L"TMP", old, 32767);
        if (length > 0 && length < 32767) saved_ = std::wstring(old, length);
        ::SetEnvironmentVariableW(L"TMP", folder.c_str());
    }
    ~TemporaryPathOverride() { ::SetEnvironmentVariableW(L"TMP", saved_ ? saved_->c_str() : nullptr); }

private:
    std::optional<std::wstring> saved_;
};

const wchar_t kTempFolderName[] = L"~QuillmarkTemp.92482B06FB471E17";

TEST(GetTempFolder, CreatesThePrivateFolderOnceAndEndsWithABackslash) {
    TestSupport::TempFolder base;
    TemporaryPathOverride tmp(base.Path().wstring() + L"\\");
    const std::wstring expected = base.Path().wstring() + L"\\" + kTempFolderName + L"\\";

    EXPECT_EQ(Utils::GetTempFolder(), expected);
    EXPECT_TRUE(fs::is_directory(expected));
    std::ofstream(fs::path(expected) / L"kept.txt") << "x";
    EXPECT_EQ(Utils::GetTempFolder(), expected) << "an existing folder is reused";
    EXPECT_TRUE(fs::exists(fs::path(expected) / L"kept.txt"));
}

TEST(GetTempFolder, EmptyWhenTheFolderCannotBeMade) {
    TestSupport::TempFolder base;
    {
        SCOPED_TRACE("system temporary path missing: only one level is created");
        TemporaryPathOverride tmp(base.Path().wstring() + L"\\missing\\");
        EXPECT_EQ(Utils::GetTempFolder(), L"");
    }
    {
        SCOPED_TRACE("a file holds the name");
        base.WriteFile(kTempFolderName, "not a folder");
        TemporaryPathOverride tmp(base.Path().wstring() + L"\\");
        EXPECT_EQ(Utils::GetTempFolder(), L"");
    }
}

// A folder directly under the drive root, removed with its contents at scope end.
class DriveRootFolder {
public:
    DriveRootFolder() : path_(L"C:\\vantorel_dirs_" + std::to_wstring(::GetCurrentProcessId())) {}
    ~DriveRootFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

TEST(CreateDirectories, CreatesEveryMissingLevel) {
    DriveRootFolder root;
    TestSupport::TempFolder base;
    const std::wstring temp = base.Path().wstring();
    struct Case {
        const char* label;
        std::wstring path;
        std::wstring deepest;  // the folder that must exist afterwards
    };
    const Case cases[] = {
        {"three levels below a drive root", root.Path() + L"\\one\\two", root.Path() + L"\\one\\two"},
        {"trailing backslash", temp + L"\\a\\b\\c\\", temp + L"\\a\\b\\c"},
        {"everything already there", temp + L"\\a\\b", temp + L"\\a\\b"},
        {"drive alone", L"C:", L"C:\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_TRUE(Utils::CreateDirectories(c.path));
        EXPECT_TRUE(fs::is_directory(c.deepest));
    }
}

TEST(CreateDirectories, RefusesPathsItCannotOrMustNotCreate) {
    TestSupport::TempFolder base;
    const std::wstring temp = base.Path().wstring();
    base.WriteFile(L"file", "x");
    std::wstring tooLong = temp + L"\\first\\";
    tooLong.append(261 - tooLong.size(), L'n');
    ASSERT_EQ(tooLong.size(), 261u);
    struct Case {
        const char* label;
        std::wstring path;
        std::wstring mustNotExist;
    };
    const Case cases[] = {
        {"261 characters fail before anything is made", tooLong, temp + L"\\first"},
        // The slash is no separator here: "a/b" goes to the system as one name, whose
        // parent "a" nobody created.
        {"forward slash inside a name", temp + L"\\a/b\\c", temp + L"\\a"},
        {"network share", L"\\\\server\\share\\folder", L""},
        {"a file in the way", temp + L"\\file\\sub", temp + L"\\file\\sub"},
        {"empty path", L"", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_FALSE(Utils::CreateDirectories(c.path));
        if (!c.mustNotExist.empty()) {
            EXPECT_FALSE(fs::exists(c.mustNotExist));
        }
    }
}

}  // namespace
