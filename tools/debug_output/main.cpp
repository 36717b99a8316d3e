// DebugOutput.exe PROGRAM [ARGUMENTS...]
// Runs PROGRAM and prints each of its debugger output lines on standard output as
// UTF-8, one per line; exits with PROGRAM's exit code (or 2 if it could not start).
#include <windows.h>

#include <cstdio>
#include <string>

#include "tools/debug_output/debug_output_reader.h"

namespace {

// The raw text after our own program name, so PROGRAM's quoting reaches it unchanged.
std::wstring CommandLineAfterProgramName(const wchar_t* commandLine) {
    const wchar_t* at = commandLine;
    if (*at == L'"') {
        ++at;
        while (*at && *at != L'"') ++at;
        if (*at) ++at;
    } else {
        while (*at && *at != L' ' && *at != L'\t') ++at;
    }
    while (*at == L' ' || *at == L'\t') ++at;
    return at;
}

void WriteUtf8Line(HANDLE output, std::wstring line) {
    while (!line.empty() && (line.back() == L'\n' || line.back() == L'\r')) line.pop_back();
    line += L"\n";
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), size,
                          nullptr, nullptr);
    DWORD written = 0;
    ::WriteFile(output, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace

int wmain() {
    const std::wstring program = CommandLineAfterProgramName(::GetCommandLineW());
    if (program.empty()) {
        std::fputs("usage: DebugOutput.exe PROGRAM [ARGUMENTS...]\n", stderr);
        return 2;
    }
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    const auto exitCode = Tools::RunCapturingDebugOutput(
        program, [output](const Tools::DebugLine& line) { WriteUtf8Line(output, line.text); });
    if (!exitCode) {
        std::fprintf(stderr, "DebugOutput: cannot start the program (error %lu)\n",
                     ::GetLastError());
        return 2;
    }
    return static_cast<int>(*exitCode);
}
