#include "utils/thread.h"

#include <process.h>

#include <string>

#include "utils/debug_log.h"

namespace Utils {
namespace {

constexpr DWORD kSetThreadNameException = 0x406D1388;

// GCC has no __try/__except, so a vectored handler (which runs after a debugger's
// first chance) swallows the naming exception when nobody else took it.
LONG CALLBACK SwallowThreadNameException(EXCEPTION_POINTERS* info) {
    return info->ExceptionRecord->ExceptionCode == kSetThreadNameException
               ? EXCEPTION_CONTINUE_EXECUTION
               : EXCEPTION_CONTINUE_SEARCH;
}

std::string ToAnsi(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), ansi.data(),
                              size, nullptr, nullptr);
    }
    return ansi;
}

}  // namespace

void SetThreadNameForDebugger(uint32_t threadId, const std::wstring& name) {
    const std::string ansiName = name.empty() ? "t" + std::to_string(threadId) : ToAnsi(name);
    const ULONG_PTR arguments[4] = {0x1000, reinterpret_cast<ULONG_PTR>(ansiName.c_str()),
                                    static_cast<ULONG_PTR>(threadId), 0};
    PVOID handler = ::AddVectoredExceptionHandler(1, SwallowThreadNameException);
    ::RaiseException(kSetThreadNameException, 0, 4, arguments);
    if (handler) ::RemoveVectoredExceptionHandler(handler);
}

void Thread::Create(void* argument, const std::wstring& name, Routine routine) {
    routine_ = std::move(routine);
    argument_ = argument;
    name_ = name;
    unsigned threadId = 0;
    handle_.Reset(reinterpret_cast<HANDLE>(
        _beginthreadex(nullptr, 0, &Thread::CallBack, this, CREATE_SUSPENDED, &threadId)));
    if (!handle_) return;
    threadId_ = threadId;
    SetThreadNameForDebugger(threadId_, name_);
}

void Thread::Join() {
    if (!handle_) return;
    ::WaitForSingleObject(handle_.Get(), INFINITE);
    handle_.Reset();
    threadId_ = 0xFFFFFFFF;
}

void Thread::Close() {
    Join();
    name_.clear();
    routine_ = nullptr;
}

unsigned __stdcall Thread::CallBack(void* self) {
    auto* thread = static_cast<Thread*>(self);
    UTILS_LOG(L"Utils::Thread::CallBack", 101, L"THREAD BEGIN\r\n");
    thread->routine_(thread->argument_);
    UTILS_LOG(L"Utils::Thread::CallBack", 107, L"THREAD END\r\n");
    _endthreadex(0);
    return 0;
}

}  // namespace Utils
