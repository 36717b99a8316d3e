#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <string>

#include "app/install_state/install_state.h"
#include "tests/support/test_files.h"
#include "tests/support/test_processes.h"
#include "utils/child_process.h"
#include "utils/registry.h"

namespace {

struct StoredValue {
    DWORD type = 0;
    std::wstring data;  // every stored byte, a terminating NUL included when there is one
};

// Reads a value back straight through the registry API, as any other program would.
std::optional<StoredValue> QueryValue(const wchar_t* name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, Utils::kProductRegistryKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    StoredValue value;
    DWORD size = 0;
    LSTATUS status = ::RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        value.data.resize(size / sizeof(wchar_t));
        status = ::RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value.data.data()), &size);
    }
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS) return std::nullopt;
    return value;
}

// Stores exactly these characters, with or without a terminating NUL. The system adds
// a terminator itself when the character after the counted data is one, so data
// meant to be unterminated is handed over with something else behind it.
void StoreValue(const wchar_t* name, const std::wstring& data, bool withTerminator) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, Utils::kProductRegistryKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring buffer = withTerminator ? data + L'\0' : data + L"XYZ";
    const DWORD bytes = static_cast<DWORD>((data.size() + (withTerminator ? 1 : 0)) * sizeof(wchar_t));
    EXPECT_EQ(::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(buffer.c_str()), bytes),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
    const auto stored = QueryValue(name);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->data, withTerminator ? data + L'\0' : data);
}

// The stored text without the one terminating NUL the system may have added.
std::wstring StoredText(const StoredValue& value) {
    std::wstring text = value.data;
    if (text.ends_with(L'\0')) text.pop_back();
    return text;
}

// `reg query` as run inside the prefix: the output of Windows' own registry tool.
std::string RegQuery(const std::wstring& valueName) {
    Utils::ChildProcess child;
    child.Launch(L"reg.exe query \"HKCU\\Software\\QuillmarkSoft\\Vantorel\" /v " + valueName);
    std::string output;
    char buffer[512];
    DWORD read = 0;
    while (::ReadFile(child.OutputReadEnd(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        output.append(buffer, read);
    }
    ::WaitForSingleObject(child.Process(), 30000);
    return output;
}

std::wstring IniValue(const std::filesystem::path& file, const wchar_t* section, const wchar_t* key) {
    wchar_t value[1024] = {};
    ::GetPrivateProfileStringW(section, key, L"(missing)", value, 1024, file.c_str());
    return value;
}

// Every test starts and ends without the product's key, whatever an earlier run left.
class InstallStateTest : public ::testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, Utils::kProductRegistryKey); }
    void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, Utils::kProductRegistryKey); }

    TestSupport::TempFolder folder_;
};

TEST_F(InstallStateTest, ReadsThePreviousInstall) {
    struct Case {
        const char* name;
        const wchar_t* installPath;  // null: not stored
        const wchar_t* uninstallEntry;
        bool withTerminator;
        std::wstring expectedPath;
        std::wstring expectedRemover;
    };
    const Case cases[] = {
        {"nothing recorded", nullptr, nullptr, false, L"", L""},
        {"folder only", L"C:\\Old Vantorel", nullptr, false, L"C:\\Old Vantorel", L"C:\\Old Vantorel\\uninst.ep"},
        {"folder and remover, no terminators", L"C:\\V", L"D:\\V\\uninst.ep", false, L"C:\\V", L"D:\\V\\uninst.ep"},
        {"folder and remover, terminated", L"C:\\V", L"D:\\V\\uninst.ep", true, L"C:\\V", L"D:\\V\\uninst.ep"},
        {"Chinese folder", L"D:\\软件\\Vantorel", nullptr, true, L"D:\\软件\\Vantorel", L"D:\\软件\\Vantorel\\uninst.ep"},
        {"remover only", nullptr, L"C:\\V\\uninst.ep", false, L"", L"C:\\V\\uninst.ep"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Utils::kProductRegistryKey);
        if (c.installPath) StoreValue(L"InstallPath", c.installPath, c.withTerminator);
        if (c.uninstallEntry) StoreValue(L"UnInstallEp", c.uninstallEntry, c.withTerminator);
        InstallState state{L"stale", L"stale", L"", L""};
        ReadInstallState(state);
        EXPECT_EQ(state.InstalledPath, c.expectedPath);
        EXPECT_EQ(state.OldUninstallerPath, c.expectedRemover);
    }
}

