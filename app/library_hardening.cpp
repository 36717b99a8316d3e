#include "app/library_hardening.h"

#include <windows.h>

#include <string>

namespace App {

void HardenLibraryLoading() {
    wchar_t systemFolder[MAX_PATH] = {};
    ::GetSystemDirectoryW(systemFolder, MAX_PATH);

    // Absent before Windows 7 with KB2533623; those systems only get the steps below.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"),
                                                 "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);

    ::SetDllDirectoryW(L"");

    static constexpr const wchar_t* kPreloaded[] = {
        L"ieframe.dll", L"version.dll", L"sxs.dll",     L"ws2help.dll",      L"dwmapi.dll",
        L"msimg32.dll", L"d3d8.dll",    L"ws2_32.dll",  L"WindowsCodecs.dll",
    };
    for (const wchar_t* name : kPreloaded) {
        // Loaded for the rest of the process on purpose; a missing one is no problem.
        ::LoadLibraryW((std::wstring(systemFolder) + L"\\" + name).c_str());
    }
}

}  // namespace App
