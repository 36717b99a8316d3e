#pragma once
// Removes the installed older version before a new one is downloaded: runs a copy of
// its uninstaller silently and turns what it prints into the removal codes.
#include <windows.h>

#include <cstdint>
#include <string>

#include "pipeline/remover_output_parser.h"
#include "pipeline/status_callback.h"
#include "utils/thread.h"

class UnInstaller {
public:
    // uninstallerPath is the copy in the private temporary folder ("" when there is
    // none); oldInstallDir is the folder of the installed version.
    UnInstaller(StatusCallback callback, std::wstring uninstallerPath, std::wstring oldInstallDir);
    UnInstaller(const UnInstaller&) = delete;
    UnInstaller& operator=(const UnInstaller&) = delete;
    // Waits for a running worker: it ends when the uninstaller has exited.
    ~UnInstaller();

    // Takes the account flags now, on the caller's thread, and starts the worker.
    void StartRemoval();

    // True once no worker runs (or when none was started) within the time given.
    bool WaitForWorker(DWORD timeoutMs) const;

    std::wstring BuildCommandLine(bool consoleUserIsAdmin, bool processIsAdmin) const;
    const std::wstring& CommandLine() const noexcept { return commandLine_; }

    int Parse(const std::wstring& text) { return parser_.Parse(text); }
    int32_t OutputCodePage() const noexcept { return parser_.OutputCodePage(); }

private:
    void Remove();
    void Send(int32_t code, double value, const wchar_t* text = L"") const;

    StatusCallback callback_;
    std::wstring commandLine_;
    std::wstring uninstallerPath_;
    std::wstring oldInstallDir_;
    RemoverOutputParser parser_;
    Utils::Thread worker_;
};
