#pragma once
// Runs the downloaded product package silently and turns what it prints into status
// codes: progress, where it installed, what to open, and success or failure.
#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "pipeline/package_output_parser.h"
#include "pipeline/status_callback.h"
#include "utils/thread.h"

class CInstaller {
public:
    // packagePath comes already enclosed in double quotes.
    CInstaller(StatusCallback callback, std::wstring packagePath, std::wstring installDir,
               bool createStartShortcut, bool createDesktopShortcut, bool consoleUserIsAdmin);
    CInstaller(const CInstaller&) = delete;
    CInstaller& operator=(const CInstaller&) = delete;
    // Waits for a running worker: it ends when the package has exited.
    ~CInstaller();

    // Set by the pipeline before every start.
    void SetInstallDir(const std::wstring& installDir) { installDir_ = installDir; }
    void SetShortcuts(bool createDesktopShortcut, bool createStartShortcut) {
        createDesktopShortcut_ = createDesktopShortcut;
        createStartShortcut_ = createStartShortcut;
    }
    void SetAdminFlags(bool consoleUserIsAdmin, bool processIsAdmin) {
        consoleUserIsAdmin_ = consoleUserIsAdmin;
        processIsAdmin_ = processIsAdmin;
    }
    void SetLanguageCode(const std::wstring& languageCode) { languageCode_ = languageCode; }

    // Builds the command line, waits for the worker of an earlier start, and starts a
    // new worker that runs the package. Returns at once.
    void StartInstall();

    // True once no worker runs (or when none was started) within the time given.
    bool WaitForWorker(DWORD timeoutMs) const;

    // The package's command line for the current parameters.
    std::wstring BuildCommandLine() const;

    // One block of decoded output; 0 (no terminal line), 1 (success) or 1000 (failure).
    int Parse(const std::wstring& text) { return parser_.Parse(text); }

    int32_t OutputCodePage() const noexcept { return parser_.OutputCodePage(); }
    const std::array<int32_t, 3>& InstalledVersion() const noexcept { return parser_.InstalledVersion(); }
    const std::wstring& CommandLine() const noexcept { return commandLine_; }

private:
    void ReadOutput();
    void Send(int32_t code, double value, const wchar_t* text = L"") const;

    StatusCallback callback_;
    std::wstring packagePath_;
    std::wstring installDir_;
    std::wstring commandLine_;
    bool createStartShortcut_;
    bool createDesktopShortcut_;
    PackageOutputParser parser_;
    Utils::Thread worker_;
    bool consoleUserIsAdmin_;
    bool processIsAdmin_ = true;
    std::wstring languageCode_;
};
