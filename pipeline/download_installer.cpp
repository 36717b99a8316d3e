#include "pipeline/download_installer.h"

#include <tlhelp32.h>

#include "app/settings/installer_config.h"
#include "pipeline/downloader.h"
#include "pipeline/installer.h"
#include "pipeline/uninstaller.h"
#include "pipeline/uninstaller_copy.h"
#include "utils/debug_log.h"
#include "utils/folders.h"
#include "utils/unique_handle.h"

// Every reaction is logged as the name of the code it reacts to.
#define PIPELINE_LOG(function, codeName) UTILS_LOG(function, __LINE__, L"%s\r\n", codeName)

namespace {

// The package path the pipeline deleted last, across runs of this process: a package
// that could not be deleted while it was still running goes with the next deletion.
std::wstring lastDeletedPackage;

}  // namespace

CDownloadInstaller::CDownloadInstaller(StatusCallback windowCallback, std::wstring url,
                                       std::wstring oldUninstallerPath, std::wstring installDir,
                                       bool createDesktopShortcut, bool createStartShortcut,
                                       bool consoleUserIsAdmin)
    : url_(std::move(url)),
      oldUninstallerPath_(std::move(oldUninstallerPath)),
      installDir_(std::move(installDir)),
      createDesktopShortcut_(createDesktopShortcut),
      createStartShortcut_(createStartShortcut),
      consoleUserIsAdmin_(consoleUserIsAdmin),
      windowCallback_(std::move(windowCallback)) {}

CDownloadInstaller::~CDownloadInstaller() {
    // A pending restart may still be starting the downloader; let it finish first.
    if (restarter_) restarter_->Close();
    downloader_.reset();
    installer_.reset();
    remover_.reset();
}

void CDownloadInstaller::SetParams(const std::wstring& url, const std::wstring& previousInstallPath,
                                   const std::wstring& oldUninstallerPath, const std::wstring& installDir,
                                   bool createDesktopShortcut, bool createStartShortcut,
                                   bool consoleUserIsAdmin, bool processIsAdmin,
                                   const std::wstring& languageCode) {
    url_ = url;
    previousInstallPath_ = previousInstallPath;
    oldUninstallerPath_ = oldUninstallerPath;
    installDir_ = installDir;
    createDesktopShortcut_ = createDesktopShortcut;
    createStartShortcut_ = createStartShortcut;
    consoleUserIsAdmin_ = consoleUserIsAdmin;
    processIsAdmin_ = processIsAdmin;
    languageCode_ = languageCode;
}

std::wstring CDownloadInstaller::GetPackagePath() const {
    return installDir_ + L"\\__Package_" + Settings::kAppName + L".exe";
}

DWORD CDownloadInstaller::FindProcessByName(const std::wstring& exeName) {
    Utils::FileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more;
         more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (exeName == entry.szExeFile) return entry.th32ProcessID;
    }
    return 0;
}

void CDownloadInstaller::Start() {
    packagePath_ = GetPackagePath();
    UTILS_LOG(L"CDownloadInstaller::Start", __LINE__, L"DL_TYPE=%d\r\n", g_InstallerConfig.DownloadType);

    if (!downloader_) {
        downloader_ = CreateDownloader(
            g_InstallerConfig.DownloadType,
            [this](int32_t code, double value, const wchar_t* text) { OnDownloadStatus(code, value, text); },
            url_, packagePath_);
    }
    if (!installer_) {
        installer_ = std::make_unique<CInstaller>(
            [this](int32_t code, double value, const wchar_t* text) { OnInstallStatus(code, value, text); },
            L"\"" + packagePath_ + L"\"", installDir_, createStartShortcut_, createDesktopShortcut_,
            consoleUserIsAdmin_);
    }
    installer_->SetInstallDir(installDir_);
    installer_->SetShortcuts(createDesktopShortcut_, createStartShortcut_);
    installer_->SetAdminFlags(consoleUserIsAdmin_, processIsAdmin_);
    installer_->SetLanguageCode(languageCode_);

    if (!Utils::IsExistingFile(oldUninstallerPath_)) {
        downloader_->Start();
        return;
    }
    StartRemoval();
}

