// The single-connection downloader's code sequences against real servers, one row per
// way the service can answer.
#include "pipeline/curl_downloader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "pipeline/status_callback.h"
#include "tests/pipeline/download_files.h"
#include "tests/pipeline/download_service.h"
#include "tests/pipeline/status_recorder.h"

namespace PipelineTests {
namespace {

namespace fs = std::filesystem;

constexpr int kAny = -1;

struct CurlRow {
    const char* name;
    const char* route;
    const wchar_t* sequence;  // codes without progress; runs separated by " | "
    int gets;                 // GET requests the fault server saw, kAny when not counted
    std::vector<std::string> ranges = {};  // Range headers of those GETs, when given
};

void PrintTo(const CurlRow& row, std::ostream* out) { *out << row.name; }

const CurlRow kCurlRows[] = {
    {"RedirectChainToDigest", "/software/pkg", LR"(1001(1,"") 1003(0,"LibCurl"))", kAny},
    {"DigestInUpperCase", "/upper/pkg",
     LR"(1001(1,"") 1006(0,"curl文件md5校验失败") 1005(0,"LibCurl") | 1001(1,"") 1006(0,"curl文件md5校验失败") 1004(0,"LibCurl"))",
     kAny},
    {"NoDigestInFinalUrl", "/nodigest/pkg", LR"(1001(1,"") 1006(0,"curl获取url-md5失败") 1003(0,"LibCurl"))", kAny},
    {"ExactlyOneMebibyte", "/software/floor", LR"(1001(1,"") 1003(0,"LibCurl"))", kAny},
    {"OneByteBelowTheFloor", "/software/below_floor", LR"(1001(1,"") 1004(-998,"LibCurl"))", kAny},
    {"RedirectLoop", "/loop/pkg", LR"(1001(1,"") 1004(-998,"LibCurl"))", kAny},
    // The direct size probe reports the status but still takes the size it was given.
    {"HeadAnswers500WithTheSize", "/f/headstatus=500/{md5}/pkg", LR"(1001(1,"") 1003(0,"LibCurl"))", 1},
    {"HeadAnswers400WithTheSize", "/f/headstatus=400/{md5}/pkg", LR"(1001(1,"") 1003(0,"LibCurl"))", 1},
    {"FiveErrorStatusesThenSuccess", "/f/getstatus=404,times=5/{md5}/pkg", LR"(1001(1,"") 1003(0,"LibCurl"))", 6},
    {"SixErrorStatusesExhaustTheBudget", "/f/getstatus=404,times=6/{md5}/pkg", LR"(1001(1,"") 1004(22,"LibCurl"))", 6},
    {"DroppedTwiceResumesEachTime", "/f/drop=300000,times=2/{md5}/pkg", LR"(1001(1,"") 1003(0,"LibCurl"))", 3,
     {"", "bytes=300000-", "bytes=600000-"}},
    {"CutOffEveryTimeAllowsTwelveAttempts", "/f/drop=1000/{md5}/pkg", LR"(1001(1,"") 1004(18,"LibCurl"))", 12},
    // The whole body arrived: the resume at the file's end completes it without new bytes.
    {"LongerContentLengthThanBody", "/f/lie=1000,times=1/{md5}/pkg", LR"(1001(1,"") 1003(0,"LibCurl"))", 2,
     {"", "bytes=3150049-"}},
    {"RangeIgnoredStartsOver", "/f/drop=300000,times=1,norange/{md5}/pkg", LR"(1001(1,"") 1003(0,"LibCurl"))", 3,
     {"", "bytes=300000-", ""}},
    {"StallMidBodyEndsTheAttempt", "/f/stall=500000,times=1/{md5}/pkg", LR"(1001(1,"") 1003(0,"LibCurl"))", 2,
     {"", "bytes=500000-"}},
};

class CurlDownloaderTable : public testing::TestWithParam<CurlRow> {
protected:
    void SetUp() override { DownloadService::Get().Reset(); }
    PackageFolder folder_;
};

TEST_P(CurlDownloaderTable, SendsTheCodesInOrder) {
    const CurlRow& row = GetParam();
    DownloadService& service = DownloadService::Get();
    StatusRecorder recorder;
    {
        CCurlDownloader downloader(recorder.Callback(), service.WideUrl(row.route), folder_.PackagePath());
        ASSERT_TRUE(recorder.RunToEnd(downloader)) << "no end code";
        EXPECT_EQ(row.sequence, recorder.Sequence());

        const std::wstring sequence = recorder.Sequence();
        if (sequence.ends_with(L"1003(0,\"LibCurl\")")) {
            const std::string name = std::string(row.route).substr(std::string(row.route).rfind('/') + 1);
            EXPECT_EQ(service.PackageInfo(name).md5, Md5Of(folder_.PackagePath()));
            EXPECT_FALSE(fs::exists(folder_.PartialPath()));
        }
        if (row.gets != kAny) {
            const Json::Value gets = service.RequestsWith("GET");
            EXPECT_EQ(row.gets, static_cast<int>(gets.size()));
            for (size_t i = 0; i < row.ranges.size() && i < gets.size(); ++i) {
                EXPECT_EQ(row.ranges[i], gets[static_cast<int>(i)]["range"].asString()) << "GET " << i;
            }
        }
        for (double value : recorder.ProgressValues()) {
            EXPECT_GT(value, 0.0);
            EXPECT_LE(value, 1.0);
        }
    }
    // Nothing half-written is left behind by the downloader's end.
    EXPECT_FALSE(fs::exists(folder_.PartialPath()));
}

INSTANTIATE_TEST_SUITE_P(Service, CurlDownloaderTable, testing::ValuesIn(kCurlRows),
                         [](const testing::TestParamInfo<CurlRow>& info) { return std::string(info.param.name); });

TEST(CurlDownloader, BelowTheFloorCreatesNoFile) {
    PackageFolder folder;
    StatusRecorder recorder;
    CCurlDownloader downloader(recorder.Callback(), DownloadService::Get().WideUrl("/software/below_floor"),
                               folder.PackagePath());
    ASSERT_TRUE(recorder.RunToEnd(downloader));
    EXPECT_FALSE(fs::exists(folder.PackagePath()));
    EXPECT_FALSE(fs::exists(folder.PartialPath()));
}

TEST(CurlDownloader, LeftoverPartFileOfAnEarlierRunIsNotResumed) {
    DownloadService& service = DownloadService::Get();
    service.Reset();
    PackageFolder folder;
    WriteBytes(folder.PartialPath(), "bytes of some other package");
    StatusRecorder recorder;
    CCurlDownloader downloader(recorder.Callback(), service.WideUrl("/f/plain/{md5}/pkg"), folder.PackagePath());
    EXPECT_FALSE(fs::exists(folder.PartialPath()));
    ASSERT_TRUE(recorder.RunToEnd(downloader));
    EXPECT_EQ(service.PackageInfo("pkg").md5, Md5Of(folder.PackagePath()));
    EXPECT_EQ("", service.RequestsWith("GET")[0]["range"].asString());
}

TEST(CurlDownloader, ReportsProgressAsAFraction) {
    PackageFolder folder;
    StatusRecorder recorder;
    CCurlDownloader downloader(recorder.Callback(), DownloadService::Get().WideUrl("/f/rate=1500000/{md5}/pkg"),
                               folder.PackagePath());
    ASSERT_TRUE(recorder.RunToEnd(downloader));
    const std::vector<double> progress = recorder.ProgressValues();
    ASSERT_GE(progress.size(), 1u);
    for (size_t i = 1; i < progress.size(); ++i) EXPECT_GE(progress[i], progress[i - 1]);
}

TEST(CurlDownloader, RetryStartedFromTheReportingWorkerRunsAfterIt) {
    // A pipeline that restarts straight from the 1005 handler calls Start on the
    // downloader's own worker; that must neither deadlock nor run two workers at once.
    PackageFolder folder;
    StatusRecorder recorder;
    CCurlDownloader* downloader = nullptr;
    const StatusCallback record = recorder.Callback();
    CCurlDownloader owned(
        [&](int32_t code, double value, const wchar_t* text) {
            record(code, value, text);
            if (code == DL_CODE_RETRY) downloader->Start();
        },
        DownloadService::Get().WideUrl("/upper/pkg"), folder.PackagePath());
    downloader = &owned;
    owned.Start();
    ASSERT_TRUE(recorder.WaitFor(DL_CODE_FAIL, std::chrono::seconds(30)));
    EXPECT_EQ(LR"(1001(1,"") 1006(0,"curl文件md5校验失败") 1005(0,"LibCurl") | 1001(1,"") 1006(0,"curl文件md5校验失败") 1004(0,"LibCurl"))",
              recorder.Sequence());
}

TEST(CurlDownloader, DestructionWhileTransferringStopsWithoutFurtherCodes) {
    PackageFolder folder;
    StatusRecorder recorder;
    auto downloader = std::make_unique<CCurlDownloader>(
        recorder.Callback(), DownloadService::Get().WideUrl("/f/rate=300000/{md5}/pkg"), folder.PackagePath());
    downloader->Start();
    ASSERT_TRUE(recorder.WaitFor(DL_CODE_PROGRESS, std::chrono::seconds(10)));

    const auto before = std::chrono::steady_clock::now();
    downloader.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(3));
    const size_t codes = recorder.Events().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_EQ(codes, recorder.Events().size());
    EXPECT_EQ(L"1001(1,\"\")", recorder.Sequence());
    EXPECT_FALSE(fs::exists(folder.PartialPath()));
    EXPECT_FALSE(fs::exists(folder.PackagePath()));
}

}  // namespace
}  // namespace PipelineTests
