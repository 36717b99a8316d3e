#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/settings/installer_config.h"
#include "pipeline/installer.h"
#include "tests/pipeline/fixture_scripts.h"
#include "tests/pipeline/runner_status_recorder.h"
#include "tests/support/test_files.h"
#include "tests/support/test_processes.h"
#include "utils/code_page.h"

namespace {

constexpr DWORD kRunLimitMs = 60000;

const Status kStart{2001, 0.0, L""};
const Status kNoProgress{2002, 0.0, L""};

// Runs the fake package with this script into a fresh install folder.
class PackageRun {
public:
    explicit PackageRun(const std::string& script, std::wstring installDir = {})
        : installDir_(installDir.empty() ? (folder_.Path() / L"Vantorel").wstring() : std::move(installDir)) {
        const auto package =
            FixtureScripts::Write(L"fake_package.exe", folder_.Path() / L"__Package_Vantorel.exe", script);
        runner_ = std::make_unique<CInstaller>(recorder_.Callback(), TestSupport::Quoted(package.wstring()),
                                               installDir_, true, true, false);
    }

    std::vector<Status> Run() {
        runner_->StartInstall();
        EXPECT_TRUE(runner_->WaitForWorker(kRunLimitMs)) << "the runner did not finish";
        return recorder_.Records();
    }