TEST_F(InstallStateTest, RecordsTheFinishedInstallWithoutTerminators) {
    const std::wstring installDir = (folder_.Path() / L"Vantorel 安装").wstring();
    std::filesystem::create_directories(installDir);
    folder_.WriteFile(L"Vantorel 安装\\uninst.ep", "entry");

    InstallState state;
    state.InstallDir = installDir;
    WriteInstallState(state);
    EXPECT_EQ(state.UninstEpPath, installDir + L"\\uninst.ep");

    const auto path = QueryValue(L"InstallPath");
    const auto entry = QueryValue(L"UnInstallEp");
    ASSERT_TRUE(path && entry);
    EXPECT_EQ(path->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(StoredText(*path), installDir);
    EXPECT_EQ(entry->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(StoredText(*entry), installDir + L"\\uninst.ep");

    InstallState next;
    ReadInstallState(next);
    EXPECT_EQ(next.InstalledPath, installDir);
    EXPECT_EQ(next.OldUninstallerPath, installDir + L"\\uninst.ep");
}

TEST_F(InstallStateTest, WindowsOwnRegistryToolReadsTheValues) {
    const std::wstring installDir = (folder_.Path() / L"RegQuery").wstring();
    InstallState state;
    state.InstallDir = installDir;
    WriteInstallState(state);
    const std::string output = RegQuery(L"InstallPath");
    std::string expected = "InstallPath    REG_SZ    ";
    for (const wchar_t c : installDir) expected += static_cast<char>(c);  // the temporary path is ASCII
    EXPECT_NE(output.find(expected + "\r\n"), std::string::npos) << output;
}

TEST_F(InstallStateTest, RecordsTheUninstallEntryOnlyWhenItExists) {
    struct Case {
        const char* name;
        std::wstring reported;  // the package's "UninstEp=", "" when it said nothing
        bool createDefault;
        bool createReported;
        std::optional<std::wstring> recorded;
    };
    const std::wstring installDir = folder_.Path().wstring();
    const std::wstring reported = (folder_.Path() / L"bin" / L"remove.ep").wstring();
    const Case cases[] = {
        {"default missing", L"", false, false, std::nullopt},
        {"reported path exists", reported, false, true, reported},
        {"reported path missing, default exists", reported, true, false, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, Utils::kProductRegistryKey);
        std::filesystem::remove_all(folder_.Path() / L"bin");
        std::filesystem::remove(folder_.Path() / L"uninst.ep");
        if (c.createDefault) folder_.WriteFile(L"uninst.ep", "entry");
        if (c.createReported) {
            std::filesystem::create_directories(folder_.Path() / L"bin");
            folder_.WriteFile(L"bin\\remove.ep", "entry");
        }
        InstallState state;
        state.InstallDir = installDir;
        state.UninstEpPath = c.reported;
        WriteInstallState(state);
        ASSERT_TRUE(QueryValue(L"InstallPath"));
        const auto entry = QueryValue(L"UnInstallEp");
        EXPECT_EQ(entry ? std::optional(StoredText(*entry)) : std::nullopt, c.recorded);
    }
}

class SettingsIniTest : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t appData[MAX_PATH] = {};
        const DWORD length = ::GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
        savedAppData_ = std::wstring(appData, length);
    }
    void TearDown() override { ::SetEnvironmentVariableW(L"APPDATA", savedAppData_.c_str()); }

    TestSupport::TempFolder folder_;
    std::wstring savedAppData_;
};

