#include "app/install_state/install_state.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <clocale>
#include <cstdlib>
#include <cwchar>

#include "utils/folders.h"
#include "utils/guid.h"
#include "utils/registry.h"

namespace {

using namespace InstallStateFiles;

constexpr wchar_t kInstallSection[] = L"Install";

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty() || folder.ends_with(L'\\')) return folder + name;
    return folder + L'\\' + name;
}

// The installer's own file name with its extension, whatever the user renamed it to.
std::wstring OwnFileName() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    wchar_t name[_MAX_FNAME] = {};
    wchar_t extension[_MAX_EXT] = {};
    if (_wsplitpath_s(path, nullptr, 0, nullptr, 0, name, _MAX_FNAME, extension, _MAX_EXT) != 0) return {};
    return std::wstring(name) + extension;
}

std::wstring LocalTimeStamp() {
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    wchar_t text[64] = {};
    std::swprintf(text, 64, L"%d-%02d-%02d %02d:%02d:%02d", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    return text;
}

}  // namespace

void ReadInstallState(InstallState& state) {
    state.InstalledPath.clear();
    state.OldUninstallerPath.clear();
    Utils::ReadRegString(kInstallPathValue, state.InstalledPath);
    Utils::ReadRegString(kUninstallEntryValue, state.OldUninstallerPath);
    if (state.OldUninstallerPath.empty() && !state.InstalledPath.empty()) {
        state.OldUninstallerPath = JoinPath(state.InstalledPath, kUninstallEntryName);
    }
}

void WriteInstallState(InstallState& state) {
    Utils::WriteRegString(kInstallPathValue, state.InstallDir);
    if (state.UninstEpPath.empty()) state.UninstEpPath = JoinPath(state.InstallDir, kUninstallEntryName);
    if (Utils::IsExistingFile(state.UninstEpPath)) Utils::WriteRegString(kUninstallEntryValue, state.UninstEpPath);
}

std::wstring AnalyticsDataFolder() {
    std::wstring base;
    wchar_t appData[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        base.assign(appData, length);
    } else {
        wchar_t documents[MAX_PATH] = {};
        if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_DOCUMENTS, nullptr, 0, documents))) base = documents;
    }
    return JoinPath(JoinPath(base, L"QuillmarkData"), L"Vantorel");
}

void WriteSettingsIni(const InstallState& state) {
    const std::wstring setIni = JoinPath(state.InstallDir, kSettingsIniName);
    const std::wstring ownName = OwnFileName();
    // The text runtime works in UTF-8 from here on, for the rest of the run.
    std::setlocale(LC_ALL, "en_GB.UTF-8");
    ::WritePrivateProfileStringW(kInstallSection, L"APPStore", ownName.c_str(), setIni.c_str());
    ::WritePrivateProfileStringW(kInstallSection, L"AppName", L"Vantorel", setIni.c_str());
    ::WritePrivateProfileStringW(kInstallSection, L"DeviceID", Utils::NewGuidString().c_str(), setIni.c_str());

    const std::wstring dataFolder = AnalyticsDataFolder();
    if (!Utils::CreateDirectories(dataFolder)) return;
    const std::wstring analyticsIni = JoinPath(dataFolder, kAnalyticsIniName);
    ::WritePrivateProfileStringW(kInstallSection, L"QMUsageAnalyticsIni", analyticsIni.c_str(), setIni.c_str());
    ::WritePrivateProfileStringW(L"Init", L"UpdateTime", LocalTimeStamp().c_str(), analyticsIni.c_str());
}

bool ShouldKeepOldVersion(const InstallState& state, const std::wstring& newInstallDir) {
    wchar_t relative[MAX_PATH] = {};
    if (!::PathRelativePathToW(relative, state.InstalledPath.c_str(), FILE_ATTRIBUTE_DIRECTORY,
                               newInstallDir.c_str(), FILE_ATTRIBUTE_DIRECTORY) ||
        std::wcscmp(relative, L".") != 0) {
        return false;
    }
    wchar_t isOverride[20] = {};
    ::GetPrivateProfileStringW(L"Uninstall", L"IsOverride", L"true", isOverride, 20,
                               JoinPath(newInstallDir, kSettingsIniName).c_str());
    return std::wcscmp(isOverride, L"false") == 0;
}

std::wstring PackageTextAsPath(const std::wstring& text) {
    return text.ends_with(L'\r') ? text.substr(0, text.size() - 1) : text;
}
