#include "utils/debug_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace Utils {
namespace {

struct FreeDeleter {
    void operator()(wchar_t* text) const noexcept { std::free(text); }
};
using HeapText = std::unique_ptr<wchar_t[], FreeDeleter>;

// Sized by a counting pass, so no message is ever cut by a fixed buffer.
HeapText FormatOnHeap(const wchar_t* format, va_list args) {
    va_list counting;
    va_copy(counting, args);
    const int count = _vscwprintf(format, counting);
    va_end(counting);
    if (count < 0) return nullptr;

    const size_t capacity = static_cast<size_t>(count) + 2;
    HeapText text(static_cast<wchar_t*>(std::malloc(capacity * sizeof(wchar_t))));
    if (!text) return nullptr;
    if (_vsnwprintf(text.get(), capacity - 1, format, args) < 0) return nullptr;
    text[capacity - 1] = L'\0';
    return text;
}

}  // namespace

void DebugLog(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    HeapText line = FormatOnHeap(format, args);
    va_end(args);
    if (line) ::OutputDebugStringW(line.get());
}

std::wstring FormatDebugLine(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    HeapText line = FormatOnHeap(format, args);
    va_end(args);
    return line ? std::wstring(line.get()) : std::wstring();
}

}  // namespace Utils
