#include "app/settings/installer_config.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cmath>
#include <limits>
#include <vector>

#include "app/settings/config_values.h"
#include "utils/os_version.h"

namespace Settings {
namespace {

constexpr wchar_t kSection[] = L"Install";

// Private-profile strings land in a MAX_PATH buffer: at most 259 characters survive.
std::wstring ReadString(const std::wstring& file, const wchar_t* key, const wchar_t* fallback) {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length =
        ::GetPrivateProfileStringW(kSection, key, fallback, buffer, MAX_PATH, file.c_str());
    return std::wstring(buffer, length);
}

void ReadConfigFile(InstallerConfig& config, const std::wstring& file) {
    config.DownloadUrl = ExpandRoute(ReadString(file, L"DownloadUrl", kDefaultDownloadUrl));
    config.DownloadType =
        static_cast<int32_t>(::GetPrivateProfileIntW(kSection, L"DownloadType", 1, file.c_str()));
    config.IsCheckNet = ParseBoolean(ReadString(file, L"IsCheckNet", L"true"));
    config.IsEnableAppUsage = ParseBoolean(ReadString(file, L"IsEnableAppUsage", L"true"));
    config.DlAppNameSuffix = ReadString(file, L"DlAppNameSuffix", L".downloader");
    config.DlAppVersion = ReadString(file, L"m_DlAppVersion", L"");
    config.DownloadScale = ParseNumber(ReadString(file, L"DownloadScale", L"0.7")).value_or(0.0);
    config.InstCmd = ReadString(file, L"InstCmd", L"");
}

std::vector<std::wstring> SplitCommandLine(const wchar_t* commandLine) {
    std::vector<std::wstring> arguments;
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(commandLine, &count);
    if (!argv) return arguments;
    arguments.assign(argv, argv + count);
    ::LocalFree(argv);
    return arguments;
}

}  // namespace

std::wstring ExpandRoute(const std::wstring& url) {
    if (url.find(L"${ROUTE}") == std::wstring::npos) return url;
    return ExpandRoute(url, Utils::GetOsVersionName().second);
}

std::wstring RunningModulePath() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, length < MAX_PATH ? length : MAX_PATH - 1);
}

InstallerConfig LoadInstallerConfig(const std::wstring& modulePath) {
    InstallerConfig config;
    config.DownloadUrl = ExpandRoute(config.DownloadUrl);
    config.ExeName = ::PathFindFileNameW(modulePath.c_str());

    std::wstring folder = modulePath;
    folder.resize(folder.size() - config.ExeName.size());
    if (folder.ends_with(L'\\')) folder.pop_back();
    const std::wstring file = folder + L"\\" + kConfigFileName;
    if (::PathFileExistsW(file.c_str())) ReadConfigFile(config, file);

    // Product name and version are constants of the build, whatever the file says.
    config.AppName = kAppName;
    config.AppVersion = kAppVersion;
    return config;
}

SwitchMap CommandLineSwitches(const wchar_t* commandLine) {
    return ParseSwitches(SplitCommandLine(commandLine));
}

void ApplyCommandLine(InstallerConfig& config, const wchar_t* commandLine) {
    const SwitchMap switches = CommandLineSwitches(commandLine);
    auto apply = [&switches](const wchar_t* key, auto&& assign) {
        if (auto found = switches.find(key); found != switches.end()) assign(found->second);
    };
    apply(L"-downloadurl", [&](const std::wstring& v) { config.DownloadUrl = ExpandRoute(v); });
    apply(L"-downloadtype", [&](const std::wstring& v) { config.DownloadType = ParseInteger(v); });
    apply(L"-downloadscale", [&](const std::wstring& v) {
        config.DownloadScale = ParseNumber(v).value_or(std::numeric_limits<double>::quiet_NaN());
    });
    apply(L"-ischecknet", [&](const std::wstring& v) { config.IsCheckNet = ParseBoolean(v); });
    apply(L"-isenableappusage",
          [&](const std::wstring& v) { config.IsEnableAppUsage = ParseBoolean(v); });
    apply(L"-dlappnamesuffix", [&](const std::wstring& v) { config.DlAppNameSuffix = v; });
    apply(L"-dlappversion", [&](const std::wstring& v) { config.DlAppVersion = v; });
    apply(L"-instcmd", [&](const std::wstring& v) { config.InstCmd = v; });
    apply(L"-language", [&](const std::wstring& v) { config.Language = ParseInteger(v); });
    apply(L"-insnew", [&](const std::wstring& v) { config.InsNew = ParseBoolean(v); });
}

}  // namespace Settings

InstallerConfig g_InstallerConfig = Settings::LoadInstallerConfig(Settings::RunningModulePath());
