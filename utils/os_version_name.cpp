#include "utils/os_version_name.h"

namespace Utils {

std::wstring OsVersionNameFor(const NtVersionNumbers& v) {
    switch (v.major) {
    case 5:
        if (v.minor == 0) return L"2K";
        if (v.minor == 1) return L"XP";
        if (v.minor == 2) return v.serverR2 ? L"Server 2003 R2" : L"Server 2003";
        return L"XP+";
    case 6:
        if (v.minor == 0) return L"Vista";
        if (v.minor == 1) return L"7";
        if (v.minor == 2) return L"8";
        if (v.minor == 3) return L"8.1";
        return L"8.1+";
    case 10:
        return v.minor == 0 ? L"10" : L"10+";
    default:
        if (v.major <= 4) return L"XP-";
        return std::to_wstring(v.major) + L"." + std::to_wstring(v.minor) + L"." +
               std::to_wstring(v.build);
    }
}

}  // namespace Utils
