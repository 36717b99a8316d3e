// Measures the analytics client for bench/analytics/run, which compares the figures
// with a peer. Prints one line: "<mode> <records> <seconds>".
//   analytics_bench add                 4 threads add 100,000 records, no upload
//   analytics_bench upload URL ROUNDS   per round: queue 1024 records, time FlushAll
#include <curl/curl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "analytics/sdk/record_store.h"
#include "analytics/sdk/sdk.h"

namespace {

using Clock = std::chrono::steady_clock;
using usage_analytics::PropertiesNode;
using usage_analytics::Sdk;

constexpr int kAddThreads = 4;
constexpr int kAddRecords = 100'000;

// A typical installer event: a handful of short properties.
void TrackTypicalEvent(int thread, int index) {
    PropertiesNode properties;
    properties.SetString("task_name", "download");
    properties.SetString("task_result", index % 7 == 0 ? "failed" : "success");
    properties.SetNumber("task_duration", index % 1000);
    properties.SetNumber("thread", thread);
    properties.SetString("app_version", "3.2.1.1024");
    properties.SetBool("is_first", index == 0);
    Sdk::Track("QmEventTask", properties);
}

std::string StagingFile() {
    return (std::filesystem::temp_directory_path() / "vantorel-analytics-bench.txt").string();
}

double Seconds(Clock::duration elapsed) { return std::chrono::duration<double>(elapsed).count(); }

int BenchAdding() {
    // Nothing listens on the discard port; nothing is flushed anyway.
    if (!Sdk::Init(StagingFile(), "http://127.0.0.1:9/sa?project=pc", "bench-device", false)) return 1;
    const auto started = Clock::now();
    std::vector<std::thread> threads;
    for (int thread = 0; thread < kAddThreads; ++thread) {
        threads.emplace_back([thread] {
            for (int index = 0; index < kAddRecords / kAddThreads; ++index) TrackTypicalEvent(thread, index);
        });
    }
    for (std::thread& thread : threads) thread.join();
    const double seconds = Seconds(Clock::now() - started);
    Sdk::Shutdown();
    std::filesystem::remove(StagingFile());
    std::printf("add %d %.6f\n", kAddRecords, seconds);
    return 0;
}

int BenchUploading(const std::string& url, int rounds) {
    if (!Sdk::Init(StagingFile(), url, "bench-device", false)) return 1;
    Clock::duration flushing{};
    int uploaded = 0;
    for (int round = 0; round < rounds; ++round) {
        for (size_t index = 0; index < usage_analytics::RecordStore::kCapacity; ++index) {
            TrackTypicalEvent(round, static_cast<int>(index));
        }
        const auto started = Clock::now();
        if (!Sdk::FlushAll()) {
            std::fprintf(stderr, "upload failed in round %d\n", round);
            return 1;
        }
        flushing += Clock::now() - started;
        uploaded += static_cast<int>(usage_analytics::RecordStore::kCapacity);
    }
    Sdk::Shutdown();
    std::filesystem::remove(StagingFile());
    std::printf("upload %d %.6f\n", uploaded, Seconds(flushing));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    curl_global_init(CURL_GLOBAL_ALL);
    int result = 2;
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "add") {
        result = BenchAdding();
    } else if (mode == "upload" && argc > 3) {
        result = BenchUploading(argv[2], std::atoi(argv[3]));
    } else {
        std::fprintf(stderr, "usage: analytics_bench add | upload URL ROUNDS\n");
    }
    curl_global_cleanup();
    return result;
}
