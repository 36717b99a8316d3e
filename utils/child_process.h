#pragma once
// A hidden child process whose standard streams are anonymous pipes. The parent reads
// the child's standard output until the pipe breaks, which happens when the child (and
// every process it handed the pipe to) has exited.
#include <cstddef>
#include <string>

#include "utils/pipe.h"
#include "utils/unique_handle.h"

namespace Utils {

class ChildProcess {
public:
    // The command line buffer holds this many characters including the terminating NUL.
    static constexpr size_t kCommandLineCapacity = 1024;

    // Creates the three pipes; throws Utils::Exception when one cannot be made.
    ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() { Close(); }

    // Starts the command line hidden, with handle inheritance. Throws Utils::Exception
    // when the process cannot be created or the command line does not fit the buffer
    // (a cut command line would run something the caller never asked for), and when
    // the object was launched or closed before: one object runs one child.
    void Launch(const std::wstring& commandLine);

    // Closes the process and thread handles and every pipe end still open.
    void Close() noexcept;

    HANDLE OutputReadEnd() const noexcept { return output_.ReadEnd().Get(); }
    HANDLE Process() const noexcept { return process_.Get(); }
    HANDLE MainThread() const noexcept { return thread_.Get(); }
    DWORD ProcessId() const noexcept { return processId_; }
    DWORD ThreadId() const noexcept { return threadId_; }

    const Pipe& ErrorPipe() const noexcept { return error_; }
    const Pipe& OutputPipe() const noexcept { return output_; }
    const Pipe& InputPipe() const noexcept { return input_; }

private:
    wchar_t commandLine_[kCommandLineCapacity] = {};
    Pipe error_;
    Pipe output_;
    Pipe input_;
    KernelHandle process_;
    KernelHandle thread_;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
};

}  // namespace Utils
