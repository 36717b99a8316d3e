#include "app/settings/config_values.h"

#include <cerrno>
#include <cstdlib>
#include <cwchar>
#include <limits>

namespace Settings {

int32_t ParseInteger(std::wstring_view text) {
    const std::wstring terminated(text);
    errno = 0;
    const long long value = std::wcstoll(terminated.c_str(), nullptr, 10);
    if (errno == ERANGE || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max()) {
        return 0;
    }
    return static_cast<int32_t>(value);
}

std::optional<double> ParseNumber(std::wstring_view text) {
    const std::wstring terminated(text);
    wchar_t* end = nullptr;
    errno = 0;
    const double value = std::wcstod(terminated.c_str(), &end);
    if (end == terminated.c_str() || errno == ERANGE) return std::nullopt;
    return value;
}

bool ParseBoolean(std::wstring_view text) { return text == L"true"; }

std::wstring ExpandRoute(std::wstring url, std::wstring_view osVersionName) {
    static constexpr std::wstring_view kToken = L"${ROUTE}";
    if (url.find(kToken) == std::wstring::npos) return url;
    const std::wstring_view route = osVersionName.find(L"XP") != std::wstring_view::npos
                                        ? L"download_silent_xp"
                                        : L"download_silent";
    for (size_t at = url.find(kToken); at != std::wstring::npos; at = url.find(kToken)) {
        url.replace(at, kToken.size(), route);
    }
    return url;
}

SwitchMap ParseSwitches(const std::vector<std::wstring>& arguments) {
    SwitchMap switches;
    for (const std::wstring& argument : arguments) {
        const size_t equals = argument.find(L'=');
        if (!argument.starts_with(L'-') || equals == std::wstring::npos) {
            switches.emplace(argument, std::wstring());
        } else {
            switches.emplace(argument.substr(0, equals), argument.substr(equals + 1));
        }
    }
    return switches;
}

}  // namespace Settings
