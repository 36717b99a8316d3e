#include "pipeline/installer.h"

#include <memory>

#include "app/settings/installer_config.h"
#include "pipeline/child_output.h"
#include "utils/child_process.h"
#include "utils/debug_log.h"
#include "utils/exception.h"

namespace {

const wchar_t* TrueFalse(bool flag) { return flag ? L"true" : L"false"; }

}  // namespace

CInstaller::CInstaller(StatusCallback callback, std::wstring packagePath, std::wstring installDir,
                       bool createStartShortcut, bool createDesktopShortcut, bool consoleUserIsAdmin)
    : callback_(std::move(callback)),
      packagePath_(std::move(packagePath)),
      installDir_(std::move(installDir)),
      createStartShortcut_(createStartShortcut),
      createDesktopShortcut_(createDesktopShortcut),
      parser_(callback_,
              [](const std::wstring& exePath) {
                  UTILS_LOG(L"CInstaller::Parse", __LINE__, L"ExePath: %s\r\n", exePath.c_str());
              }),
      consoleUserIsAdmin_(consoleUserIsAdmin) {}

CInstaller::~CInstaller() { worker_.Close(); }

std::wstring CInstaller::BuildCommandLine() const {
    std::wstring line = packagePath_;
    line += L" /S -console=show -version=1.0.0";
    line += L" -adminact=";
    line += TrueFalse(consoleUserIsAdmin_);
    line += L" -authorizationact=";
    line += TrueFalse(processIsAdmin_);
    line += L" -dsc=";
    line += TrueFalse(createDesktopShortcut_);
    line += L" -ssc=";
    line += TrueFalse(createStartShortcut_);
    if (!languageCode_.empty()) line += L" -inslang=\"" + languageCode_ + L"\"";
    if (!g_InstallerConfig.InstCmd.empty()) line += L" " + g_InstallerConfig.InstCmd;
    if (!installDir_.empty()) {
        line += L" -instdir=\"" + installDir_ + L"\"";
        // The package's own switch must come last, unquoted: it takes the rest of the line.
        line += L" /D=" + installDir_;
    }
    return line;
}

void CInstaller::StartInstall() {
    commandLine_ = BuildCommandLine();
    worker_.Close();
    worker_.Create(this, L"ABDEF", [](void* self) { static_cast<CInstaller*>(self)->ReadOutput(); });
    if (worker_.Handle()) ::ResumeThread(worker_.Handle());
}

bool CInstaller::WaitForWorker(DWORD timeoutMs) const {
    return !worker_.Handle() || ::WaitForSingleObject(worker_.Handle(), timeoutMs) == WAIT_OBJECT_0;
}

void CInstaller::Send(int32_t code, double value, const wchar_t* text) const {
    if (callback_) callback_(code, value, text);
}

void CInstaller::ReadOutput() {
    Send(IST_CODE_START, 0.0);
    if (packagePath_.empty()) {
        // Nothing to run: one failure report ends the run.
        Send(IST_CODE_FAIL, 1.0);
        return;
    }
    Send(IST_CODE_PROGRESS, 0.0);

    std::unique_ptr<Utils::ChildProcess> child;
    try {
        child = std::make_unique<Utils::ChildProcess>();
        // Also refuses a command line too long for the launch buffer.
        child->Launch(commandLine_);
    } catch (const Utils::Exception&) {
        Send(IST_CODE_FAIL, 2.0);
        return;
    }

    int terminal = PackageOutputParser::kNoTerminalLine;
    ChildOutput::ReadUntilExit(*child, [this, &terminal](const std::string& lines) {
        // After the terminal line the output is still read, unparsed: a package that
        // goes on printing must not block on a full pipe.
        if (terminal != PackageOutputParser::kNoTerminalLine) return;
        terminal = parser_.Parse(ChildOutput::Decode(lines, parser_.OutputCodePage()));
    });
    ::WaitForSingleObject(child->Process(), INFINITE);
    child.reset();

    if (terminal == PackageOutputParser::kNoTerminalLine) Send(INSTALL_SUCCESS, 1.0);
}
