#pragma once
// The one settings record of an installer run: compiled defaults, then the
// configuration file beside the executable, then the command-line switches.
#include <cstdint>
#include <map>
#include <string>

namespace Settings {
inline constexpr wchar_t kAppName[] = L"Vantorel";
inline constexpr wchar_t kAppVersion[] = L"1.7.9";
inline constexpr wchar_t kDefaultDownloadUrl[] = L"https://download.vantorel.com/software/467";
inline constexpr wchar_t kConfigFileName[] = L"QuillmarkInstallerConfig.ini";
}  // namespace Settings

// Member initialisers are the compiled defaults.
struct InstallerConfig {
    std::wstring AppName = Settings::kAppName;
    std::wstring AppVersion = Settings::kAppVersion;
    std::wstring ExeName = L"NULL";
    std::wstring DlAppNameSuffix = L".downloader";
    std::wstring DlAppVersion;
    std::wstring InstCmd;
    std::wstring DownloadUrl = Settings::kDefaultDownloadUrl;  // before route expansion
    int32_t DownloadType = 1;
    bool IsCheckNet = false;
    bool IsEnableAppUsage = true;
    double DownloadScale = 0.7;
    bool CurlReady = true;
    std::wstring AbValue = L"IN";
    int32_t Language = -1;
    bool InsNew = false;
};

namespace Settings {

// Route expansion with the running system's version name.
std::wstring ExpandRoute(const std::wstring& url);

// Defaults, then the configuration file in the folder of modulePath when it exists.
// ExeName becomes the file name part of modulePath.
InstallerConfig LoadInstallerConfig(const std::wstring& modulePath);

// Applies the switches of a whole command line (program path first, Windows quoting).
void ApplyCommandLine(InstallerConfig& config, const wchar_t* commandLine);

// Every switch of a whole command line, split as ApplyCommandLine splits them.
std::map<std::wstring, std::wstring> CommandLineSwitches(const wchar_t* commandLine);

// Full path of the running executable, cut to MAX_PATH as the loader reports it.
std::wstring RunningModulePath();

}  // namespace Settings

// Built during static initialisation from the running executable's folder; the entry
// routine applies the switches. Read-only afterwards except CurlReady and Language.
extern InstallerConfig g_InstallerConfig;
