// The real installer, started twice under Wine: the second copy leaves at once with -1
// and shows nothing; the first keeps its window and ends normally with 0.
#include <gtest/gtest.h>

#include "tests/support/test_files.h"
#include "tests/support/test_processes.h"

namespace {

using TestSupport::Quoted;

std::wstring InstallerCommand() {
    return Quoted((TestSupport::BinFolder() / L"VantorelInstaller.exe").wstring());
}

TEST(SingleInstance, SecondCopyExitsWithMinusOneAndTheFirstIsUnaffected) {
    auto first = TestSupport::StartProcess(InstallerCommand());
    ASSERT_TRUE(first) << "error " << ::GetLastError();
    const HWND window = TestSupport::WaitForWindow(first->processId, L"Vantorel", 20000);
    ASSERT_NE(window, nullptr) << "the first copy shows its window";

    auto second = TestSupport::StartProcess(InstallerCommand() + L" -insnew=true");
    ASSERT_TRUE(second);
    EXPECT_EQ(TestSupport::WaitForExit(*second, 20000), std::optional<DWORD>(0xFFFFFFFF));
    EXPECT_EQ(TestSupport::WaitForWindow(second->processId, L"Vantorel", 0), nullptr);

    EXPECT_FALSE(TestSupport::WaitForExit(*first, 500).has_value()) << "the first copy keeps running";
    EXPECT_TRUE(::IsWindowVisible(window));

    ::PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(TestSupport::WaitForExit(*first, 20000), std::optional<DWORD>(0));

    // With the first copy gone the name is free again.
    auto third = TestSupport::StartProcess(InstallerCommand());
    ASSERT_TRUE(third);
    const HWND thirdWindow = TestSupport::WaitForWindow(third->processId, L"Vantorel", 20000);
    ASSERT_NE(thirdWindow, nullptr);
    ::PostMessageW(thirdWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(TestSupport::WaitForExit(*third, 20000), std::optional<DWORD>(0));
}

}  // namespace
