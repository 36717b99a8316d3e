#pragma once
// Runs a program as a debuggee and hands over every OutputDebugString line it writes.
// The installer keeps no log file: this is how tests and support people read its log.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace Tools {

struct DebugLine {
    DWORD processId;
    DWORD threadId;
    std::wstring text;
};

// Starts commandLine (its first token is the program) and pumps debug events until the
// process exits. Returns its exit code, or nothing when it could not be started.
std::optional<DWORD> RunCapturingDebugOutput(const std::wstring& commandLine,
                                             const std::function<void(const DebugLine&)>& onLine);

}  // namespace Tools
