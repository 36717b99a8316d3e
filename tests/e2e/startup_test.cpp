// Start-up of the real installer: what it loads before anything else can plant a DLL.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <string>

#include "tests/support/test_files.h"
#include "tests/support/test_processes.h"

namespace {

std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

// Module name -> full path, of every module loaded in the process.
std::map<std::wstring, std::wstring> LoadedModules(DWORD processId) {
    std::map<std::wstring, std::wstring> modules;
    Utils::FileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId));
    if (!snapshot) return modules;
    MODULEENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Module32FirstW(snapshot.Get(), &entry); more;
         more = ::Module32NextW(snapshot.Get(), &entry)) {
        modules[Lower(entry.szModule)] = Lower(entry.szExePath);
    }
    return modules;
}

TEST(Startup, SystemLibrariesArePreloadedFromTheSystemFolder) {
    auto installer = TestSupport::StartProcess(
        TestSupport::Quoted((TestSupport::BinFolder() / L"VantorelInstaller.exe").wstring()));
    ASSERT_TRUE(installer);
    const HWND window = TestSupport::WaitForWindow(installer->processId, L"Vantorel", 20000);
    ASSERT_NE(window, nullptr);

    wchar_t systemFolder[MAX_PATH] = {};
    ::GetSystemDirectoryW(systemFolder, MAX_PATH);
    const auto modules = LoadedModules(installer->processId);
    // The ones this Wine provides; ws2help.dll is absent here and must simply be skipped.
    for (const wchar_t* name : {L"ieframe.dll", L"version.dll", L"sxs.dll", L"dwmapi.dll",
                                L"msimg32.dll", L"d3d8.dll", L"ws2_32.dll", L"windowscodecs.dll"}) {
        SCOPED_TRACE(testing::Message() << std::string(name, name + wcslen(name)));
        const auto found = modules.find(name);
        ASSERT_TRUE(found != modules.end()) << "not loaded";
        EXPECT_EQ(found->second, Lower(std::wstring(systemFolder) + L"\\" + name));
    }

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(TestSupport::WaitForExit(*installer, 20000), std::optional<DWORD>(0));
}

}  // namespace
