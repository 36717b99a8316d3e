#include <gtest/gtest.h>

#include <atomic>

#include "utils/thread.h"

namespace {

struct Probe {
    std::atomic<bool> ran{false};
    std::atomic<DWORD> ranOnThread{0};
};

TEST(Thread, StartsSuspendedAndRunsTheRoutineWithItsArgumentAfterResume) {
    Probe probe;
    Utils::Thread thread;
    thread.Create(&probe, L"ABDEF", [](void* argument) {
        auto* p = static_cast<Probe*>(argument);
        p->ranOnThread = ::GetCurrentThreadId();
        p->ran = true;
    });
    ASSERT_NE(thread.Handle(), nullptr);
    const uint32_t id = thread.ThreadId();
    EXPECT_NE(id, 0u);

    // Suspended: the routine cannot run before the owner resumes it.
    EXPECT_EQ(::WaitForSingleObject(thread.Handle(), 200), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_FALSE(probe.ran);

    ASSERT_NE(::ResumeThread(thread.Handle()), static_cast<DWORD>(-1));
    thread.Join();
    EXPECT_TRUE(probe.ran);
    EXPECT_EQ(probe.ranOnThread, id);
    EXPECT_EQ(thread.Handle(), nullptr);
    EXPECT_EQ(thread.ThreadId(), 0xFFFFFFFFu);
}

TEST(Thread, JoinAndCloseWithoutAThreadReturnAtOnce) {
    Utils::Thread never;
    never.Join();
    never.Close();
    EXPECT_EQ(never.Handle(), nullptr);
}

TEST(Thread, ExitCodeIsZeroAndEmptyNamesAreAccepted) {
    Utils::Thread thread;
    thread.Create(nullptr, L"", [](void*) {});
    ASSERT_NE(thread.Handle(), nullptr);
    const HANDLE raw = thread.Handle();
    HANDLE watcher = nullptr;
    ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), raw, ::GetCurrentProcess(), &watcher, 0,
                                  FALSE, DUPLICATE_SAME_ACCESS));
    ::ResumeThread(raw);
    thread.Join();
    DWORD exitCode = 1;
    ::GetExitCodeThread(watcher, &exitCode);
    ::CloseHandle(watcher);
    EXPECT_EQ(exitCode, 0u);
}

TEST(Thread, DestructorJoinsARunningThread) {
    std::atomic<bool> finished{false};
    {
        Utils::Thread thread;
        thread.Create(&finished, L"ABDEF", [](void* argument) {
            ::Sleep(100);
            *static_cast<std::atomic<bool>*>(argument) = true;
        });
        ::ResumeThread(thread.Handle());
    }
    EXPECT_TRUE(finished);
}

TEST(Thread, NamingWithoutADebuggerDoesNotRaiseIntoTheProgram) {
    // The naming exception must be swallowed when nobody listens for it.
    Utils::SetThreadNameForDebugger(::GetCurrentThreadId(), L"UnInstaller");
    Utils::SetThreadNameForDebugger(::GetCurrentThreadId(), L"");
    SUCCEED();
}

}  // namespace
