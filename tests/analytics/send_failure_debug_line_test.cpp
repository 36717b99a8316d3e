#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "analytics/sdk/record_sender.h"
#include "tests/analytics/standard_error_capture.h"
#include "tools/debug_output/debug_output_reader.h"

namespace {

// Run only by the test below, in a child process under a debugger: one upload to a
// port nobody listens on.
TEST(SendFailureChild, DISABLED_FailsOneUpload) {
    AnalyticsTests::StandardErrorCapture error;
    EXPECT_FALSE(usage_analytics::RecordSender("http://127.0.0.1:9/sa?project=pc").Send("[]"));
}

TEST(SendFailure, ReportsItselfOnTheDebuggerOutput) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::vector<std::wstring> lines;
    const auto exitCode = Tools::RunCapturingDebugOutput(
        L"\"" + std::wstring(self) + L"\" --gtest_also_run_disabled_tests --gtest_filter=SendFailureChild.*",
        [&](const Tools::DebugLine& line) { lines.push_back(line.text); });

    ASSERT_EQ(exitCode, 0u);
    int reports = 0;
    for (const std::wstring& line : lines) {
        if (line.find(L"UsageAnalytics") != std::wstring::npos) {
            EXPECT_EQ(line, L"[usage] UsageAnalytics SDK send failed\n");
            ++reports;
        }
    }
    EXPECT_EQ(reports, 1);
}

}  // namespace
