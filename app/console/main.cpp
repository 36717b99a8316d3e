// VantorelPipeline.exe [switches] [-installdir=FOLDER]
// The whole installation without a window, as the installer window runs it: the same
// settings (configuration file beside this program, then the switches), the same checks
// and records, the same pipeline. Every status code is printed as it arrives, one line
// "code value text" in UTF-8. Exit code 0 after a finished install, 1 after a refusal
// or a failed run.
#include <windows.h>

#include <curl/curl.h>

#include <charconv>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>

#include "app/install_run/install_run.h"
#include "app/install_state/install_state.h"
#include "app/settings/installer_config.h"
#include "pipeline/download_installer.h"
#include "pipeline/status_callback.h"
#include "utils/code_page.h"

namespace {

struct StatusRecord {
    int32_t code;
    double value;
    std::wstring text;
};

// Codes arrive on the pipeline's workers; the main thread handles them in order, as the
// window's thread does with its posted messages.
class StatusQueue {
public:
    void Push(StatusRecord record) {
        {
            const std::lock_guard lock(mutex_);
            records_.push_back(std::move(record));
        }
        ready_.notify_one();
    }
    StatusRecord Pop() {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return !records_.empty(); });
        StatusRecord record = std::move(records_.front());
        records_.pop_front();
        return record;
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<StatusRecord> records_;
};

void WriteUtf8(const std::wstring& text) {
    const std::string utf8 = Utils::WideToMultiByte(text, CP_UTF8);
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written,
                nullptr);
}

// The shortest text that reads back as exactly the same double ("0.35", "-998").
std::wstring ShortestDecimal(double value) {
    char digits[64];
    const auto result = std::to_chars(digits, digits + sizeof(digits), value);
    return std::wstring(digits, result.ptr);
}

void PrintStatus(const StatusRecord& record) {
    WriteUtf8(std::to_wstring(record.code) + L" " + ShortestDecimal(record.value) + L" " + record.text + L"\n");
}

const wchar_t* RefusalText(InstallRun::Refusal refusal) {
    switch (refusal) {
    case InstallRun::Refusal::RemoverRunning:
        return L"refused: the previous version's remover (Vantorel_un_asa.exe) is running";
    case InstallRun::Refusal::ProductRunning:
        return L"refused: Vantorel.exe is running; close it and start again";
    case InstallRun::Refusal::InvalidFolder:
        return L"refused: the install folder cannot be created: ";
    case InstallRun::Refusal::LowDiskSpace:
        return L"refused: less than 1 GiB is free on the drive of ";
    case InstallRun::Refusal::None:
        break;
    }
    return L"";
}

int RunInstall() {
    Settings::ApplyCommandLine(g_InstallerConfig, ::GetCommandLineW());
    const auto switches = Settings::CommandLineSwitches(::GetCommandLineW());

    InstallState state;
    ReadInstallState(state);
    const InstallRun::AdminFlags flags = InstallRun::QueryAdminFlags();
    const auto requestedFolder = switches.find(L"-installdir");
    const std::wstring folder = requestedFolder != switches.end() && !requestedFolder->second.empty()
                                    ? requestedFolder->second
                                    : InstallRun::DefaultInstallDir(state, flags);

    const InstallRun::Refusal refusal = InstallRun::CheckMachine(folder, g_InstallerConfig.InsNew);
    if (refusal != InstallRun::Refusal::None) {
        const bool namesFolder = refusal == InstallRun::Refusal::InvalidFolder ||
                                 refusal == InstallRun::Refusal::LowDiskSpace;
        WriteUtf8(RefusalText(refusal) + (namesFolder ? folder : std::wstring()) + L"\n");
        return 1;
    }
    state.InstallDir = folder;

    StatusQueue queue;
    InstallRun::PackageReport report;
    CDownloadInstaller pipeline(
        [&queue](int32_t code, double value, const wchar_t* text) {
            queue.Push({code, value, text ? text : L""});
        },
        L"", L"", L"", true, true, true);
    InstallRun::ConfigurePipeline(pipeline, state, folder, true, true, flags, L"");
    pipeline.Start();

    for (;;) {
        const StatusRecord record = queue.Pop();
        PrintStatus(record);
        InstallRun::RecordStatus(state, report, record.code, record.value, record.text);
        if (record.code == INSTALL_SUCCESS) return 0;
        if (InstallRun::EndsAttemptInFailure(record.code)) return 1;
    }
}

}  // namespace

int wmain() {
    if (::curl_global_init(CURL_GLOBAL_ALL) != CURLE_OK) g_InstallerConfig.CurlReady = false;
    const int exitCode = RunInstall();
    ::curl_global_cleanup();
    return exitCode;
}
