#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "pipeline/uninstaller.h"
#include "tests/pipeline/fixture_scripts.h"
#include "tests/pipeline/runner_status_recorder.h"
#include "tests/support/test_files.h"
#include "utils/code_page.h"

namespace {

constexpr DWORD kRunLimitMs = 60000;
const Status kFound{5002, 0.0, L""};

// An old installation with the fake uninstaller's copy beside it, as the pipeline
// leaves them: the copy under another name, the old folder holding the product.
class Removal {
public:
    explicit Removal(const std::string& script) {
        std::filesystem::create_directories(OldFolder());
        for (const wchar_t* name : {L"Vantorel.exe", L"uninst.ep", L"config.ini"}) {
            folder_.WriteFile(std::wstring(L"Old\\") + name, "old");
        }
        FixtureScripts::Write(L"fake_uninstaller.exe", Copy(), script);
        remover_ = std::make_unique<UnInstaller>(recorder_.Callback(), Copy().wstring(), OldFolder().wstring());
    }

    std::vector<Status> Run() {
        remover_->StartRemoval();
        EXPECT_TRUE(remover_->WaitForWorker(kRunLimitMs)) << "the remover did not finish";
        return recorder_.Records();
    }

    std::filesystem::path OldFolder() const { return folder_.Path() / L"Old"; }
    std::filesystem::path Copy() const { return folder_.Path() / L"Vantorel_un_asa.exe"; }
    UnInstaller& Remover() { return *remover_; }

private:
    TestSupport::TempFolder folder_;
    StatusRecorder recorder_;
    std::unique_ptr<UnInstaller> remover_;
};

TEST(Remover, ReportsWhatTheOldUninstallerPrints) {
    struct Case {
        const char* name;
        std::string script;
        std::vector<Status> expected;
    };
    const Case cases[] = {
        {"silent", "remove\n", {kFound, {5003, 1.0, L""}}},
        // Reading goes on after the terminal line until the uninstaller exits.
        {"success, then more progress",
         "line Progress=0.5\nline State=Success\nsleep 300\nline Progress=0.9\nremove\n",
         {kFound, {5002, 0.5, L""}, {5003, 0.0, L""}, {5002, 0.9, L""}}},
        {"failure", "line State=Fail\n", {kFound, {5005, 0.0, L"安装包卸载失败"}}},
        // Only "UTF8" changes the code page; the Chinese text arrives as UTF-8.
        {"error text in UTF-8",
         "line Encode=UTF8\nsleep 300\nline Error=\\xE6\\x96\\x87\\xE4\\xBB\\xB6\\xE8\\xA2\\xAB\\xE5\\x8D\\xA0\\xE7\\x94\\xA8\n",
         {kFound, {5005, 0.0, L"文件被占用\r"}}},
        {"split failure line", "write State=Fa\nsleep 300\nwrite il\nexit 0\n",
         {kFound, {5005, 0.0, L"安装包卸载失败"}}},
        // Printed in the last moment before exiting, still in the pipe when the
        // uninstaller is gone: a failure that must not become a silent success.
        {"failure left in the pipe", "flood 65536\nline State=Fail\nexit 2\n",
         {kFound, {5005, 0.0, L"安装包卸载失败"}}},
        {"flood of output", "flood 1048576\nerrflood 1048576\nline State=Success\n", {kFound, {5003, 0.0, L""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Removal removal(c.script);
        EXPECT_EQ(removal.Run(), c.expected);
    }
}

TEST(Remover, RemovesTheOldFilesInTheFolderItIsGiven) {
    Removal removal("remove\nline State=Success\n");
    removal.Run();
    for (const wchar_t* name : {L"Vantorel.exe", L"uninst.ep", L"config.ini"}) {
        EXPECT_FALSE(std::filesystem::exists(removal.OldFolder() / name)) << name;
    }
}

TEST(Remover, TheUninstallerGetsExactlyTheBuiltCommandLine) {
    Removal removal("cmdline\n");
    removal.Run();
    const std::string received = FixtureScripts::ReadFile(removal.Copy().wstring() + L".cmdline");
    EXPECT_EQ(Utils::MultiByteToWide(received, Utils::kUtf8CodePage), removal.Remover().CommandLine());
    EXPECT_TRUE(removal.Remover().CommandLine().ends_with(L" -console=show _?=" + removal.OldFolder().wstring()));
}

TEST(Remover, CommandLineHasNoQuotes) {
    UnInstaller remover(nullptr, L"C:\\T\\Vantorel_un_asa.exe", L"D:\\Old");
    EXPECT_EQ(remover.BuildCommandLine(true, false),
              L"C:\\T\\Vantorel_un_asa.exe /S -adminact=true -authorizationact=false -console=show _?=D:\\Old");
    EXPECT_EQ(remover.BuildCommandLine(false, true),
              L"C:\\T\\Vantorel_un_asa.exe /S -adminact=false -authorizationact=true -console=show _?=D:\\Old");
}

TEST(Remover, MissingOrUnstartableUninstaller) {
    TestSupport::TempFolder folder;
    const auto notAProgram = folder.WriteFile(L"Vantorel_un_asa.exe", "this is no program");
    struct Case {
        const char* name;
        std::wstring copy;
        std::wstring oldFolder;
        std::vector<Status> expected;
    };
    const Case cases[] = {
        {"no copy (no temporary folder)", L"", L"C:\\Old", {{5004, 1.0, L"可执行卸载文件不存在"}}},
        {"copy missing", (folder.Path() / L"gone.exe").wstring(), L"C:\\Old", {{5004, 1.0, L"可执行卸载文件不存在"}}},
        {"a folder, not a file", folder.Path().wstring(), L"C:\\Old", {{5004, 1.0, L"可执行卸载文件不存在"}}},
        {"not a program", notAProgram.wstring(), L"C:\\Old", {kFound, {5004, 2.0, L""}}},
        {"command line too long", (TestSupport::BinFolder() / L"fake_uninstaller.exe").wstring(),
         L"C:\\" + std::wstring(1000, L'o'), {kFound, {5004, 2.0, L""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StatusRecorder recorder;
        UnInstaller remover(recorder.Callback(), c.copy, c.oldFolder);
        remover.StartRemoval();
        ASSERT_TRUE(remover.WaitForWorker(kRunLimitMs));
        EXPECT_EQ(recorder.Records(), c.expected);
    }
}

}  // namespace
