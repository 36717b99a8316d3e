#include "pipeline/uninstaller.h"

#include <memory>

#include "pipeline/child_output.h"
#include "utils/accounts.h"
#include "utils/child_process.h"
#include "utils/exception.h"
#include "utils/folders.h"

namespace {

const wchar_t* TrueFalse(bool flag) { return flag ? L"true" : L"false"; }

bool ConsoleUserIsAdmin() {
    std::wstring name;
    return Utils::GetConsoleUserName(name) && Utils::IsAccountAdmin(name);
}

}  // namespace

UnInstaller::UnInstaller(StatusCallback callback, std::wstring uninstallerPath, std::wstring oldInstallDir)
    : callback_(std::move(callback)),
      uninstallerPath_(std::move(uninstallerPath)),
      oldInstallDir_(std::move(oldInstallDir)),
      parser_(callback_) {}

UnInstaller::~UnInstaller() { worker_.Close(); }

std::wstring UnInstaller::BuildCommandLine(bool consoleUserIsAdmin, bool processIsAdmin) const {
    // The uninstaller takes "_?=" with everything after it as its folder, so no quotes.
    return uninstallerPath_ + L" /S -adminact=" + TrueFalse(consoleUserIsAdmin) + L" -authorizationact=" +
           TrueFalse(processIsAdmin) + L" -console=show _?=" + oldInstallDir_;
}

void UnInstaller::StartRemoval() {
    commandLine_ = BuildCommandLine(ConsoleUserIsAdmin(), Utils::IsUserAdmin());
    worker_.Close();
    worker_.Create(this, L"UnInstaller", [](void* self) { static_cast<UnInstaller*>(self)->Remove(); });
    if (worker_.Handle()) ::ResumeThread(worker_.Handle());
}

bool UnInstaller::WaitForWorker(DWORD timeoutMs) const {
    return !worker_.Handle() || ::WaitForSingleObject(worker_.Handle(), timeoutMs) == WAIT_OBJECT_0;
}

void UnInstaller::Send(int32_t code, double value, const wchar_t* text) const {
    if (callback_) callback_(code, value, text);
}

void UnInstaller::Remove() {
    if (!Utils::IsExistingFile(uninstallerPath_)) {
        Send(UNIST_CODE_FAIL, 1.0, L"可执行卸载文件不存在");
        return;
    }
    Send(UNIST_CODE_PROGRESS, 0.0);

    std::unique_ptr<Utils::ChildProcess> child;
    try {
        child = std::make_unique<Utils::ChildProcess>();
        // Also refuses a command line too long for the launch buffer.
        child->Launch(commandLine_);
    } catch (const Utils::Exception&) {
        Send(UNIST_CODE_FAIL, 2.0);
        return;
    }

    // Every line is parsed until the uninstaller exits, after a terminal line too,
    // and what it printed just before exiting is read as well: a "State=Fail" left in
    // the pipe must not turn into a silent success.
    bool terminal = false;
    ChildOutput::ReadUntilExit(*child, [this, &terminal](const std::string& lines) {
        if (parser_.Parse(ChildOutput::Decode(lines, parser_.OutputCodePage())) !=
            RemoverOutputParser::kNoTerminalLine) {
            terminal = true;
        }
    });
    ::WaitForSingleObject(child->Process(), INFINITE);
    child.reset();

    if (!terminal) Send(UNIST_CODE_SUCCESS, 1.0);
}
