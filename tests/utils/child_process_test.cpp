#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "tests/support/test_files.h"
#include "tests/support/test_processes.h"
#include "utils/child_process.h"
#include "utils/exception.h"
#include "utils/thread.h"

namespace {

std::wstring FixtureCommand(const std::wstring& mode) {
    return TestSupport::Quoted((TestSupport::BinFolder() / L"console_child.exe").wstring()) + L" " + mode;
}

struct ChildRun {
    std::string output;
    DWORD exitCode = ~0u;
    bool readEnded = false;  // false: the read was still blocked when the watchdog fired
};

struct Reader {
    HANDLE pipe;
    std::string output;
};

// Reads the child's standard output to its end the way the package runner does, with
// a watchdog so a read that never ends fails the test instead of hanging the suite.
ChildRun RunToCompletion(const std::wstring& mode) {
    ChildRun run;
    Utils::ChildProcess child;
    child.Launch(FixtureCommand(mode));

    Reader reader{child.OutputReadEnd(), {}};
    Utils::Thread worker;
    worker.Create(&reader, L"reader", [](void* argument) {
        auto* r = static_cast<Reader*>(argument);
        char buffer[1024];
        DWORD read = 0;
        while (::ReadFile(r->pipe, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
            r->output.append(buffer, read);
        }
    });
    if (!worker.Handle()) {
        ADD_FAILURE() << "no reader thread";
        return run;
    }
    ::ResumeThread(worker.Handle());
    run.readEnded = ::WaitForSingleObject(worker.Handle(), 30000) == WAIT_OBJECT_0;
    if (!run.readEnded) {
        ::TerminateProcess(child.Process(), 99);
        ::CancelSynchronousIo(worker.Handle());
    }
    worker.Join();
    ::WaitForSingleObject(child.Process(), 30000);
    ::GetExitCodeProcess(child.Process(), &run.exitCode);
    run.output = std::move(reader.output);
    return run;
}

std::string NumberedLines(const char* prefix, int count) {
    std::string lines;
    char line[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(line, sizeof(line), "%s %06d\r\n", prefix, i);
        lines += line;
    }
    return lines;
}

TEST(ChildProcess, ParentReadsAllOutputAndTheReadEndsWithTheChild) {
    struct Case {
        const wchar_t* mode;
        std::string expectedOutput;
        DWORD expectedExitCode;
    };
    const Case cases[] = {
        {L"slow", NumberedLines("slow line", 5), 0},
        {L"flood", NumberedLines("flood line", 60000), 0},
        {L"silent", "", 7},
        // Errors nobody reads must not stall the child on a full pipe.
        {L"stderr", "", 0},
        // Nobody writes to the child's input: it sees the end at once instead of waiting.
        {L"stdin", "input ended\r\n", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.mode, c.mode + wcslen(c.mode)));
        const ChildRun run = RunToCompletion(c.mode);
        EXPECT_TRUE(run.readEnded);
        EXPECT_EQ(run.output.size(), c.expectedOutput.size());
        EXPECT_TRUE(run.output == c.expectedOutput);
        EXPECT_EQ(run.exitCode, c.expectedExitCode);
    }
}

TEST(ChildProcess, ParentKeepsOnlyItsOwnEndsAndNoneAreInheritable) {
    Utils::ChildProcess child;
    child.Launch(FixtureCommand(L"silent"));
    ASSERT_NE(child.Process(), nullptr);
    ASSERT_NE(child.MainThread(), nullptr);
    EXPECT_NE(child.ProcessId(), 0u);

    DWORD flags = ~0u;
    ASSERT_TRUE(::GetHandleInformation(child.OutputReadEnd(), &flags));
    EXPECT_EQ(flags & HANDLE_FLAG_INHERIT, 0u);
    EXPECT_FALSE(child.OutputPipe().WriteEnd());
    EXPECT_FALSE(child.ErrorPipe().WriteEnd());
    EXPECT_FALSE(child.InputPipe().ReadEnd());

    EXPECT_EQ(::WaitForSingleObject(child.Process(), 30000), WAIT_OBJECT_0);
    child.Close();
    EXPECT_EQ(child.Process(), nullptr);
    EXPECT_EQ(child.MainThread(), nullptr);
    EXPECT_EQ(child.OutputReadEnd(), nullptr);
    EXPECT_FALSE(child.ErrorPipe().ReadEnd());
    EXPECT_FALSE(child.InputPipe().WriteEnd());
}

// Pads the fixture's command line with spaces to exactly `length` characters.
std::wstring CommandLineOfLength(size_t length) {
    std::wstring line = FixtureCommand(L"cmdline");
    line += L" ";
    if (line.size() < length) line.append(length - line.size() - 1, L' ');
    line += L"z";
    return line;
}

TEST(ChildProcess, LongestCommandLineThatFitsArrivesWhole) {
    Utils::ChildProcess child;
    child.Launch(CommandLineOfLength(1023));
    std::string output;
    char buffer[256];
    DWORD read = 0;
    while (::ReadFile(child.OutputReadEnd(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        output.append(buffer, read);
    }
    EXPECT_EQ(output, "1023 z\r\n");
}

TEST(ChildProcess, LaunchFailuresThrowTheUtilsException) {
    const std::wstring cases[] = {
        CommandLineOfLength(1024),  // would have to be cut to fit
        CommandLineOfLength(5000),
        TestSupport::Quoted((TestSupport::BinFolder() / L"no_such_program.exe").wstring()),
        L"",
    };
    for (const auto& commandLine : cases) {
        SCOPED_TRACE(commandLine.size());
        Utils::ChildProcess child;
        EXPECT_THROW(child.Launch(commandLine), Utils::Exception);
        EXPECT_EQ(child.Process(), nullptr);
    }
}

TEST(ChildProcess, OneObjectRunsOneChild) {
    Utils::ChildProcess child;
    child.Launch(FixtureCommand(L"silent"));
    EXPECT_THROW(child.Launch(FixtureCommand(L"silent")), Utils::Exception);
    EXPECT_EQ(::WaitForSingleObject(child.Process(), 30000), WAIT_OBJECT_0);

    Utils::ChildProcess closed;
    closed.Close();
    EXPECT_THROW(closed.Launch(FixtureCommand(L"silent")), Utils::Exception);
}

TEST(ChildProcess, ExceptionCarriesNoMessageAndIsAStandardException) {
    try {
        throw Utils::Exception();
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "");
    }
}

TEST(Pipe, BytesWrittenAtOneEndArriveAtTheOther) {
    Utils::Pipe pipe;
    DWORD flags = 0;
    ASSERT_TRUE(::GetHandleInformation(pipe.ReadEnd().Get(), &flags));
    EXPECT_NE(flags & HANDLE_FLAG_INHERIT, 0u) << "both ends start inheritable";
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(pipe.WriteEnd().Get(), "abc", 3, &written, nullptr));
    pipe.WriteEnd().Reset();
    char buffer[8] = {};
    DWORD read = 0;
    ASSERT_TRUE(::ReadFile(pipe.ReadEnd().Get(), buffer, sizeof(buffer), &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), "abc");
    EXPECT_FALSE(::ReadFile(pipe.ReadEnd().Get(), buffer, sizeof(buffer), &read, nullptr));
    pipe.Close();
    EXPECT_FALSE(pipe.ReadEnd());
}

}  // namespace
