#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>
#include <vector>

#include "analytics/sdk/sdk.h"
#include "tests/analytics/collector_process.h"
#include "tests/support/test_files.h"

namespace {

using usage_analytics::PropertiesNode;
using usage_analytics::Sdk;

constexpr int kThreads = 4;
constexpr int kRecordsPerThread = 250;  // 1000 in all: below the queue bound, so nothing may drop

TEST(SdkConcurrency, AddingWhileFlushingLosesAndDuplicatesNothing) {
    AnalyticsTests::CollectorProcess collector;
    TestSupport::TempFolder folder;
    ASSERT_TRUE(Sdk::Init((folder.Path() / L"staged.txt").string(), collector.UploadUrl(), "device-1", false));

    std::atomic<int> addersRunning{kThreads};
    std::atomic<bool> flusherStarted{false};
    std::thread flusher([&] {
        while (addersRunning > 0) {
            Sdk::FlushAll();
            flusherStarted = true;
        }
    });
    std::vector<std::thread> adders;
    for (int thread = 0; thread < kThreads; ++thread) {
        adders.emplace_back([thread, &addersRunning, &flusherStarted] {
            while (!flusherStarted) std::this_thread::yield();
            for (int i = 0; i < kRecordsPerThread; ++i) {
                PropertiesNode properties;
                properties.SetNumber("seq", thread * 10000 + i);
                Sdk::Track("Concurrent", properties);
                // Bursts: adders collide with each other, and uploads run between bursts.
                if (i % 50 == 49) std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            --addersRunning;
        });
    }
    for (std::thread& adder : adders) adder.join();
    flusher.join();
    const auto uploadedWhileAdding = collector.Uploads().size();
    ASSERT_TRUE(Sdk::FlushAll());
    Sdk::Shutdown();

    std::multiset<int> received;
    for (const Json::Value& upload : collector.Uploads()) {
        EXPECT_EQ(upload["error"], "");
        EXPECT_LE(upload["records"].size(), 30u);
        for (const Json::Value& record : upload["records"]) received.insert(record["properties"]["seq"].asInt());
    }
    std::multiset<int> expected;
    for (int thread = 0; thread < kThreads; ++thread) {
        for (int i = 0; i < kRecordsPerThread; ++i) expected.insert(thread * 10000 + i);
    }
    EXPECT_EQ(received, expected);
    EXPECT_GT(uploadedWhileAdding, 1u);
}

}  // namespace