TEST_F(SettingsIniTest, WritesTheProductSettingsAndTheAnalyticsStamp) {
    const auto appData = folder_.Path() / L"Roaming";
    ::SetEnvironmentVariableW(L"APPDATA", appData.c_str());
    InstallState state;
    state.InstallDir = folder_.Path().wstring();
    WriteSettingsIni(state);

    const auto setIni = folder_.Path() / L"set.ini";
    const auto analyticsIni = appData / L"QuillmarkData" / L"Vantorel" / L"QMUsageAnalytics.ini";
    EXPECT_EQ(IniValue(setIni, L"Install", L"APPStore"), L"install_state_tests.exe");
    EXPECT_EQ(IniValue(setIni, L"Install", L"AppName"), L"Vantorel");
    EXPECT_EQ(IniValue(setIni, L"Install", L"QMUsageAnalyticsIni"), analyticsIni.wstring());
    const std::wstring firstId = IniValue(setIni, L"Install", L"DeviceID");
    EXPECT_TRUE(std::regex_match(firstId, std::wregex(L"[0-9A-F]{12}[0-9a-f]{4}[0-9A-F]{16}"))) << firstId;
    EXPECT_TRUE(std::regex_match(IniValue(analyticsIni, L"Init", L"UpdateTime"),
                                 std::wregex(L"\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}")));

    WriteSettingsIni(state);
    EXPECT_NE(IniValue(setIni, L"Install", L"DeviceID"), firstId) << "every write brings a new device id";
}

TEST_F(SettingsIniTest, AnUncreatableDataFolderSkipsOnlyTheAnalyticsPart) {
    // A file where the data folder's parent should be: the folder cannot be made.
    const auto blocked = folder_.WriteFile(L"Roaming", "a file, not a folder");
    ::SetEnvironmentVariableW(L"APPDATA", blocked.c_str());
    std::filesystem::create_directories(folder_.Path() / L"install");
    InstallState state;
    state.InstallDir = (folder_.Path() / L"install").wstring();
    WriteSettingsIni(state);

    const auto setIni = folder_.Path() / L"install" / L"set.ini";
    EXPECT_EQ(IniValue(setIni, L"Install", L"AppName"), L"Vantorel");
    EXPECT_EQ(IniValue(setIni, L"Install", L"DeviceID").size(), 32u);
    EXPECT_EQ(IniValue(setIni, L"Install", L"QMUsageAnalyticsIni"), L"(missing)");
}

TEST(ShouldKeepOldVersion, OnlyTheSameFolderAskingForIt) {
    TestSupport::TempFolder folder;
    const std::wstring previous = (folder.Path() / L"Vantorel").wstring();
    const std::wstring other = (folder.Path() / L"Other").wstring();
    for (const auto& dir : {previous, other}) std::filesystem::create_directories(dir);
    struct Case {
        const char* name;
        std::wstring installedPath;
        std::wstring newFolder;
        const char* setIni;  // null: no file
        bool keep;
    };
    const Case cases[] = {
        {"same folder, IsOverride false", previous, previous, "[Uninstall]\r\nIsOverride=false\r\n", true},
        {"same folder, capital F", previous, previous, "[Uninstall]\r\nIsOverride=False\r\n", false},
        {"same folder, IsOverride true", previous, previous, "[Uninstall]\r\nIsOverride=true\r\n", false},
        {"same folder, no set.ini", previous, previous, nullptr, false},
        {"same folder, key in another section", previous, previous, "[Install]\r\nIsOverride=false\r\n", false},
        {"another folder asking for it", previous, other, "[Uninstall]\r\nIsOverride=false\r\n", false},
        {"a sub-folder of the previous one", previous, previous + L"\\sub", "[Uninstall]\r\nIsOverride=false\r\n",
         false},
        {"no previous install", L"", previous, "[Uninstall]\r\nIsOverride=false\r\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::create_directories(c.newFolder);
        const auto setIni = std::filesystem::path(c.newFolder) / L"set.ini";
        std::filesystem::remove(setIni);
        if (c.setIni) std::ofstream(setIni, std::ios::binary) << c.setIni;
        InstallState state;
        state.InstalledPath = c.installedPath;
        EXPECT_EQ(ShouldKeepOldVersion(state, c.newFolder), c.keep);
    }
}

TEST(PackageTextAsPath, DropsOneTrailingCarriageReturn) {
    EXPECT_EQ(PackageTextAsPath(L"C:\\V\r"), L"C:\\V");
    EXPECT_EQ(PackageTextAsPath(L"C:\\V\r\r"), L"C:\\V\r");
    EXPECT_EQ(PackageTextAsPath(L"https://v.com/a"), L"https://v.com/a");
    EXPECT_EQ(PackageTextAsPath(L""), L"");
}

}  // namespace
