#pragma once
// Diagnostics go to the debugger output only: one formatted line per call.
#include <windows.h>

#include <string>

namespace Utils {

// Formats with the Microsoft wide printf rules (%s takes a wide string) and hands the
// line to OutputDebugStringW. A line whose buffer cannot be allocated is dropped.
void DebugLog(const wchar_t* format, ...);

// The same formatting, returned instead of sent; empty if it cannot be formatted.
std::wstring FormatDebugLine(const wchar_t* format, ...);

}  // namespace Utils

// Every line starts with process, thread, local time, function and line number.
#define UTILS_LOG_PREFIX L"<P%05d><T%05d><%04d-%02d-%02d %02d:%02d:%02d.%03d>(%s)<%04d>: "

// UTILS_LOG(L"Class::Method", 123, L"message %d\r\n", value): the prefix and the
// message are formatted in one pass, prefix arguments first.
#define UTILS_LOG(function, line, format, ...)                                              \
    do {                                                                                     \
        SYSTEMTIME utilsLogTime_;                                                            \
        ::GetLocalTime(&utilsLogTime_);                                                      \
        ::Utils::DebugLog(UTILS_LOG_PREFIX format, static_cast<int>(::GetCurrentProcessId()), \
                          static_cast<int>(::GetCurrentThreadId()), utilsLogTime_.wYear,     \
                          utilsLogTime_.wMonth, utilsLogTime_.wDay, utilsLogTime_.wHour,     \
                          utilsLogTime_.wMinute, utilsLogTime_.wSecond,                      \
                          utilsLogTime_.wMilliseconds, function, line __VA_OPT__(, ) __VA_ARGS__); \
    } while (0)
