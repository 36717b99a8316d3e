#include "utils/child_process.h"

#include <cwchar>

#include "utils/exception.h"

namespace Utils {
namespace {

void KeepInParentOnly(const KernelHandle& handle) {
    ::SetHandleInformation(handle.Get(), HANDLE_FLAG_INHERIT, 0);
}

}  // namespace

ChildProcess::ChildProcess() = default;

void ChildProcess::Launch(const std::wstring& commandLine) {
    if (commandLine.size() >= kCommandLineCapacity) throw Exception();
    // The child's ends go to the first child only; a second launch would get none.
    if (!output_.WriteEnd() || !error_.WriteEnd() || !input_.ReadEnd()) throw Exception();
    std::wmemcpy(commandLine_, commandLine.c_str(), commandLine.size() + 1);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = input_.ReadEnd().Get();
    startup.hStdOutput = output_.WriteEnd().Get();
    startup.hStdError = error_.WriteEnd().Get();

    KeepInParentOnly(output_.ReadEnd());
    KeepInParentOnly(error_.ReadEnd());
    KeepInParentOnly(input_.WriteEnd());

    PROCESS_INFORMATION created = {};
    if (!::CreateProcessW(nullptr, commandLine_, nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &created)) {
        throw Exception();
    }
    process_.Reset(created.hProcess);
    thread_.Reset(created.hThread);
    processId_ = created.dwProcessId;
    threadId_ = created.dwThreadId;

    // Only the child may hold its ends: with a copy left here, a read of the output
    // pipe would never see the end of the data.
    output_.WriteEnd().Reset();
    error_.WriteEnd().Reset();
    input_.ReadEnd().Reset();
    // Nobody here reads the child's errors or writes to its input. Holding those ends
    // open would let a chatty child block on a full error pipe, or a child that reads
    // its input wait forever; closed, its writes fail and its reads see end of data.
    error_.ReadEnd().Reset();
    input_.WriteEnd().Reset();
}

void ChildProcess::Close() noexcept {
    thread_.Reset();
    process_.Reset();
    error_.Close();
    output_.Close();
    input_.Close();
}

}  // namespace Utils
