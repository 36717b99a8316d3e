#pragma once
// The installer's three stages strung together: remove an older version (when one is
// recorded), download the package, run it. Every code of every stage reaches the
// window's callback first; then the pipeline reacts to it itself.
#include <windows.h>

#include <memory>
#include <string>

#include "pipeline/status_callback.h"
#include "utils/thread.h"

class CDownloader;
class CInstaller;
class UnInstaller;

class CDownloadInstaller {
public:
    CDownloadInstaller(StatusCallback windowCallback, std::wstring url, std::wstring oldUninstallerPath,
                       std::wstring installDir, bool createDesktopShortcut, bool createStartShortcut,
                       bool consoleUserIsAdmin);
    CDownloadInstaller(const CDownloadInstaller&) = delete;
    CDownloadInstaller& operator=(const CDownloadInstaller&) = delete;
    ~CDownloadInstaller();

    // Not while a run is in progress: nothing guards the fields against the workers.
    void SetParams(const std::wstring& url, const std::wstring& previousInstallPath,
                   const std::wstring& oldUninstallerPath, const std::wstring& installDir,
                   bool createDesktopShortcut, bool createStartShortcut, bool consoleUserIsAdmin,
                   bool processIsAdmin, const std::wstring& languageCode);

    // Starts the first stage and returns; only the wait for a running product (with
    // InsNew set and an older version to remove) can hold it.
    void Start();

    // installDir + "\__Package_Vantorel.exe"
    std::wstring GetPackagePath() const;

    // Id of the first process whose executable file name is exactly exeName, or 0.
    static DWORD FindProcessByName(const std::wstring& exeName);

private:
    void OnDownloadStatus(int32_t code, double value, const wchar_t* text);
    void OnRemovalStatus(int32_t code, double value, const wchar_t* text);
    void OnInstallStatus(int32_t code, double value, const wchar_t* text);
    void StartRemoval();
    // Starts the downloader again from a thread of its own: the retry is reported on
    // the downloader's worker, and starting waits for that worker to end.
    void RestartDownloader();
    void DeletePackageFiles();

    std::unique_ptr<UnInstaller> remover_;
    std::unique_ptr<CDownloader> downloader_;
    std::unique_ptr<CInstaller> installer_;
    std::wstring url_;
    std::wstring oldUninstallerPath_;
    std::wstring installDir_;
    std::wstring packagePath_;
    std::wstring previousInstallPath_;
    std::wstring languageCode_;
    bool createDesktopShortcut_;
    bool createStartShortcut_;
    bool consoleUserIsAdmin_;
    bool processIsAdmin_ = true;
    StatusCallback windowCallback_;
    std::unique_ptr<Utils::Thread> restarter_;
};

// Chooses the downloader for a download type: 2 URL moniker, 3 multi-part, else curl.
std::unique_ptr<CDownloader> CreateDownloader(int32_t downloadType, StatusCallback callback,
                                              const std::wstring& url, const std::wstring& packagePath);
