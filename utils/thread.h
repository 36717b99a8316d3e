#pragma once
// A named worker thread that runs one callable with one argument and announces its
// start and end in the debugger log.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "utils/unique_handle.h"

namespace Utils {

class Thread {
public:
    using Routine = std::function<void(void*)>;

    Thread() = default;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    ~Thread() { Close(); }

    // Creates the thread suspended; the owner starts it with ResumeThread(Handle()).
    // On failure Handle() stays null and the owner simply has no worker.
    void Create(void* argument, const std::wstring& name, Routine routine);

    // Waits for the thread without limit; returns at once when there is none.
    void Join();
    // Join, then forget the name and the routine.
    void Close();

    HANDLE Handle() const noexcept { return handle_.Get(); }
    uint32_t ThreadId() const noexcept { return threadId_; }

private:
    static unsigned __stdcall CallBack(void* self);

    uint32_t threadId_ = 0;
    KernelHandle handle_;
    Routine routine_;
    void* argument_ = nullptr;
    std::wstring name_;
};

// Announces a thread name to an attached debugger; costs nothing without one.
void SetThreadNameForDebugger(uint32_t threadId, const std::wstring& name);

}  // namespace Utils
