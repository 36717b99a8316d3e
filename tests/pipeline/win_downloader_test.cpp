// The moniker downloader through Wine's URL download service against the real servers.
#include "pipeline/win_downloader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "pipeline/status_callback.h"
#include "tests/pipeline/download_files.h"
#include "tests/pipeline/download_service.h"
#include "tests/pipeline/status_recorder.h"

namespace PipelineTests {
namespace {

namespace fs = std::filesystem;

TEST(WinDownloader, DownloadsThroughTheRedirectChain) {
    PackageFolder folder;
    StatusRecorder recorder;
    CWinDownloader downloader(recorder.Callback(), DownloadService::Get().WideUrl("/software/pkg"), folder.PackagePath());
    ASSERT_TRUE(recorder.RunToEnd(downloader));
    EXPECT_EQ(LR"(1001(1,"") 1003(0,"URLDownloadToFile"))", recorder.Sequence());
    EXPECT_EQ(DownloadService::Get().PackageInfo("pkg").md5, Md5Of(folder.PackagePath()));
    for (double value : recorder.ProgressValues()) {
        EXPECT_GE(value, 0.0);
        EXPECT_LE(value, 1.0);
    }
}

TEST(WinDownloader, FailedAttemptsEndWithTheLastResult) {
    // Wine's URL download service takes an error status as a download (it stores the
    // error page), so a refused connection stands for a failing server here.
    PackageFolder folder;
    StatusRecorder recorder;
    CWinDownloader downloader(recorder.Callback(), L"http://127.0.0.1:9/software/pkg", folder.PackagePath());
    ASSERT_TRUE(recorder.RunToEnd(downloader));
    const std::vector<StatusEvent> events = recorder.Events();
    ASSERT_EQ(2u, events.size()) << recorder.Sequence();
    EXPECT_EQ(DL_CODE_START, events[0].code);
    EXPECT_EQ(DL_CODE_FAIL, events[1].code);
    EXPECT_LT(events[1].value, 0.0) << "an HRESULT failure";
    EXPECT_EQ(L"URLDownloadToFile", events[1].text);
}

TEST(WinDownloader, RequestUrlIsFormEncodedUtf8) {
    const struct {
        const wchar_t* url;
        const wchar_t* request;
    } rows[] = {
        {L"http://h/echo/a b/\u00e9?x=1&y", L"http://h/echo/a+b/%C3%A9?x=1&y"},
        {L"http://h/\u5b89\u88c5", L"http://h/%E5%AE%89%E8%A3%85"},
        {L"file:///C:/a b/\u00e9.exe", L"file:///C:/a b/\u00e9.exe"},
    };
    for (const auto& row : rows) EXPECT_EQ(row.request, CWinDownloader::RequestUrl(row.url)) << row.url;
}

TEST(WinDownloader, ServerSeesTheEncodedPath) {
    DownloadService& service = DownloadService::Get();
    service.Reset();
    PackageFolder folder;
    StatusRecorder recorder;
    CWinDownloader downloader(recorder.Callback(), service.WideUrl("/echo/a b/") + L"\u00e9", folder.PackagePath());
    ASSERT_TRUE(recorder.RunToEnd(downloader));
    EXPECT_EQ(LR"(1001(1,"") 1003(0,"URLDownloadToFile"))", recorder.Sequence());
    const Json::Value gets = service.RequestsWith("GET");
    ASSERT_FALSE(gets.empty());
    EXPECT_EQ("/echo/a+b/%C3%A9", gets[0]["path"].asString());
}

TEST(WinDownloader, DestructionWithoutStartReturns) {
    PackageFolder folder;
    const auto before = std::chrono::steady_clock::now();
    { CWinDownloader downloader(nullptr, L"http://127.0.0.1:9/", folder.PackagePath()); }
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(1));
}

}  // namespace
}  // namespace PipelineTests
