#pragma once
// Names a Windows version from its NT version numbers; no Windows calls, so the whole
// table can be checked anywhere.
#include <cstdint>
#include <string>

namespace Utils {

struct NtVersionNumbers {
    uint32_t major = 0;
    uint32_t minor = 0;
    uint32_t build = 0;   // low 16 bits only
    bool serverR2 = false;  // GetSystemMetrics(SM_SERVERR2) != 0; only asked for 5.2
};

std::wstring OsVersionNameFor(const NtVersionNumbers& version);

}  // namespace Utils
