#include <gtest/gtest.h>
#include <windows.h>
#include <curl/curl.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "analytics/sdk/record_sender.h"
#include "analytics/sdk/record_store.h"
#include "tests/analytics/collector_process.h"
#include "tests/analytics/staged_records.h"
#include "tests/analytics/standard_error_capture.h"
#include "tests/support/test_files.h"

namespace {

using AnalyticsTests::CollectorProcess;
using AnalyticsTests::StandardErrorCapture;
using usage_analytics::RecordStore;
using usage_analytics::utils::ObjectNode;
using usage_analytics::utils::ValueNode;

class CurlEnvironment : public testing::Environment {
public:
    void SetUp() override { curl_global_init(CURL_GLOBAL_ALL); }
    void TearDown() override { curl_global_cleanup(); }
};
const auto* const curlEnvironment = testing::AddGlobalTestEnvironment(new CurlEnvironment);

ObjectNode Record(int sequence) {
    ObjectNode record;
    record.Set("seq", ValueNode::Int(sequence));
    record.Set("type", ValueNode::String("track"));
    return record;
}

std::string RecordText(int sequence) { return Record(sequence).ToJson(); }

void AddRecords(RecordStore& store, int first, int last) {
    for (int sequence = first; sequence <= last; ++sequence) store.Add(Record(sequence));
}

// The "seq" of every record the collector accepted, in arrival order.
std::vector<int> ReceivedSequence(const Json::Value& uploads) {
    std::vector<int> sequence;
    for (const Json::Value& upload : uploads) {
        if (upload["answered"].asInt() != 200) continue;
        for (const Json::Value& record : upload["records"]) sequence.push_back(record["seq"].asInt());
    }
    return sequence;
}

std::vector<int> Range(int first, int last) {
    std::vector<int> values;
    for (int value = first; value <= last; ++value) values.push_back(value);
    return values;
}

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class RecordStoreTest : public testing::Test {
protected:
    std::string StagingFile() const { return (folder_.Path() / L"staged.txt").string(); }

    CollectorProcess collector_;
    TestSupport::TempFolder folder_;
};

TEST_F(RecordStoreTest, UploadIsAGzipBase64FormPostOfTheBatchArray) {
    RecordStore store(collector_.UploadUrl(), StagingFile());
    // Enough varied bytes that the Base64 text holds "+", "/" and padding in practice.
    for (int sequence = 1; sequence <= 45; ++sequence) {
        ObjectNode record = Record(sequence);
        record.Set("text", ValueNode::String("\xE5\xAE\x89\xE8\xA3\x85 " + std::to_string(sequence * 7919)));
        store.Add(record);
    }
    ASSERT_TRUE(store.FlushAll());

    const Json::Value uploads = collector_.Uploads();
    ASSERT_EQ(uploads.size(), 2u);
    std::string expectedFirst = "[";
    for (int sequence = 1; sequence <= 30; ++sequence) {
        ObjectNode record = Record(sequence);
        record.Set("text", ValueNode::String("\xE5\xAE\x89\xE8\xA3\x85 " + std::to_string(sequence * 7919)));
        expectedFirst += (sequence > 1 ? "," : "") + record.ToJson();
    }
    expectedFirst += "]";
    for (const Json::Value& upload : uploads) {
        EXPECT_EQ(upload["error"], "") << upload["body"];
        EXPECT_EQ(upload["query"], "project=pc");
        EXPECT_EQ(upload["content_type"], "application/x-www-form-urlencoded");
        EXPECT_EQ(upload["user_agent"], "UsageAnalytics CPP SDK 0.9");
        EXPECT_EQ(upload["gzip"]["xfl"], 2) << "level 9 marks the gzip header as maximum compression";
    }
    EXPECT_EQ(uploads[0]["decoded"].asString(), expectedFirst);
    EXPECT_EQ(uploads[0]["records"].size(), 30u);
    EXPECT_EQ(uploads[1]["records"].size(), 15u);
    EXPECT_EQ(ReceivedSequence(uploads), Range(1, 45));
    EXPECT_TRUE(usage_analytics::LastSendSucceeded());
}

TEST_F(RecordStoreTest, QueueKeepsTheNewest1024Records) {
    RecordStore store(collector_.UploadUrl(), StagingFile());
    AddRecords(store, 1, 1030);
    ASSERT_TRUE(store.FlushAll());
    const Json::Value uploads = collector_.Uploads();
    EXPECT_EQ(uploads.size(), 35u);  // 34 batches of 30 and one of 4
    EXPECT_EQ(ReceivedSequence(uploads), Range(7, 1030));
}

TEST_F(RecordStoreTest, RejectedUploadKeepsItsRecordsForTheNextFlush) {
    const struct {
        const char* answer;
        const char* diagnostic;
    } cases[] = {
        {R"([{"status":500}])", "UsageAnalytics SDK send failed: status 500\n"},
        {R"([{"status":204}])", "UsageAnalytics SDK send failed: \n"},
        {R"([{"status":404}])", "UsageAnalytics SDK send failed: status 404\n"},
    };
    for (const auto& c : cases) {
        collector_.Reset();
        RecordStore store(collector_.UploadUrl(), StagingFile());
        AddRecords(store, 1, 40);
        collector_.ScriptAnswers(c.answer);
        {
            StandardErrorCapture error;
            EXPECT_FALSE(store.FlushAll()) << c.answer;
            EXPECT_EQ(error.Text(), c.diagnostic);
        }
        EXPECT_FALSE(usage_analytics::LastSendSucceeded());
        EXPECT_EQ(collector_.Uploads().size(), 1u) << "FlushAll stops at the first failed batch";
        ASSERT_TRUE(store.FlushAll());
        EXPECT_EQ(ReceivedSequence(collector_.Uploads()), Range(1, 40)) << c.answer;
    }
}

TEST_F(RecordStoreTest, FailedBatchPutsBackOnlyWhatFitsNewestFirst) {
    RecordStore store(collector_.UploadUrl(), StagingFile());
    AddRecords(store, 1, 30);
    // The batch fails late, after 1000 more records have arrived: only 24 places are left.
    collector_.ScriptAnswers(R"([{"status":500,"delay_ms":1500}])");
    bool flushed = true;
    std::thread flusher([&] {
        StandardErrorCapture error;
        flushed = store.FlushBatch();
    });
    while (collector_.Uploads().size() == 0) ::Sleep(20);
    AddRecords(store, 31, 1030);
    flusher.join();
    EXPECT_FALSE(flushed);

    ASSERT_TRUE(store.FlushAll());
    EXPECT_EQ(ReceivedSequence(collector_.Uploads()), Range(7, 1030));
}

TEST_F(RecordStoreTest, SilentCollectorCostsOneTimeoutPerAttempt) {
    RecordStore store(collector_.UploadUrl(), StagingFile());
    AddRecords(store, 1, 5);
    collector_.ScriptAnswers(R"([{"status":0}])");
    const auto started = std::chrono::steady_clock::now();
    {
        StandardErrorCapture error;
        EXPECT_FALSE(store.FlushAll());
        EXPECT_EQ(error.Text(), "UsageAnalytics SDK send failed: Timeout was reached\n");
    }
    const auto elapsed = std::chrono::steady_clock::now() - started;
    EXPECT_GE(elapsed, std::chrono::milliseconds(2900));
    EXPECT_LT(elapsed, std::chrono::seconds(6)) << "bounded by the 3-second request timeout";
    ASSERT_TRUE(store.FlushAll());
    EXPECT_EQ(ReceivedSequence(collector_.Uploads()), Range(1, 5));
}

TEST_F(RecordStoreTest, UnreachableServerIsAnOrdinaryFailure) {
    // Port 9 on the loopback has no listener: the connection is refused at once.
    RecordStore store("http://127.0.0.1:9/sa?project=pc", StagingFile());
    AddRecords(store, 1, 3);
    StandardErrorCapture error;
    EXPECT_FALSE(store.FlushBatch());
    EXPECT_EQ(error.Text().rfind("UsageAnalytics SDK send failed: ", 0), 0u) << error.Text();
    store.Close();
    EXPECT_EQ(ReadFile(StagingFile()), RecordText(1) + "\n" + RecordText(2) + "\n" + RecordText(3) + "\n");
}

TEST_F(RecordStoreTest, StagedRecordsGoFirstAndTheFileIsEmptied) {
    folder_.WriteFile(L"staged.txt", RecordText(-3) + "\n" + "not a record\n" + RecordText(-2) + "\r\n\n" +
                                         RecordText(-1) + "\n" + "{cut off\n");
    RecordStore store(collector_.UploadUrl(), StagingFile());
    AddRecords(store, 1, 2);
    ASSERT_TRUE(store.FlushAll());
    EXPECT_EQ(ReceivedSequence(collector_.Uploads()), (std::vector<int>{-3, -2, -1, 1, 2}));
    EXPECT_EQ(ReadFile(StagingFile()), "");

    // Loading happens once per store: a file written later is not read again.
    folder_.WriteFile(L"staged.txt", RecordText(-9) + "\n");
    AddRecords(store, 3, 3);
    ASSERT_TRUE(store.FlushAll());
    EXPECT_EQ(ReceivedSequence(collector_.Uploads()), (std::vector<int>{-3, -2, -1, 1, 2, 3}));
}

TEST(RecordStoreStaging, LoadFillsOnlyTheFreePlacesWithTheNewestStagedRecords) {
    TestSupport::TempFolder folder;
    std::string staged;
    for (int sequence = -5; sequence <= -1; ++sequence) staged += RecordText(sequence) + "\n";
    const auto file = folder.WriteFile(L"staged.txt", staged);

    RecordStore store("http://127.0.0.1:9/sa?project=pc", file.string());
    AddRecords(store, 1, 1022);
    store.Close();

    const auto records = AnalyticsTests::ReadStagedRecords(file);
    ASSERT_EQ(records.size(), 1024u);
    EXPECT_EQ(records[0].text, RecordText(-2));
    EXPECT_EQ(records[1].text, RecordText(-1));
    EXPECT_EQ(records[2].text, RecordText(1));
    EXPECT_EQ(records.back().text, RecordText(1022));
}

TEST(RecordStoreStaging, StagingPathThatIsAFolderSavesNothingAndLeavesNoDebris) {
    TestSupport::TempFolder folder;
    {
        RecordStore store("http://127.0.0.1:9/sa?project=pc", folder.Path().string());
        AddRecords(store, 1, 3);
        store.Close();
        store.Add(Record(4));  // after Close the store ignores further use
        EXPECT_FALSE(store.FlushAll());
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
    EXPECT_FALSE(std::filesystem::exists(folder.Path().string() + ".partial"));
}

}  // namespace
