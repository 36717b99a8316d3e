// Whole installations as an operator runs them without a window: VantorelPipeline.exe
// against the download service, with the scripted fake package and fake old uninstaller.
// What is checked is what a person would look at: the codes printed, the exit code, the
// files in the folders and the registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/fixtures/scripted_setup/overlay.h"
#include "tests/pipeline/download_service.h"
#include "tests/pipeline/fixture_scripts.h"
#include "tests/support/test_files.h"
#include "tests/support/test_processes.h"
#include "utils/child_process.h"
#include "utils/code_page.h"
#include "utils/registry.h"

namespace {

namespace fs = std::filesystem;
using PipelineTests::DownloadService;
using TestSupport::Quoted;

constexpr uint64_t kPackageSize = 2 * 1024 * 1024;  // above the downloaders' 1 MiB floor
constexpr DWORD kRunLimitMs = 180000;

struct PrintedCode {
    int32_t code;
    std::string value;
    std::wstring text;
};

struct ConsoleRun {
    DWORD exitCode = 0;
    std::string output;
    std::vector<PrintedCode> codes;

    // The codes in order without the progress codes, e.g. "1001 1003 2001 2003".
    std::string Sequence() const {
        std::string sequence;
        for (const PrintedCode& printed : codes) {
            if (printed.code == 1002 || printed.code == 2002 || printed.code == 5002) continue;
            sequence += (sequence.empty() ? "" : " ") + std::to_string(printed.code);
        }
        return sequence;
    }
    const PrintedCode* Find(int32_t code) const {
        for (const PrintedCode& printed : codes) {
            if (printed.code == code) return &printed;
        }
        return nullptr;
    }
};

// "code value text" lines; anything else (a refusal) stays in the output only.
std::vector<PrintedCode> ParseCodes(const std::string& output) {
    std::vector<PrintedCode> codes;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        const size_t first = line.find(' ');
        const size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
        if (second == std::string::npos || line.find_first_not_of("0123456789") != first) continue;
        codes.push_back({std::stoi(line.substr(0, first)), line.substr(first + 1, second - first - 1),
                         Utils::MultiByteToWide(line.substr(second + 1), CP_UTF8)});
    }
    return codes;
}

