#include "tests/support/test_processes.h"

namespace TestSupport {

std::optional<StartedProcess> StartProcess(const std::wstring& commandLine) {
    std::wstring mutableCommandLine = commandLine;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION created = {};
    if (!::CreateProcessW(nullptr, mutableCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &created)) {
        return std::nullopt;
    }
    Utils::KernelHandle thread(created.hThread);
    return StartedProcess{Utils::KernelHandle(created.hProcess), created.dwProcessId};
}

std::optional<DWORD> WaitForExit(const StartedProcess& started, DWORD timeoutMs) {
    if (::WaitForSingleObject(started.process.Get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD exitCode = 0;
    ::GetExitCodeProcess(started.process.Get(), &exitCode);
    return exitCode;
}

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t title[256] = {};
    ::GetWindowTextW(window, title, 256);
    if (owner == search->processId && ::IsWindowVisible(window) && wcscmp(title, search->title) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND WaitForWindow(DWORD processId, const wchar_t* title, DWORD timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    do {
        WindowSearch search{processId, title, nullptr};
        ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        ::Sleep(50);
    } while (::GetTickCount64() < deadline);
    return nullptr;
}

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

}  // namespace TestSupport
