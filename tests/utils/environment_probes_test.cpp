#include <gtest/gtest.h>

#include <windows.h>
#include <netlistmgr.h>
#include <objbase.h>

#include <string>
#include <vector>

#include "tests/support/test_files.h"
#include "tests/support/test_processes.h"
#include "tools/debug_output/debug_output_reader.h"
#include "utils/hard_disk_manager.h"
#include "utils/network_check.h"

namespace {

struct ProbeRun {
    DWORD exitCode = ~0u;
    std::vector<std::wstring> lines;
};

ProbeRun RunProbe(const std::wstring& arguments) {
    ProbeRun run;
    const auto exitCode = Tools::RunCapturingDebugOutput(
        TestSupport::Quoted((TestSupport::BinFolder() / L"probe_runner.exe").wstring()) + L" " + arguments,
        [&run](const Tools::DebugLine& line) { run.lines.push_back(line.text); });
    EXPECT_TRUE(exitCode.has_value());
    run.exitCode = exitCode.value_or(~0u);
    return run;
}

// "...(function)<line>: message", the part of a log line after the time.
std::wstring Tail(const std::wstring& line) {
    const size_t open = line.find(L">(");
    return open == std::wstring::npos ? line : line.substr(open + 1);
}

// What the system's own Network List Manager says, asked directly.
struct SystemConnectivity {
    NLM_CONNECTIVITY flags = NLM_CONNECTIVITY_DISCONNECTED;
    bool internet = false;
};

SystemConnectivity AskNetworkListManager() {
    SystemConnectivity answer;
    ::CoInitialize(nullptr);
    INetworkListManager* manager = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_NetworkListManager, nullptr, CLSCTX_ALL, IID_INetworkListManager,
                                     reinterpret_cast<void**>(&manager)))) {
        manager->GetConnectivity(&answer.flags);
        VARIANT_BOOL connected = VARIANT_FALSE;
        manager->IsConnectedToInternet(&connected);
        answer.internet = connected != VARIANT_FALSE;
        manager->Release();
    }
    ::CoUninitialize();
    return answer;
}

TEST(CheckNetwork, VerdictMatchesTheNetworkListManagerAndLogsWhyItIsPoor) {
    const SystemConnectivity system = AskNetworkListManager();
    const ProbeRun run = RunProbe(L"checknet");
    EXPECT_EQ(run.exitCode & 0xFFFFu, static_cast<DWORD>(system.flags));
    if (system.flags == NLM_CONNECTIVITY_DISCONNECTED) {
        EXPECT_EQ(run.exitCode, 0x10000u);
        ASSERT_EQ(run.lines.size(), 1u);
        EXPECT_EQ(Tail(run.lines[0]), L"(Utils::CheckNetwork)<0245>: GetConnectivity 0");
    } else if (!system.internet) {
        EXPECT_EQ(Utils::NetworkVerdictOf(run.exitCode), 2u);
        ASSERT_EQ(run.lines.size(), 1u);
        EXPECT_EQ(Tail(run.lines[0]), L"(Utils::CheckNetwork)<0254>: get_IsConnectedToInternet:0");
    } else {
        EXPECT_EQ(Utils::NetworkVerdictOf(run.exitCode), 0u);
        EXPECT_TRUE(run.lines.empty());
    }
}

// Wine always reports Internet access, so the poor verdicts come from a stand-in
// manager; the value and the log line are what the installer reports.
TEST(CheckNetwork, VerdictBitsAndLogLinesForEveryAnswer) {
    struct Case {
        const char* label;
        const wchar_t* arguments;
        DWORD value;
        const wchar_t* line;  // nullptr: no line
    };
    const Case cases[] = {
        {"adapters disabled", L"0 yes", 0x10000, L"(Utils::CheckNetwork)<0245>: GetConnectivity 0"},
        {"connectivity query fails", L"fail no", 0x10000, L"(Utils::CheckNetwork)<0245>: GetConnectivity 0"},
        {"local network without Internet", L"21 no", 0x20021,
         L"(Utils::CheckNetwork)<0254>: get_IsConnectedToInternet:0"},
        {"Internet", L"440 yes", 0x440, nullptr},
        {"Internet query fails", L"40 fail", 0x40, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const ProbeRun run = RunProbe(std::wstring(L"checknet-fake ") + c.arguments);
        EXPECT_EQ(run.exitCode, c.value);
        if (c.line) {
            ASSERT_EQ(run.lines.size(), 1u);
            EXPECT_EQ(Tail(run.lines[0]), c.line);
        } else {
            EXPECT_TRUE(run.lines.empty());
        }
    }
}

TEST(CheckNetwork, WithoutComTheCheckCannotRunAndCountsAsConnected) {
    const ProbeRun run = RunProbe(L"checknet-nocom");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_TRUE(run.lines.empty());
}

TEST(HardDiskManager, ReportsTheDriveOfAFolder) {
    TestSupport::TempFolder folder;
    Utils::HardDiskManager disk;
    for (const std::wstring& target : {std::wstring(L"C:"), folder.Path().wstring()}) {
        ASSERT_TRUE(disk.CheckFreeSpace(target));
        EXPECT_GT(disk.TotalBytes(), 0u);
        EXPECT_GE(disk.TotalBytes(), disk.TotalFreeBytes());
        EXPECT_GE(disk.TotalFreeBytes(), disk.BytesAvailableToCaller());
    }
}

TEST(HardDiskManager, MissingDriveFailsKeepsTheCountsAndLogsOnce) {
    Utils::HardDiskManager disk;
    ASSERT_TRUE(disk.CheckFreeSpace(L"C:"));
    const uint64_t before = disk.BytesAvailableToCaller();
    EXPECT_FALSE(disk.CheckFreeSpace(L"B:"));
    EXPECT_EQ(disk.BytesAvailableToCaller(), before);

    const ProbeRun run = RunProbe(L"freespace B:");
    EXPECT_EQ(run.exitCode, 0u);
    ASSERT_EQ(run.lines.size(), 1u);
    const std::wstring tail = Tail(run.lines[0]);
    EXPECT_TRUE(tail.starts_with(
        L"(Utils::HardDiskManager::CheckFreeSpace)<0035>: HardDiskManager::CheckFreeSpace FAIL code="));
    EXPECT_TRUE(tail.ends_with(L"\r\n"));
    EXPECT_EQ(tail.find(L"code=0\r\n"), std::wstring::npos) << "the system's error code is in the line";
}

}  // namespace