ConsoleRun RunConsole(const std::wstring& arguments) {
    Utils::ChildProcess child;
    child.Launch(Quoted((TestSupport::BinFolder() / L"VantorelPipeline.exe").wstring()) +
                 L" -isenableappusage=false " + arguments);
    // A run that hangs fails the test instead of holding the suite.
    std::thread watchdog([process = child.Process()] {
        if (::WaitForSingleObject(process, kRunLimitMs) == WAIT_TIMEOUT) ::TerminateProcess(process, 99);
    });
    ConsoleRun run;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(child.OutputReadEnd(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        run.output.append(buffer, read);
    }
    ::WaitForSingleObject(child.Process(), INFINITE);
    watchdog.join();
    ::GetExitCodeProcess(child.Process(), &run.exitCode);
    run.codes = ParseCodes(run.output);
    return run;
}

std::wstring Switch(const wchar_t* key, const std::wstring& value) {
    return L" " + Quoted(std::wstring(key) + L"=" + value);
}

// A scripted fake package served by the download service; returns its final URL.
std::wstring PublishPackage(const std::string& name, const std::string& script, uint64_t size = kPackageSize) {
    TestSupport::TempFolder folder;
    const fs::path package = folder.Path() / name;
    EXPECT_TRUE(FixtureOverlay::WriteScripted(TestSupport::BinFolder() / L"fake_package.exe", package, script, size));
    DownloadService& service = DownloadService::Get();
    service.Publish(name, FixtureScripts::ReadFile(package));
    return service.WideUrl("/files/{md5}/" + name);
}

// What a real package prints for a good install into folder. Its paths are UTF-8, which
// it announces first (the announcement counts from the runner's next read).
std::string SuccessfulInstallScript(const fs::path& folder) {
    const std::string dir = FixtureScripts::Text(folder.wstring());
    return "line Encode=UTF8\nsleep 300\nline Progress=0.3\nsleep 50\ninstall\nline Progress=0.8\nline InstPath=" + dir +
           "\nline ExePath=" + dir + "\\\\Vantorel.exe\nline UninstEp=" + dir +
           "\\\\uninst.ep\nline State=Success\n";
}

std::wstring RegistryValue(const wchar_t* name) {
    std::wstring value;
    Utils::ReadRegString(name, value);
    return value;
}

class InstallConsole : public testing::Test {
protected:
    void SetUp() override { ForgetInstall(); }
    void TearDown() override { ForgetInstall(); }

    static void ForgetInstall() { ::RegDeleteTreeW(HKEY_CURRENT_USER, Utils::kProductRegistryKey); }

    // An older version installed in oldFolder whose uninstaller follows the script.
    void RecordOlderVersion(const fs::path& oldFolder, const std::string& uninstallerScript) {
        fs::create_directories(oldFolder);
        EXPECT_TRUE(FixtureOverlay::WriteScripted(TestSupport::BinFolder() / L"fake_uninstaller.exe",
                                                  oldFolder / L"uninst.ep", uninstallerScript));
        for (const wchar_t* file : {L"Vantorel.exe", L"config.ini"}) std::ofstream(oldFolder / file) << "old";
        Utils::WriteRegString(L"InstallPath", oldFolder.wstring());
        Utils::WriteRegString(L"UnInstallEp", (oldFolder / L"uninst.ep").wstring());
    }

    std::string UniqueName() const {
        return std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".exe";
    }
};

TEST_F(InstallConsole, FreshInstallRecordsTheInstall) {
    TestSupport::TempFolder temp;
    const fs::path folder = temp.Path() / L"Vantorel 安装";
    const ConsoleRun run = RunConsole(Switch(L"-downloadurl", PublishPackage(UniqueName(), SuccessfulInstallScript(folder))) +
                                      Switch(L"-installdir", folder.wstring()));
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_EQ(run.Sequence(), "1001 1003 2001 3000 3001 3003 2003") << run.output;
    ASSERT_NE(run.Find(1003), nullptr);
    EXPECT_EQ(run.Find(1003)->text, L"LibCurl");
    EXPECT_EQ(run.Find(1001)->value, "1");
    // The package's CR LF stays in the printed text; the records use the path without it.
    EXPECT_EQ(run.Find(3000)->text, folder.wstring() + L"\r");

    for (const wchar_t* file : {L"Vantorel.exe", L"uninst.ep", L"config.ini", L"set.ini"}) {
        EXPECT_TRUE(fs::exists(folder / file)) << fs::path(file).string();
    }
    EXPECT_EQ(RegistryValue(L"InstallPath"), folder.wstring());
    EXPECT_EQ(RegistryValue(L"UnInstallEp"), (folder / L"uninst.ep").wstring());
}

TEST_F(InstallConsole, OlderVersionIsRemovedBeforeTheDownload) {
    TestSupport::TempFolder temp;
    const fs::path oldFolder = temp.Path() / L"old";
    const fs::path folder = temp.Path() / L"new";
    RecordOlderVersion(oldFolder, "line Progress=0.5\nremove\nline State=Success\n");
    const ConsoleRun run = RunConsole(Switch(L"-downloadurl", PublishPackage(UniqueName(), SuccessfulInstallScript(folder))) +
                                      Switch(L"-installdir", folder.wstring()));
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_EQ(run.Sequence(), "5003 1001 1003 2001 3000 3001 3003 2003") << run.output;
    EXPECT_FALSE(fs::exists(oldFolder / L"Vantorel.exe")) << "the old version was removed";
    EXPECT_TRUE(fs::exists(folder / L"Vantorel.exe"));
    EXPECT_EQ(RegistryValue(L"InstallPath"), folder.wstring());
}

TEST_F(InstallConsole, KeptOldVersionIsNotRemoved) {
    TestSupport::TempFolder temp;
    const fs::path folder = temp.Path() / L"kept";
    RecordOlderVersion(folder, "remove\nline State=Success\n");
    std::ofstream(folder / L"set.ini") << "[Uninstall]\r\nIsOverride=false\r\n";
    // Without -installdir the proposed folder is the previous one, its remover being there.
    const ConsoleRun run = RunConsole(Switch(L"-downloadurl", PublishPackage(UniqueName(), SuccessfulInstallScript(folder))));
    ASSERT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_EQ(run.Sequence(), "1001 1003 2001 3000 3001 3003 2003") << run.output;
}

TEST_F(InstallConsole, RemovalFailureStopsTheRun) {
    TestSupport::TempFolder temp;
    const fs::path oldFolder = temp.Path() / L"old";
    RecordOlderVersion(oldFolder, "line State=Fail\n");
    const ConsoleRun run = RunConsole(Switch(L"-downloadurl", PublishPackage(UniqueName(), "line State=Success\n")) +
                                      Switch(L"-installdir", (temp.Path() / L"new").wstring()));
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    EXPECT_EQ(run.Sequence(), "5005") << run.output;
    EXPECT_EQ(run.Find(5005)->text, L"安装包卸载失败");
    EXPECT_TRUE(fs::exists(oldFolder / L"Vantorel.exe"));
}

TEST_F(InstallConsole, DownloadFailureLeavesNoPackage) {
    TestSupport::TempFolder temp;
    const fs::path folder = temp.Path() / L"target";
    const ConsoleRun run = RunConsole(Switch(L"-downloadurl", DownloadService::Get().WideUrl("/files/none/missing.exe")) +
                                      Switch(L"-installdir", folder.wstring()));
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    EXPECT_EQ(run.Sequence().substr(0, 4), "1001") << run.output;
    EXPECT_EQ(run.codes.back().code, 1004) << run.output;
    EXPECT_FALSE(fs::exists(folder / L"__Package_Vantorel.exe"));
    EXPECT_FALSE(fs::exists(folder / L"__Package_Vantorel.exe.part"));
    EXPECT_EQ(RegistryValue(L"InstallPath"), L"");
}

TEST_F(InstallConsole, InstallFailureDeletesThePackage) {
    TestSupport::TempFolder temp;
    const fs::path folder = temp.Path() / L"target";
    const ConsoleRun run = RunConsole(
        Switch(L"-downloadurl", PublishPackage(UniqueName(), "line Progress=0.5\nline Error=disk full\nline State=Fail\nexit 1\n")) +
        Switch(L"-installdir", folder.wstring()));
    EXPECT_EQ(run.exitCode, 1u) << run.output;
    EXPECT_EQ(run.Sequence(), "1001 1003 2001 2004") << run.output;
    // The runner reports once the package has exited, so its file can go.
    for (int i = 0; i < 50 && fs::exists(folder / L"__Package_Vantorel.exe"); ++i) ::Sleep(100);
    EXPECT_FALSE(fs::exists(folder / L"__Package_Vantorel.exe"));
    EXPECT_EQ(RegistryValue(L"InstallPath"), L"");
}

struct DownloaderChoice {
    int32_t downloadType;
    const char* downloader;
};

// Seen from the service: the multi-part downloader asks for two ranges, the URL moniker
// sends a browser's user agent, the single-connection client neither.
std::string DownloaderSeenBy(const Json::Value& gets) {
    if (gets.size() == 2 && !gets[0]["range"].asString().empty() && !gets[1]["range"].asString().empty()) {
        return "multi-part";
    }
    if (gets.size() == 1 && !gets[0]["user_agent"].asString().empty()) return "moniker";
    if (gets.size() == 1 && gets[0]["range"].asString().empty()) return "single";
    return "unexpected: " + gets.toStyledString();
}

TEST_F(InstallConsole, DownloadTypeChoosesTheDownloader) {
    const DownloaderChoice choices[] = {{0, "single"}, {1, "single"}, {2, "moniker"}, {3, "multi-part"}, {4, "single"}};
    for (const DownloaderChoice& choice : choices) {
        SCOPED_TRACE(testing::Message() << "DownloadType " << choice.downloadType);
        ForgetInstall();
        TestSupport::TempFolder temp;
        const fs::path folder = temp.Path() / L"target";
        const std::string name = "choice" + std::to_string(choice.downloadType) + ".exe";
        // 21 MiB: large enough for the multi-part downloader to use two parts.
        PublishPackage(name, SuccessfulInstallScript(folder), 21 * 1024 * 1024);
        DownloadService& service = DownloadService::Get();
        service.Reset();
        const ConsoleRun run = RunConsole(Switch(L"-downloadurl", service.WideUrl("/f/plain/{md5}/" + name)) +
                                          Switch(L"-installdir", folder.wstring()) +
                                          Switch(L"-downloadtype", std::to_wstring(choice.downloadType)));
        EXPECT_EQ(run.exitCode, 0u) << run.output;
        EXPECT_EQ(run.codes.empty() ? 0 : run.codes.back().code, 2003) << run.output;
        EXPECT_EQ(DownloaderSeenBy(service.RequestsWith("GET")), choice.downloader);
    }
}

TEST_F(InstallConsole, FolderThatCannotBeCreatedIsRefused) {
    TestSupport::TempFolder temp;
    const fs::path blocker = temp.WriteFile(L"a file", "not a folder");
    const ConsoleRun run = RunConsole(Switch(L"-downloadurl", L"http://127.0.0.1:9/none") +
                                      Switch(L"-installdir", (blocker / L"Vantorel").wstring()));
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_NE(run.output.find("refused: the install folder cannot be created: "), std::string::npos) << run.output;
    EXPECT_TRUE(run.codes.empty()) << run.output;
}

TEST_F(InstallConsole, RunningProductIsRefusedUnlessInsNew) {
    TestSupport::TempFolder temp;
    const fs::path product = temp.Path() / L"Vantorel.exe";
    ASSERT_TRUE(FixtureOverlay::WriteScripted(TestSupport::BinFolder() / L"fake_package.exe", product, "sleep 60000\n"));
    auto running = TestSupport::StartProcess(Quoted(product.wstring()));
    ASSERT_TRUE(running);
    ::Sleep(300);

    const fs::path folder = temp.Path() / L"target";
    const std::wstring url = PublishPackage(UniqueName(), SuccessfulInstallScript(folder));
    const ConsoleRun refused = RunConsole(Switch(L"-downloadurl", url) + Switch(L"-installdir", folder.wstring()));
    EXPECT_EQ(refused.exitCode, 1u);
    EXPECT_NE(refused.output.find("refused: Vantorel.exe is running"), std::string::npos) << refused.output;

    // "-insnew=true" skips the check: nothing old is recorded, so the install goes ahead.
    const ConsoleRun insNew = RunConsole(Switch(L"-downloadurl", url) + Switch(L"-installdir", folder.wstring()) +
                                         L" -insnew=true");
    EXPECT_EQ(insNew.exitCode, 0u) << insNew.output;
}

TEST_F(InstallConsole, InsNewWaitsForTheRunningProductBeforeRemoval) {
    TestSupport::TempFolder temp;
    const fs::path oldFolder = temp.Path() / L"old";
    RecordOlderVersion(oldFolder, "remove\nline State=Success\n");
    // A product that goes away by itself a little later, as after a user closes it.
    const fs::path product = temp.Path() / L"Vantorel.exe";
    ASSERT_TRUE(FixtureOverlay::WriteScripted(TestSupport::BinFolder() / L"fake_package.exe", product, "sleep 3000\n"));
    auto running = TestSupport::StartProcess(Quoted(product.wstring()));
    ASSERT_TRUE(running);

    const fs::path folder = temp.Path() / L"new";
    const ConsoleRun run = RunConsole(Switch(L"-downloadurl", PublishPackage(UniqueName(), SuccessfulInstallScript(folder))) +
                                      Switch(L"-installdir", folder.wstring()) + L" -insnew=true");
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_EQ(run.Sequence(), "5003 1001 1003 2001 3000 3001 3003 2003") << run.output;
    EXPECT_TRUE(TestSupport::WaitForExit(*running, 0).has_value())
        << "the removal started while the product was still running";
}

}  // namespace
