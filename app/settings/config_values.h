#pragma once
// How settings texts become values: the conversion rules shared by the configuration
// file and the command line. No Windows calls here.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Settings {

// Decimal, leading whitespace and a sign allowed, stops at the first non-digit;
// no digits, or a value outside int32, gives 0.
int32_t ParseInteger(std::wstring_view text);

// The standard decimal text-to-double conversion; nothing when the text holds no
// number or the number is out of range for a double.
std::optional<double> ParseNumber(std::wstring_view text);

// True only for exactly "true".
bool ParseBoolean(std::wstring_view text);

// Replaces every "${ROUTE}" with the download route for the given Windows version name.
std::wstring ExpandRoute(std::wstring url, std::wstring_view osVersionName);

// Switches of the form -key=value (split at the first "="); "-key" alone and every
// other argument map to an empty value. The first occurrence of a key wins.
using SwitchMap = std::map<std::wstring, std::wstring>;
SwitchMap ParseSwitches(const std::vector<std::wstring>& arguments);

}  // namespace Settings
