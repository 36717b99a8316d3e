// The transfer client against the real service: what it asks, how it resumes, the size
// floor, 2 GiB+ offsets, and abort on destruction.
#include "pipeline/curl_client.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <thread>

#include "tests/pipeline/download_files.h"
#include "tests/pipeline/download_service.h"

namespace PipelineTests {
namespace {

namespace fs = std::filesystem;

class CurlClientTest : public testing::Test {
protected:
    void SetUp() override { Service().Reset(); }
    static DownloadService& Service() { return DownloadService::Get(); }

    PackageFolder folder_;
};

TEST_F(CurlClientTest, ProbesThenGetsTheFinalUrlWithItsHeaders) {
    CurlClient client(Service().WideUrl("/f/plain/{md5}/pkg"), folder_.PackagePath(), nullptr, nullptr);
    ASSERT_EQ(0, client.Start());

    EXPECT_EQ(Service().Url("/f/plain/{md5}/pkg"), client.RealUrl());
    EXPECT_EQ(Service().PackageInfo("pkg").md5, Md5Of(folder_.PackagePath()));
    EXPECT_FALSE(fs::exists(folder_.PartialPath()));
    const Json::Value requests = Service().Requests();
    ASSERT_EQ(2u, requests.size());
    EXPECT_EQ("HEAD", requests[0]["method"].asString());
    EXPECT_EQ("GET", requests[1]["method"].asString());
    EXPECT_EQ("", requests[1]["range"].asString());
    EXPECT_EQ("keep-alive", requests[1]["connection"].asString());
    EXPECT_EQ("gzip, deflate", requests[1]["accept_encoding"].asString());
    EXPECT_EQ("", requests[1]["user_agent"].asString());
}

TEST_F(CurlClientTest, FollowsTheRedirectChainToTheDigestUrl) {
    CurlClient client(Service().WideUrl("/software/467"), folder_.PackagePath(), nullptr, nullptr);
    ASSERT_EQ(0, client.Start());
    EXPECT_EQ(Service().Url("/files/{md5}/pkg"), client.RealUrl());
    EXPECT_EQ(Service().PackageInfo("pkg").md5, Md5Of(folder_.PackagePath()));
}

TEST_F(CurlClientTest, ResumesFromAnEarlierPartFile) {
    WriteBytes(folder_.PartialPath(), Service().PackageBytes("pkg", 0, 499));
    std::vector<double> percents;
    CurlClient client(Service().WideUrl("/f/plain/{md5}/pkg"), folder_.PackagePath(), &percents,
                      [](void* owner, double, double percent) { static_cast<std::vector<double>*>(owner)->push_back(percent); });
    ASSERT_EQ(0, client.Start());

    const Json::Value gets = Service().RequestsWith("GET");
    ASSERT_EQ(1u, gets.size());
    EXPECT_EQ("bytes=500-", gets[0]["range"].asString());
    EXPECT_EQ(Service().PackageInfo("pkg").md5, Md5Of(folder_.PackagePath()));
    // Progress counts the 500 bytes that were already there.
    ASSERT_FALSE(percents.empty());
    EXPECT_GE(percents.front(), 500.0 * 100 / static_cast<double>(Service().PackageInfo("pkg").size));
}

TEST_F(CurlClientTest, SizeFloorIsOneMebibyte) {
    CurlClient exact(Service().WideUrl("/software/floor"), folder_.PackagePath(), nullptr, nullptr);
    EXPECT_EQ(0, exact.Start());
    EXPECT_EQ(1048576, fs::file_size(folder_.PackagePath()));

    PackageFolder other;
    CurlClient below(Service().WideUrl("/software/below_floor"), other.PackagePath(), nullptr, nullptr);
    EXPECT_EQ(CurlClient::kSizeUnknownOrTooSmall, below.Start());
    EXPECT_FALSE(fs::exists(other.PackagePath()));
    EXPECT_FALSE(fs::exists(other.PartialPath()));
}

TEST_F(CurlClientTest, ResumesBeyondTwoGibibytes) {
    const int64_t size = Service().PackageInfo("huge").size;
    const int64_t partial = 2147483648LL;  // 2^31: past any 32-bit offset
    WriteSparseFile(folder_.PartialPath(), partial);
    CurlClient client(Service().WideUrl("/f/plain/none/huge"), folder_.PackagePath(), nullptr, nullptr);
    ASSERT_EQ(0, client.Start());

    const Json::Value gets = Service().RequestsWith("GET");
    ASSERT_EQ(1u, gets.size());
    EXPECT_EQ("bytes=2147483648-", gets[0]["range"].asString());
    EXPECT_EQ(size, static_cast<int64_t>(fs::file_size(folder_.PackagePath())));
    EXPECT_TRUE(ReadBytes(folder_.PackagePath(), partial, size - partial) ==
                Service().PackageBytes("huge", partial, size - 1));
}

TEST_F(CurlClientTest, AbortEndsARunningTransferAndDestructionDropsThePartFile) {
    auto client = std::make_unique<CurlClient>(Service().WideUrl("/f/rate=200000/{md5}/pkg"),
                                               folder_.PackagePath(), nullptr, nullptr);
    auto attempt = std::async(std::launch::async, [&] { return client->Start(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    client->RequestAbort();
    ASSERT_EQ(std::future_status::ready, attempt.wait_for(std::chrono::seconds(5)));
    EXPECT_EQ(CURLE_ABORTED_BY_CALLBACK, attempt.get());
    EXPECT_GT(fs::file_size(folder_.PartialPath()), 0u);

    client.reset();
    EXPECT_FALSE(fs::exists(folder_.PartialPath()));
    EXPECT_FALSE(fs::exists(folder_.PackagePath()));
}

}  // namespace
}  // namespace PipelineTests
