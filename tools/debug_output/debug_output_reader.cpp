#include "tools/debug_output/debug_output_reader.h"

#include <vector>

#include "utils/unique_handle.h"

namespace Tools {
namespace {

constexpr DWORD kSetThreadNameException = 0x406D1388;

std::wstring ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
    // The length counts the terminating NUL, in characters of the string's own kind.
    const size_t length = info.nDebugStringLength;
    if (length == 0) return {};
    if (info.fUnicode) {
        std::wstring text(length, L'\0');
        SIZE_T read = 0;
        ::ReadProcessMemory(process, info.lpDebugStringData, text.data(), length * sizeof(wchar_t),
                            &read);
        text.resize(read / sizeof(wchar_t));
        if (const size_t end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
        return text;
    }
    std::vector<char> bytes(length);
    SIZE_T read = 0;
    ::ReadProcessMemory(process, info.lpDebugStringData, bytes.data(), length, &read);
    size_t size = 0;
    while (size < read && bytes[size] != '\0') ++size;
    if (size == 0) return {};
    const int wideSize = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(size),
                                               nullptr, 0);
    std::wstring text(static_cast<size_t>(wideSize), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(size), text.data(), wideSize);
    return text;
}

}  // namespace

std::optional<DWORD> RunCapturingDebugOutput(const std::wstring& commandLine,
                                             const std::function<void(const DebugLine&)>& onLine) {
    std::wstring mutableCommandLine = commandLine;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION created = {};
    if (!::CreateProcessW(nullptr, mutableCommandLine.data(), nullptr, nullptr, FALSE,
                          DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr, &startup, &created)) {
        return std::nullopt;
    }
    Utils::KernelHandle process(created.hProcess);
    Utils::KernelHandle mainThread(created.hThread);

    DWORD exitCode = 0;
    for (bool running = true; running;) {
        DEBUG_EVENT event = {};
        if (!::WaitForDebugEvent(&event, INFINITE)) break;
        DWORD continueStatus = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            Utils::FileHandle(event.u.CreateProcessInfo.hFile).Reset();
            break;
        case LOAD_DLL_DEBUG_EVENT:
            Utils::FileHandle(event.u.LoadDll.hFile).Reset();
            break;
        case OUTPUT_DEBUG_STRING_EVENT:
            onLine({event.dwProcessId, event.dwThreadId,
                    ReadDebugString(process.Get(), event.u.DebugString)});
            break;
        case EXCEPTION_DEBUG_EVENT: {
            // The initial breakpoint and thread names are ours to take; anything else
            // goes back to the program's own handlers.
            const DWORD code = event.u.Exception.ExceptionRecord.ExceptionCode;
            const bool ours = code == EXCEPTION_BREAKPOINT || code == kSetThreadNameException;
            if (!ours || !event.u.Exception.dwFirstChance) continueStatus = DBG_EXCEPTION_NOT_HANDLED;
            break;
        }
        case EXIT_PROCESS_DEBUG_EVENT:
            exitCode = event.u.ExitProcess.dwExitCode;
            running = false;
            break;
        default:
            break;
        }
        ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, continueStatus);
    }
    return exitCode;
}

}  // namespace Tools
