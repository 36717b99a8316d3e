#pragma once
#include <string>

namespace Utils {

// A fresh GUID in the compact form of FormatGuidCompact; empty if none can be made.
std::wstring NewGuidString();

}  // namespace Utils
