#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "utils/unique_handle.h"

namespace TestSupport {

// A started child process; the handle closes with the object.
struct StartedProcess {
    Utils::KernelHandle process;
    DWORD processId = 0;
};

std::optional<StartedProcess> StartProcess(const std::wstring& commandLine);

// Waits up to timeoutMs; the exit code, or nothing if the process is still running.
std::optional<DWORD> WaitForExit(const StartedProcess& started, DWORD timeoutMs);

// The first visible top-level window of the process with this title, polled up to timeoutMs.
HWND WaitForWindow(DWORD processId, const wchar_t* title, DWORD timeoutMs);

std::wstring Quoted(const std::wstring& text);

}  // namespace TestSupport
