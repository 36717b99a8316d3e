// The multi-part downloader's code sequences, part ranges and resume against real
// servers, and its destruction while parts run.
#include "pipeline/mt_curl_downloader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "app/settings/installer_config.h"
#include "pipeline/status_callback.h"
#include "tests/pipeline/download_files.h"
#include "tests/pipeline/download_service.h"
#include "tests/pipeline/status_recorder.h"

namespace PipelineTests {
namespace {

namespace fs = std::filesystem;

struct MtRow {
    const char* name;
    const char* route;
    const wchar_t* sequence;  // codes without progress; runs separated by " | "
    // Range headers of the GETs the fault server saw, in order of their start offset
    // within each run; empty when not checked.
    std::vector<std::string> ranges = {};
};

void PrintTo(const MtRow& row, std::ostream* out) { *out << row.name; }

const MtRow kMtRows[] = {
    {"RedirectChainToDigest", "/software/pkg", LR"(1001(1,"") 1003(0,"LibCurl"))"},
    {"DigestInUpperCase", "/upper/pkg",
     LR"(1001(1,"") 1006(0,"mtcurl文件md5校验失败") 1005(0,"LibCurl") | 1001(1,"") 1006(0,"mtcurl文件md5校验失败") 1004(0,"LibCurl"))"},
    {"NoDigestInFinalUrl", "/nodigest/pkg", LR"(1001(1,"") 1006(0,"mtcurl获取url-md5失败") 1003(0,"LibCurl"))"},
    {"TooSmallAt255Bytes", "/software/tiny", LR"(1001(1,"") 1004(0,"LibCurl"))"},
    {"LargeEnoughAt256Bytes", "/software/small256", LR"(1001(1,"") 1003(0,"LibCurl"))", {}},
    {"RedirectLoop", "/loop/pkg", LR"(1001(1,"") 1004(0,"LibCurl"))"},
    {"OnePartBelowTwentyMebibytes", "/f/plain/{md5}/mt_below", LR"(1001(1,"") 1003(0,"LibCurl"))",
     {"bytes=0-20971518"}},
    {"TwoEqualPartsAtTwentyMebibytes", "/f/plain/{md5}/mt_exact", LR"(1001(1,"") 1003(0,"LibCurl"))",
     {"bytes=0-10485759", "bytes=10485760-20971519"}},
    {"LastPartTakesTheRemainder", "/f/plain/{md5}/mt_above", LR"(1001(1,"") 1003(0,"LibCurl"))",
     {"bytes=0-10485759", "bytes=10485760-20971520"}},
    {"ErrorStatusSevenTimesPerRun", "/f/getstatus=404/{md5}/pkg",
     LR"(1001(1,"") 1005(22,"LibCurl") | 1001(1,"") 1004(22,"LibCurl"))",
     {"bytes=0-3150048", "bytes=0-3150048", "bytes=0-3150048", "bytes=0-3150048", "bytes=0-3150048",
      "bytes=0-3150048", "bytes=0-3150048", "bytes=0-3150048", "bytes=0-3150048", "bytes=0-3150048",
      "bytes=0-3150048", "bytes=0-3150048", "bytes=0-3150048", "bytes=0-3150048"}},
    {"StallMidBodyEndsTheAttempt", "/f/stall=500000,times=1/{md5}/pkg", LR"(1001(1,"") 1003(0,"LibCurl"))",
     {"bytes=0-3150048", "bytes=500000-3150048"}},
    // Range ignored: the second part would get the file's first bytes; it refuses them
    // instead of storing them at the wrong place.
    {"RangeIgnoredIsRefused", "/f/norange/{md5}/mt_above",
     LR"(1001(1,"") 1005(23,"LibCurl") | 1001(1,"") 1004(23,"LibCurl"))"},
};

class MtCurlDownloaderTable : public testing::TestWithParam<MtRow> {
protected:
    void SetUp() override { DownloadService::Get().Reset(); }
    PackageFolder folder_;
};

std::vector<std::string> SortedRanges(const Json::Value& gets) {
    std::vector<std::string> ranges;
    for (const Json::Value& get : gets) ranges.push_back(get["range"].asString());
    // Two parts run at once, so their order of arrival is not fixed; order by offset.
    std::stable_sort(ranges.begin(), ranges.end(), [](const std::string& a, const std::string& b) {
        return std::stoll(a.substr(6)) < std::stoll(b.substr(6));
    });
    return ranges;
}

TEST_P(MtCurlDownloaderTable, SendsTheCodesInOrder) {
    const MtRow& row = GetParam();
    DownloadService& service = DownloadService::Get();
    StatusRecorder recorder;
    {
        CMTCurlDownloader downloader(recorder.Callback(), service.WideUrl(row.route), folder_.PackagePath());
        ASSERT_TRUE(recorder.RunToEnd(downloader)) << "no end code";
        EXPECT_EQ(row.sequence, recorder.Sequence());
        if (recorder.Sequence().ends_with(L"1003(0,\"LibCurl\")")) {
            const std::string route = row.route;
            EXPECT_EQ(service.PackageInfo(route.substr(route.rfind('/') + 1)).md5, Md5Of(folder_.PackagePath()));
        }
        if (!row.ranges.empty()) {
            EXPECT_EQ(row.ranges, SortedRanges(service.RequestsWith("GET")));
        }
        for (double value : recorder.ProgressValues()) {
            EXPECT_GT(value, 0.0);
            EXPECT_LE(value, 1.0);
        }
        // No failure leaves bytes of the wrong place in the second part's file.
        if (fs::exists(folder_.PartPath(1))) {
            EXPECT_EQ(0u, fs::file_size(folder_.PartPath(1)));
        }
    }
    EXPECT_FALSE(fs::exists(folder_.PartPath(0)));
    EXPECT_FALSE(fs::exists(folder_.PartPath(1)));
}

INSTANTIATE_TEST_SUITE_P(Service, MtCurlDownloaderTable, testing::ValuesIn(kMtRows),
                         [](const testing::TestParamInfo<MtRow>& info) { return std::string(info.param.name); });

TEST(MtCurlDownloader, PartialFilesResumeInTheNextRun) {
    // The second part is cut off after 1000 bytes 13 times (each cut costs half a
    // retry); the next run requests only what its file still lacks, the complete first
    // part not at all.
    DownloadService& service = DownloadService::Get();
    service.Reset();
    PackageFolder folder;
    StatusRecorder recorder;
    CMTCurlDownloader downloader(recorder.Callback(), service.WideUrl("/f/drop=1000,times=13,from=10485760/{md5}/mt_above"),
                                 folder.PackagePath());
    ASSERT_TRUE(recorder.RunToEnd(downloader));
    EXPECT_EQ(LR"(1001(1,"") 1005(18,"LibCurl") | 1001(1,"") 1003(0,"LibCurl"))", recorder.Sequence());
    std::vector<std::string> expected = {"bytes=0-10485759"};
    for (int cut = 0; cut <= 13; ++cut) expected.push_back("bytes=" + std::to_string(10485760 + cut * 1000) + "-20971520");
    EXPECT_EQ(expected, SortedRanges(service.RequestsWith("GET")));
    EXPECT_EQ(service.PackageInfo("mt_above").md5, Md5Of(folder.PackagePath()));
}

TEST(MtCurlDownloader, ConstructorDeletesThePackageAndPartFiles) {
    PackageFolder folder;
    for (const fs::path& path : {folder.PackagePath(), folder.PartPath(0), folder.PartPath(1)}) WriteBytes(path, "old");
    CMTCurlDownloader downloader(nullptr, L"http://127.0.0.1:9/", folder.PackagePath());
    for (const fs::path& path : {folder.PackagePath(), folder.PartPath(0), folder.PartPath(1)}) {
        EXPECT_FALSE(fs::exists(path)) << path;
    }
}

TEST(MtCurlDownloader, CurlNotReadyFailsAtOnce) {
    PackageFolder folder;
    StatusRecorder recorder;
    g_InstallerConfig.CurlReady = false;
    CMTCurlDownloader downloader(recorder.Callback(), DownloadService::Get().WideUrl("/software/pkg"),
                                 folder.PackagePath());
    const bool ended = recorder.RunToEnd(downloader);
    g_InstallerConfig.CurlReady = true;
    ASSERT_TRUE(ended);
    EXPECT_EQ(LR"(1001(1,"") 1004(0,"LibCurl"))", recorder.Sequence());
}

TEST(MtCurlDownloader, DestructionWhilePartsRunStopsThemAndRemovesTheirFiles) {
    PackageFolder folder;
    StatusRecorder recorder;
    auto downloader = std::make_unique<CMTCurlDownloader>(
        recorder.Callback(), DownloadService::Get().WideUrl("/f/rate=1000000/{md5}/mt_above"), folder.PackagePath());
    downloader->Start();
    ASSERT_TRUE(recorder.WaitFor(DL_CODE_PROGRESS, std::chrono::seconds(10)));
    ASSERT_TRUE(fs::exists(folder.PartPath(1)));

    const auto before = std::chrono::steady_clock::now();
    downloader.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(3));
    const size_t codes = recorder.Events().size();
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    EXPECT_EQ(codes, recorder.Events().size());
    EXPECT_EQ(L"1001(1,\"\")", recorder.Sequence());
    for (const fs::path& path : {folder.PackagePath(), folder.PartPath(0), folder.PartPath(1)}) {
        EXPECT_FALSE(fs::exists(path)) << path;
    }
}

}  // namespace
}  // namespace PipelineTests
