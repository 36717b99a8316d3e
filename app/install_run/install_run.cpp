#include "app/install_run/install_run.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdlib>

#include "app/settings/installer_config.h"
#include "pipeline/download_installer.h"
#include "pipeline/status_callback.h"
#include "utils/accounts.h"
#include "utils/folders.h"
#include "utils/hard_disk_manager.h"

namespace InstallRun {
namespace {

constexpr double kBytesPerGiB = 1024.0 * 1024.0 * 1024.0;

// folder + separator (unless it already ends in one) + name, as _wmakepath_s joins them.
std::wstring JoinFolder(const std::wstring& folder, const wchar_t* name) {
    wchar_t joined[MAX_PATH] = {};
    if (_wmakepath_s(joined, MAX_PATH, nullptr, folder.c_str(), name, nullptr) != 0) return {};
    return joined;
}

std::wstring ProgramFilesFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILESX86, nullptr, 0, folder))) return folder;
    if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, folder))) return folder;
    return {};
}

std::wstring EnvironmentVariable(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

// The package reports delays as numbers; anything outside uint32 is held at its ends
// (a converted double out of range would be undefined).
uint32_t ToDelay(double value) {
    if (!(value > 0.0)) return 0;
    if (value >= 4294967295.0) return 0xFFFFFFFF;
    return static_cast<uint32_t>(value);
}

int32_t ToStyle(double value) {
    if (!(value > -2147483648.0 && value < 2147483648.0)) return 0;
    return static_cast<int32_t>(value);
}

}  // namespace

AdminFlags QueryAdminFlags() {
    AdminFlags flags;
    std::wstring consoleUser;
    flags.consoleUserIsAdmin = Utils::GetConsoleUserName(consoleUser) && Utils::IsAccountAdmin(consoleUser);
    flags.processIsAdmin = Utils::IsUserAdmin();
    return flags;
}

std::wstring DefaultInstallDir(const InstallState& state, const AdminFlags& flags) {
    if (!state.InstalledPath.empty() && Utils::IsExistingFile(state.OldUninstallerPath)) return state.InstalledPath;
    std::wstring base;
    if (flags.consoleUserIsAdmin && flags.processIsAdmin) {
        const std::wstring appData = EnvironmentVariable(L"APPDATA");
        if (!appData.empty()) base = JoinFolder(appData, L"ostrel");
    }
    if (base.empty()) base = ProgramFilesFolder();
    return JoinFolder(base, Settings::kAppName);
}

Refusal CheckMachine(const std::wstring& folder, bool insNew) {
    if (!insNew && CDownloadInstaller::FindProcessByName(L"Vantorel_un_asa.exe") != 0) {
        return Refusal::RemoverRunning;
    }
    if (!insNew && CDownloadInstaller::FindProcessByName(L"Vantorel.exe") != 0) {
        return Refusal::ProductRunning;
    }
    if (!Utils::CreateDirectories(folder)) return Refusal::InvalidFolder;

    wchar_t drive[3] = {};
    _wsplitpath_s(folder.c_str(), drive, 3, nullptr, 0, nullptr, 0, nullptr, 0);
    Utils::HardDiskManager disk;
    disk.CheckFreeSpace(drive);  // a failed query leaves 0 bytes available
    if (static_cast<double>(disk.BytesAvailableToCaller()) / kBytesPerGiB < 1.0) {
        return Refusal::LowDiskSpace;
    }
    return Refusal::None;
}

std::wstring RemoverPathFor(const InstallState& state, const std::wstring& folder) {
    return ShouldKeepOldVersion(state, folder) ? std::wstring() : state.OldUninstallerPath;
}

void ConfigurePipeline(CDownloadInstaller& pipeline, const InstallState& state,
                       const std::wstring& folder, bool createDesktopShortcut,
                       bool createStartShortcut, const AdminFlags& flags,
                       const std::wstring& languageCode) {
    pipeline.SetParams(g_InstallerConfig.DownloadUrl, state.InstalledPath, RemoverPathFor(state, folder),
                       folder, createDesktopShortcut, createStartShortcut, flags.consoleUserIsAdmin,
                       flags.processIsAdmin, languageCode);
}

void RecordStatus(InstallState& state, PackageReport& report, int32_t code, double value,
                  const std::wstring& text) {
    switch (code) {
    case IST_CODE_START:
        WriteSettingsIni(state);
        break;
    case IST_CODE_INSTPATH:
        state.InstallDir = PackageTextAsPath(text);
        break;
    case IST_CODE_EXEPATH:
        report.exePath = PackageTextAsPath(text);
        break;
    case IST_CODE_UNINSTEP:
        state.UninstEpPath = PackageTextAsPath(text);
        break;
    case IST_CODE_STARTURL:
        report.startUrl = PackageTextAsPath(text);
        break;
    case IST_CODE_STARTUPSTYLE:
        report.startupStyle = ToStyle(value);
        break;
    case IST_CODE_TOPSHOWDETENTION:
        report.topShowDelayMs = ToDelay(value);
        break;
    case IST_CODE_FINISHCLOSEDETENTION:
        report.closeDelayMs = ToDelay(value);
        break;
    case INSTALL_SUCCESS:
        WriteInstallState(state);
        WriteSettingsIni(state);
        break;
    default:
        break;
    }
}

bool EndsAttemptInFailure(int32_t code) {
    return code == DL_CODE_FAIL || code == IST_CODE_FAIL || code == UNIST_CODE_FAIL ||
           code == UNIST_CODE_ERROR;
}

}  // namespace InstallRun
