#pragma once
// What the installer remembers of an install: the registry values of the finished
// install, the product's "set.ini", and the analytics settings it seeds. The window
// and the console runner both keep one InstallState and go through these functions.
#include <string>

struct InstallState {
    std::wstring InstalledPath;       // the previous install folder, from the registry
    std::wstring OldUninstallerPath;  // the previous version's remover, from the registry
    std::wstring InstallDir;          // the folder of the current install attempt
    std::wstring UninstEpPath;        // the uninstall entry file the package reported
};

namespace InstallStateFiles {
inline constexpr wchar_t kInstallPathValue[] = L"InstallPath";
inline constexpr wchar_t kUninstallEntryValue[] = L"UnInstallEp";
inline constexpr wchar_t kUninstallEntryName[] = L"uninst.ep";
inline constexpr wchar_t kSettingsIniName[] = L"set.ini";
inline constexpr wchar_t kAnalyticsIniName[] = L"QMUsageAnalytics.ini";
}  // namespace InstallStateFiles

// Fills InstalledPath and OldUninstallerPath from the registry; with a folder but no
// remover recorded, the remover is the folder's "uninst.ep". Missing values: empty.
void ReadInstallState(InstallState& state);

// Records the finished install in the registry. An empty UninstEpPath becomes
// InstallDir's "uninst.ep"; it is recorded only when that file exists.
void WriteInstallState(InstallState& state);

// Writes "set.ini" in InstallDir (installer name, product name, a fresh device id) and,
// when the analytics data folder exists or can be made, points it at the analytics
// settings file and stamps that file's "UpdateTime". Failures are ignored.
void WriteSettingsIni(const InstallState& state);

// True when the new folder is the previous install folder and its "set.ini" asks to
// keep the old version ("IsOverride" exactly "false"): then nothing is removed first.
bool ShouldKeepOldVersion(const InstallState& state, const std::wstring& newInstallDir);

// "APPDATA" (or, without it, the common documents folder) + "\QuillmarkData\Vantorel".
std::wstring AnalyticsDataFolder();

// The package ends its lines with CR LF and the runner keeps the CR in the texts it
// reports; a text used as a path or a URL loses that one trailing CR.
std::wstring PackageTextAsPath(const std::wstring& text);
