#pragma once
#include <string>
#include <utility>

#include "utils/os_version_name.h"

namespace Utils {

// The running system's NT version, read from ntdll's RtlGetNtVersionNumbers (which,
// unlike GetVersionEx, is not bent by compatibility shims). All zero when unavailable.
NtVersionNumbers GetNtVersionNumbers();

// (family, version name); the family is always "Windows".
std::pair<std::wstring, std::wstring> GetOsVersionName();

}  // namespace Utils