void CDownloadInstaller::StartRemoval() {
    const UninstallerCopy copy = PrepareUninstallerCopy(oldUninstallerPath_);
    // The previous remover's worker has ended: it reported the code that ended its run.
    remover_ = std::make_unique<UnInstaller>(
        [this](int32_t code, double value, const wchar_t* text) { OnRemovalStatus(code, value, text); },
        copy.copyPath, copy.oldFolder);
    if (g_InstallerConfig.InsNew) {
        while (FindProcessByName(L"Vantorel.exe") != 0) ::Sleep(100);
    }
    remover_->StartRemoval();
}

void CDownloadInstaller::OnDownloadStatus(int32_t code, double value, const wchar_t* text) {
    windowCallback_(code, value, text);
    constexpr const wchar_t* kFunction = L"CDownloadInstaller::OnDownloadStatus";
    switch (code) {
    case DL_CODE_START:
        Utils::CreateDirectories(installDir_);
        PIPELINE_LOG(kFunction, L"DL_CODE_START");
        break;
    case DL_CODE_PROGRESS:
        PIPELINE_LOG(kFunction, L"DL_CODE_PROGRESS");
        break;
    case DL_CODE_SUCCESS:
        PIPELINE_LOG(kFunction, L"DOWNLOAD_SUCCESS");
        installer_->StartInstall();
        PIPELINE_LOG(kFunction, L"DL_CODE_SUCCESS");
        break;
    case DL_CODE_FAIL:
        DeletePackageFiles();
        PIPELINE_LOG(kFunction, L"DL_CODE_FAIL");
        break;
    case DL_CODE_RETRY:
        PIPELINE_LOG(kFunction, L"DL_CODE_RETRY");
        RestartDownloader();
        break;
    default:
        break;
    }
}

void CDownloadInstaller::RestartDownloader() {
    // Runs on the worker that reported the retry. An earlier restarter has long
    // returned (it only started this worker), so joining it here cannot block.
    if (restarter_) restarter_->Close();
    restarter_ = std::make_unique<Utils::Thread>();
    restarter_->Create(this, L"ABDEF", [](void* self) {
        static_cast<CDownloadInstaller*>(self)->downloader_->Start();
    });
    if (restarter_->Handle()) ::ResumeThread(restarter_->Handle());
}

void CDownloadInstaller::OnRemovalStatus(int32_t code, double value, const wchar_t* text) {
    windowCallback_(code, value, text);
    constexpr const wchar_t* kFunction = L"CDownloadInstaller::OnRemovalStatus";
    switch (code) {
    case UNIST_CODE_START:
        PIPELINE_LOG(kFunction, L"UNIST_CODE_START");
        break;
    case UNIST_CODE_PROGRESS:
        PIPELINE_LOG(kFunction, L"UNIST_CODE_PROGRESS");
        break;
    case UNIST_CODE_SUCCESS:
        PIPELINE_LOG(kFunction, L"UNIST_CODE_SUCCESS");
        if (installer_) downloader_->Start();
        break;
    case UNIST_CODE_FAIL:
        PIPELINE_LOG(kFunction, L"UNIST_CODE_FAIL");
        break;
    case UNIST_CODE_ERROR:
        PIPELINE_LOG(kFunction, L"UNIST_CODE_ERROR");
        break;
    default:
        break;
    }
}

void CDownloadInstaller::OnInstallStatus(int32_t code, double value, const wchar_t* text) {
    windowCallback_(code, value, text);
    constexpr const wchar_t* kFunction = L"CDownloadInstaller::OnInstallStatus";
    switch (code) {
    case IST_CODE_START:
        PIPELINE_LOG(kFunction, L"IST_CODE_START");
        break;
    case IST_CODE_PROGRESS:
        PIPELINE_LOG(kFunction, L"IST_CODE_PROGRESS");
        break;
    case INSTALL_SUCCESS:
        DeletePackageFiles();
        PIPELINE_LOG(kFunction, L"INSTALL_SUCCESS");
        break;
    case IST_CODE_FAIL:
        DeletePackageFiles();
        PIPELINE_LOG(kFunction, L"IST_CODE_FAIL");
        break;
    default:
        break;
    }
}

void CDownloadInstaller::DeletePackageFiles() {
    ::DeleteFileW(packagePath_.c_str());
    if (!lastDeletedPackage.empty()) ::DeleteFileW(lastDeletedPackage.c_str());
    lastDeletedPackage = packagePath_;
}
