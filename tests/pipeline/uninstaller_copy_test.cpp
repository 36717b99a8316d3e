#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "pipeline/uninstaller.h"
#include "pipeline/uninstaller_copy.h"
#include "tests/pipeline/fixture_scripts.h"
#include "tests/pipeline/runner_status_recorder.h"
#include "tests/support/test_files.h"
#include "utils/folders.h"

namespace {

const std::filesystem::path kCopy = std::filesystem::path(Utils::GetTempFolder()) / kUninstallerCopyName;

TEST(UninstallerCopy, CopiesOverAnEarlierCopyAndNamesTheOldFolder) {
    TestSupport::TempFolder folder;
    std::filesystem::create_directories(folder.Path() / L"Old");
    const auto entry = folder.WriteFile(L"Old\\uninst.ep", "the old uninstaller");
    FixtureScripts::Write(L"fake_uninstaller.exe", kCopy, "line State=Fail\n");  // an earlier run's copy

    const UninstallerCopy copy = PrepareUninstallerCopy(entry.wstring());
    EXPECT_EQ(copy.copyPath, kCopy.wstring());
    EXPECT_EQ(copy.oldFolder, (folder.Path() / L"Old").wstring());
    EXPECT_EQ(FixtureScripts::ReadFile(kCopy), "the old uninstaller");
}

// A stale copy from an earlier run must not stand in for an uninstaller that could
// not be copied.
TEST(UninstallerCopy, AFailedCopyLeavesNoPathToRun) {
    TestSupport::TempFolder folder;
    FixtureScripts::Write(L"fake_uninstaller.exe", kCopy, "line State=Success\n");
    const UninstallerCopy copy = PrepareUninstallerCopy((folder.Path() / L"Old" / L"uninst.ep").wstring());
    EXPECT_EQ(copy.copyPath, L"");
    EXPECT_EQ(copy.oldFolder, (folder.Path() / L"Old").wstring());

    StatusRecorder recorder;
    UnInstaller remover(recorder.Callback(), copy.copyPath, copy.oldFolder);
    remover.StartRemoval();
    ASSERT_TRUE(remover.WaitForWorker(60000));
    EXPECT_EQ(recorder.Records(), (std::vector<Status>{{5004, 1.0, L"可执行卸载文件不存在"}}));
}

TEST(UninstallerCopy, TheCopyRemovesTheOldInstallation) {
    TestSupport::TempFolder folder;
    std::filesystem::create_directories(folder.Path() / L"Old Vantorel");
    folder.WriteFile(L"Old Vantorel\\Vantorel.exe", "product");
    folder.WriteFile(L"Old Vantorel\\config.ini", "[Install]\r\n");
    const auto entry = FixtureScripts::Write(L"fake_uninstaller.exe", folder.Path() / L"Old Vantorel" / L"uninst.ep",
                                             "line Progress=0.5\nremove\nline State=Success\n");

    const UninstallerCopy copy = PrepareUninstallerCopy(entry.wstring());
    StatusRecorder recorder;
    UnInstaller remover(recorder.Callback(), copy.copyPath, copy.oldFolder);
    remover.StartRemoval();
    ASSERT_TRUE(remover.WaitForWorker(60000));
    EXPECT_EQ(recorder.Records(), (std::vector<Status>{{5002, 0.0, L""}, {5002, 0.5, L""}, {5003, 0.0, L""}}));
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path() / L"Old Vantorel"));
}

}  // namespace
