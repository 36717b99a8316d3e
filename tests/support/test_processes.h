#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "utils/unique_handle.h"

namespace TestSupport {

// A started child process. A test that fails half-way must not leave it running (it
// would hold the test runner's output open), so the object ends it if it still runs.
struct StartedProcess {
    Utils::KernelHandle process;
    DWORD processId = 0;

    StartedProcess(Utils::KernelHandle handle, DWORD id) : process(std::move(handle)), processId(id) {}
    StartedProcess(StartedProcess&&) = default;
    StartedProcess& operator=(StartedProcess&&) = default;
    ~StartedProcess() {
        if (process && ::WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process.Get(), 1);
            ::WaitForSingleObject(process.Get(), 5000);
        }
    }
};

std::optional<StartedProcess> StartProcess(const std::wstring& commandLine);

// Waits up to timeoutMs; the exit code, or nothing if the process is still running.
std::optional<DWORD> WaitForExit(const StartedProcess& started, DWORD timeoutMs);

// The first visible top-level window of the process with this title, polled up to timeoutMs.
HWND WaitForWindow(DWORD processId, const wchar_t* title, DWORD timeoutMs);

std::wstring Quoted(const std::wstring& text);

}  // namespace TestSupport