    CInstaller& Runner() { return *runner_; }
    const std::wstring& InstallDir() const { return installDir_; }
    std::filesystem::path PackageFile() const { return folder_.Path() / L"__Package_Vantorel.exe"; }

private:
    TestSupport::TempFolder folder_;
    std::wstring installDir_;
    StatusRecorder recorder_;
    std::unique_ptr<CInstaller> runner_;
};

TEST(PackageRunner, ReportsWhatTheRealPackagePrints) {
    struct Case {
        const char* name;
        std::string script;
        std::vector<Status> expected;
    };
    const Case cases[] = {
        {"progress then success",
         "line Progress=0.25\nsleep 100\nline Progress=0.75\r\nline State=Success\n",
         {kStart, kNoProgress, {2002, 0.25, L""}, {2002, 0.75, L""}, {2003, 0.0, L""}}},
        {"failure", "line Progress=0.5\nline State=Fail\nexit 1\n",
         {kStart, kNoProgress, {2002, 0.5, L""}, {2004, 0.0, L"安装包安装失败"}}},
        {"error text", "line Encode=UTF8\nsleep 300\nline Error=\\xE7\\xA3\\x81\\xE7\\x9B\\x98\\xE5\\xB7\\xB2\\xE6\\xBB\\xA1\n",
         {kStart, kNoProgress, {2004, 1000.0, L"磁盘已满\r"}}},
        // The same two characters, first as UTF-8, then as GBK after "Encode=936".
        {"code pages",
         "line Encode=UTF8\nsleep 300\nline Message=\\xE4\\xB8\\xAD\\xE6\\x96\\x87\nsleep 300\n"
         "line Encode=936\nsleep 300\nline Message=\\xD6\\xD0\\xCE\\xC4\nline State=Success\n",
         {kStart, kNoProgress, {3009, 0.0, L"中文\r"}, {3009, 0.0, L"中文\r"}, {2003, 0.0, L""}}},
        // Lines and characters cut between two writes are put together again: a
        // "State=Fail" in two pieces must not end as a silent success.
        {"split lines",
         "line Encode=UTF8\nsleep 300\nwrite Progress=0.\nsleep 300\nline 5\nwrite Message=\\xE4\\xB8\nsleep 300\n"
         "line \\xAD\nwrite State=Fa\nsleep 300\nwrite il\\r\\n\nsleep 100\n",
         {kStart, kNoProgress, {2002, 0.5, L""}, {3009, 0.0, L"中\r"}, {2004, 0.0, L"安装包安装失败"}}},
        {"flood of output before the result", "flood 1048576\nline State=Success\n",
         {kStart, kNoProgress, {2003, 0.0, L""}}},
        {"exit without a terminal line", "line Progress=0.5\nexit 3\n",
         {kStart, kNoProgress, {2002, 0.5, L""}, {2003, 1.0, L""}}},
        {"silent", "", {kStart, kNoProgress, {2003, 1.0, L""}}},
        // A code page the system does not have decodes as ANSI: the failure still counts.
        {"unknown code page", "line Encode=12345\nsleep 300\nline State=Fail\n",
         {kStart, kNoProgress, {2004, 0.0, L"安装包安装失败"}}},
        {"terminal line without a line end", "write State=Success", {kStart, kNoProgress, {2003, 0.0, L""}}},
        {"results", "line TopShowDetention=-1\nline FinsihCloseDetention=0\nline StartupStyle=AutoStartup\nline State=Success\n",
         {kStart, kNoProgress, {3007, 4294967295.0, L""}, {3008, 0.0, L""}, {3005, 1.0, L""}, {2003, 0.0, L""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PackageRun run(c.script);
        EXPECT_EQ(run.Run(), c.expected);
    }
}

TEST(PackageRunner, InstallsIntoTheFolderAndReportsThePathsWithTheirCarriageReturns) {
    TestSupport::TempFolder folder;
    const std::wstring installDir = (folder.Path() / L"安装 目录").wstring();
    PackageRun run("line Encode=UTF8\nsleep 300\ninstall\nline Progress=0.9\nline InstPath=" +
                       FixtureScripts::Text(installDir) + "\nline ExePath=" +
                       FixtureScripts::Text(installDir + L"\\Vantorel.exe") + "\nline UninstEp=" +
                       FixtureScripts::Text(installDir + L"\\uninst.ep") + "\nline State=Success\n",
                   installDir);
    const std::vector<Status> expected = {kStart, kNoProgress, {2002, 0.9, L""}, {3000, 0.0, installDir + L"\r"},
                                          {3001, 0.0, installDir + L"\\Vantorel.exe\r"},
                                          {3003, 0.0, installDir + L"\\uninst.ep\r"}, {2003, 0.0, L""}};
    EXPECT_EQ(run.Run(), expected);
    for (const wchar_t* name : {L"Vantorel.exe", L"uninst.ep", L"config.ini"}) {
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(installDir) / name)) << name;
    }
}

// After the terminal line the package may go on printing; it must neither block on a
// full pipe nor have its later lines turned into codes.
TEST(PackageRunner, DrainsWhatThePackagePrintsAfterTheTerminalLine) {
    PackageRun run("install\nline State=Success\nflood 2097152\nline Error=too late\nmark drained\n"
                   "errflood 1048576\nline State=Fail\n");
    EXPECT_EQ(run.Run(), (std::vector<Status>{kStart, kNoProgress, {2003, 0.0, L""}}));
    EXPECT_EQ(FixtureScripts::ReadFile(std::filesystem::path(run.InstallDir()) / L"drained"), "ok");
}

TEST(PackageRunner, ThePackageGetsExactlyTheBuiltCommandLine) {
    g_InstallerConfig.InstCmd = L"-channel=test";
    PackageRun run("cmdline\n");
    run.Runner().SetLanguageCode(L"zh-CN");
    run.Run();
    const std::string received = FixtureScripts::ReadFile(run.PackageFile().wstring() + L".cmdline");
    g_InstallerConfig.InstCmd.clear();
    EXPECT_EQ(Utils::MultiByteToWide(received, Utils::kUtf8CodePage), run.Runner().CommandLine());
    EXPECT_TRUE(run.Runner().CommandLine().ends_with(L" /D=" + run.InstallDir()));
}

TEST(PackageRunner, CommandLineOrderAndSwitches) {
    CInstaller runner(nullptr, L"\"C:\\P\\__Package_Vantorel.exe\"", L"", false, false, false);
    runner.SetAdminFlags(false, false);
    EXPECT_EQ(runner.BuildCommandLine(),
              L"\"C:\\P\\__Package_Vantorel.exe\" /S -console=show -version=1.0.0 -adminact=false"
              L" -authorizationact=false -dsc=false -ssc=false");

    g_InstallerConfig.InstCmd = L"-from=\"web\" -x";
    runner.SetAdminFlags(true, true);
    runner.SetShortcuts(true, false);
    runner.SetLanguageCode(L"en-US");
    runner.SetInstallDir(L"D:\\My Apps\\Vantorel");
    const std::wstring line = runner.BuildCommandLine();
    g_InstallerConfig.InstCmd.clear();
    EXPECT_EQ(line,
              L"\"C:\\P\\__Package_Vantorel.exe\" /S -console=show -version=1.0.0 -adminact=true"
              L" -authorizationact=true -dsc=true -ssc=false -inslang=\"en-US\" -from=\"web\" -x"
              L" -instdir=\"D:\\My Apps\\Vantorel\" /D=D:\\My Apps\\Vantorel");

    CInstaller fresh(nullptr, L"\"p\"", L"", false, false, false);
    EXPECT_NE(fresh.BuildCommandLine().find(L"-authorizationact=true"), std::wstring::npos)
        << "the process counts as elevated until the pipeline says otherwise";
}

TEST(PackageRunner, LaunchFailuresAreReportedOnce) {
    TestSupport::TempFolder folder;
    struct Case {
        const char* name;
        std::wstring packagePath;
        std::wstring installDir;
        std::vector<Status> expected;
    };
    const Case cases[] = {
        {"missing package", TestSupport::Quoted((folder.Path() / L"missing.exe").wstring()), L"C:\\V",
         {kStart, kNoProgress, {2004, 2.0, L""}}},
        {"command line too long for the launch buffer",
         TestSupport::Quoted((TestSupport::BinFolder() / L"fake_package.exe").wstring()),
         L"C:\\" + std::wstring(520, L'v'), {kStart, kNoProgress, {2004, 2.0, L""}}},
        {"no package path", L"", L"C:\\V", {kStart, {2004, 1.0, L""}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StatusRecorder recorder;
        CInstaller runner(recorder.Callback(), c.packagePath, c.installDir, true, true, true);
        runner.StartInstall();
        ASSERT_TRUE(runner.WaitForWorker(kRunLimitMs));
        EXPECT_EQ(recorder.Records(), c.expected);
    }
}

// A package that starts the product as it ends hands it its standard handles, so the
// output pipe stays open after the package is gone. The run ends with the package.
TEST(PackageRunner, EndsWithThePackageEvenWhenItsChildKeepsThePipeOpen) {
    TestSupport::TempFolder folder;
    const auto product = FixtureScripts::Write(L"fake_package.exe", folder.Path() / L"Vantorel.exe", "sleep 8000\n");
    for (const char* terminal : {"", "line State=Success\n"}) {
        SCOPED_TRACE(terminal);
        PackageRun run("spawn " + FixtureScripts::Text(product.wstring()) + "\nline Progress=0.5\n" + terminal);
        run.Runner().StartInstall();
        ASSERT_TRUE(run.Runner().WaitForWorker(4000)) << "the run waited for the product";
    }
}

// The download tests serve packages of 1 MiB and more; the padding changes nothing.
TEST(PackageRunner, APaddedPackageRunsLikeASmallOne) {
    TestSupport::TempFolder folder;
    const auto package = folder.Path() / L"__Package_Vantorel.exe";
    const uint64_t size = 21u << 20;
    ASSERT_TRUE(FixtureOverlay::WriteScripted(TestSupport::BinFolder() / L"fake_package.exe", package,
                                              "install\nline State=Success\n", size));
    EXPECT_EQ(std::filesystem::file_size(package), size);
    StatusRecorder recorder;
    const std::wstring installDir = (folder.Path() / L"Vantorel").wstring();
    CInstaller runner(recorder.Callback(), TestSupport::Quoted(package.wstring()), installDir, true, true, true);
    runner.StartInstall();
    ASSERT_TRUE(runner.WaitForWorker(kRunLimitMs));
    EXPECT_EQ(recorder.Records(), (std::vector<Status>{kStart, kNoProgress, {2003, 0.0, L""}}));
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(installDir) / L"Vantorel.exe"));
    // The stand-in product is the bare program: small, and quiet when run.
    EXPECT_LT(std::filesystem::file_size(std::filesystem::path(installDir) / L"Vantorel.exe"), 4u << 20);
}

// The pipeline calls StartInstall again after a failed download; each start runs the
// package anew and reports a whole run.
TEST(PackageRunner, EveryStartRunsThePackageAgain) {
    PackageRun run("line Progress=0.5\nline State=Success\n");
    run.Run();
    const std::vector<Status> once = {kStart, kNoProgress, {2002, 0.5, L""}, {2003, 0.0, L""}};
    std::vector<Status> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(run.Run(), twice);
}

}  // namespace
