#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <string>
#include <vector>

#include "tests/support/test_files.h"
#include "tests/support/test_processes.h"
#include "tools/debug_output/debug_output_reader.h"
#include "utils/debug_log.h"

namespace {

struct FormatCase {
    const char* label;
    int processId;
    int threadId;
    int line;
    const wchar_t* expected;
};

TEST(DebugLogFormat, PrefixFieldsAreZeroPaddedMinimumsInTheirOrder) {
    const FormatCase cases[] = {
        {"narrow ids", 42, 7, 101, L"<P00042><T00007><2026-01-02 03:04:05.006>(Utils::Thread::CallBack)<0101>: x"},
        {"ids wider than five digits", 1234567, 87654321, 12345,
         L"<P1234567><T87654321><2026-01-02 03:04:05.006>(Utils::Thread::CallBack)<12345>: x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Utils::FormatDebugLine(UTILS_LOG_PREFIX L"%s", c.processId, c.threadId, 2026, 1, 2,
                                         3, 4, 5, 6, L"Utils::Thread::CallBack", c.line, L"x"),
                  c.expected);
    }
}

TEST(DebugLogFormat, MessageLongerThanAnyFixedBufferIsWhole) {
    const std::wstring message(70000, L'y');
    const std::wstring line = Utils::FormatDebugLine(L"[%s]", message.c_str());
    EXPECT_EQ(line, L"[" + message + L"]");
}

// What the log tests read back: every line a fixture wrote, through the debugger tool's
// own reader, as support people would see it.
struct CapturedRun {
    DWORD exitCode = 0;
    std::vector<Tools::DebugLine> lines;
};

CapturedRun RunFixture(const wchar_t* mode) {
    CapturedRun run;
    const auto exitCode = Tools::RunCapturingDebugOutput(
        TestSupport::Quoted((TestSupport::BinFolder() / L"log_writer.exe").wstring()) + L" " + mode,
        [&run](const Tools::DebugLine& line) { run.lines.push_back(line); });
    EXPECT_TRUE(exitCode.has_value());
    run.exitCode = exitCode.value_or(~0u);
    return run;
}

const std::wregex kLinePattern(
    LR"(^<P(\d{5,})><T(\d{5,})><(\d{4})-(\d\d)-(\d\d) (\d\d):(\d\d):(\d\d)\.(\d{3})>\(([^)]*)\)<(\d{4,})>: ([\s\S]*)$)");

TEST(DebugLogOutput, LineLayoutCarriesTheWritersIds) {
    const CapturedRun run = RunFixture(L"layout");
    ASSERT_EQ(run.exitCode, 0u);
    ASSERT_EQ(run.lines.size(), 1u);
    std::wsmatch match;
    const std::wstring& text = run.lines[0].text;
    ASSERT_TRUE(std::regex_match(text, match, kLinePattern)) << std::string(text.begin(), text.end());
    EXPECT_EQ(std::stoul(match[1].str()), run.lines[0].processId);
    EXPECT_EQ(std::stoul(match[2].str()), run.lines[0].threadId);
    EXPECT_EQ(match[10].str(), L"Fixture::Layout");
    EXPECT_EQ(match[11].str(), L"0042");
    EXPECT_EQ(match[12].str(), L"code=-998 ratio=0.35 text=ok 安装中\r\n");
}

TEST(DebugLogOutput, LongMessageArrivesWhole) {
    const CapturedRun run = RunFixture(L"long");
    ASSERT_EQ(run.exitCode, 0u);
    ASSERT_EQ(run.lines.size(), 1u);
    const std::wstring& text = run.lines[0].text;
    EXPECT_TRUE(text.ends_with(std::wstring(20000, L'x') + L"|end"));
    EXPECT_TRUE(text.find(L")<0009>: ") != std::wstring::npos);
}

TEST(DebugLogOutput, TwoThreadsLoggingAtOnceWriteWholeLines) {
    const CapturedRun run = RunFixture(L"threads");
    ASSERT_EQ(run.exitCode, 0u);

    std::map<std::wstring, int> perWorker;     // tag -> next expected number
    std::map<DWORD, std::wstring> workerOfThread;
    std::map<std::wstring, int> threadMarkers;  // "begin"/"end" counts
    for (const auto& line : run.lines) {
        std::wsmatch match;
        ASSERT_TRUE(std::regex_match(line.text, match, kLinePattern));
        const std::wstring function = match[10].str();
        const std::wstring message = match[12].str();
        if (function == L"Utils::Thread::CallBack") {
            if (match[11].str() == L"0101" && message == L"THREAD BEGIN\r\n") ++threadMarkers[L"begin"];
            else if (match[11].str() == L"0107" && message == L"THREAD END\r\n") ++threadMarkers[L"end"];
            else ADD_FAILURE() << "unexpected thread line";
            continue;
        }
        std::wsmatch numbered;
        ASSERT_TRUE(std::regex_match(message, numbered, std::wregex(LR"(([AB]) line (\d+) of 500\r\n)")));
        const std::wstring tag = numbered[1].str();
        EXPECT_EQ(std::stoi(numbered[2].str()), perWorker[tag]++) << "lines of one worker stay in order";
        auto [known, inserted] = workerOfThread.emplace(line.threadId, tag);
        EXPECT_EQ(known->second, tag) << "each worker writes from its own thread";
    }
    EXPECT_EQ(perWorker[L"A"], 500);
    EXPECT_EQ(perWorker[L"B"], 500);
    EXPECT_EQ(workerOfThread.size(), 2u);
    EXPECT_EQ(threadMarkers[L"begin"], 2);
    EXPECT_EQ(threadMarkers[L"end"], 2);
}

}  // namespace
