#include "utils/os_version.h"

#include <windows.h>

#include "utils/unique_handle.h"

namespace Utils {

NtVersionNumbers GetNtVersionNumbers() {
    NtVersionNumbers version;
    ModuleHandle ntdll(::LoadLibraryA("ntdll.dll"));
    if (!ntdll) return version;
    using RtlGetNtVersionNumbersFn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
    auto getNumbers = reinterpret_cast<RtlGetNtVersionNumbersFn>(
        reinterpret_cast<void*>(::GetProcAddress(ntdll.Get(), "RtlGetNtVersionNumbers")));
    if (!getNumbers) return version;
    DWORD major = 0, minor = 0, build = 0;
    getNumbers(&major, &minor, &build);
    version.major = major;
    version.minor = minor;
    version.build = build & 0xFFFF;  // the high bits flag checked/free builds
    if (major == 5 && minor == 2) version.serverR2 = ::GetSystemMetrics(SM_SERVERR2) != 0;
    return version;
}

std::pair<std::wstring, std::wstring> GetOsVersionName() {
    return {L"Windows", OsVersionNameFor(GetNtVersionNumbers())};
}

}  // namespace Utils
