#include <gtest/gtest.h>

#include <string>

#include "analytics/sdk/sdk.h"
#include "tests/analytics/staged_records.h"
#include "tests/analytics/standard_error_capture.h"
#include "tests/support/test_files.h"

namespace {

using AnalyticsTests::ReadStagedRecords;
using AnalyticsTests::StagedRecord;
using AnalyticsTests::StandardErrorCapture;
using usage_analytics::PropertiesNode;
using usage_analytics::Sdk;

// No server: every record stays queued and lands in the staging file at Shutdown.
class SdkTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Sdk::Init(StagingFile(), "http://127.0.0.1:9/sa?project=pc", "device-1", false)); }
    void TearDown() override { Sdk::Shutdown(); }

    std::string StagingFile() const { return (folder_.Path() / L"staged.txt").string(); }

    std::vector<StagedRecord> ShutdownAndRead() {
        Sdk::Shutdown();
        return ReadStagedRecords(folder_.Path() / L"staged.txt");
    }

private:
    TestSupport::TempFolder folder_;
};

// Keys must appear in this order in the record's text.
void ExpectKeyOrder(const std::string& text, std::initializer_list<const char*> keys) {
    size_t previous = 0;
    for (const char* key : keys) {
        const size_t at = text.find(std::string("\"") + key + "\":");
        ASSERT_NE(at, std::string::npos) << key << " in " << text;
        EXPECT_GT(at, previous) << key << " in " << text;
        previous = at;
    }
}

TEST_F(SdkTest, TrackRecordCarriesIdentityLibSuperPropertiesAndTime) {
    PropertiesNode properties;
    properties.SetString("page", "\xE5\xAE\x89\xE8\xA3\x85");
    properties.SetNumber("count", 3);
    ASSERT_TRUE(Sdk::Track("QmEventView", properties));

    const auto records = ShutdownAndRead();
    ASSERT_EQ(records.size(), 1u);
    const std::string& text = records[0].text;
    const Json::Value& record = records[0].json;
    ExpectKeyOrder(text, {"_track_id", "distinct_id", "event", "lib", "properties", "time", "type"});
    EXPECT_NE(text.find(R"("lib":{"$lib":"cpp","$lib_method":"code","$lib_version":"0.9"})"), std::string::npos);
    EXPECT_NE(text.find(R"("properties":{"$lib":"cpp","$lib_version":"0.9","count":3,"page":"安装"})"),
              std::string::npos) << text;
    EXPECT_EQ(record["type"], "track");
    EXPECT_EQ(record["event"], "QmEventView");
    EXPECT_EQ(record["distinct_id"], "device-1");
    EXPECT_FALSE(record.isMember("original_id"));
    EXPECT_FALSE(record.isMember("project"));

    const Json::Int64 time = record["time"].asInt64();
    const Json::Int64 now = std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::system_clock::now().time_since_epoch()).count();
    EXPECT_LE(time, now);
    EXPECT_GT(time, now - 60'000);
    const Json::Int64 trackId = record["_track_id"].asInt64();
    EXPECT_GE(trackId, 0);
    EXPECT_LT(trackId, 1'000'000'000);
    EXPECT_EQ(trackId % 10000, time % 10000);
    EXPECT_LE(trackId / 10'000'000, 98);
    EXPECT_LE(trackId / 10'000 % 1000, 998);
}

TEST_F(SdkTest, TimeAndProjectPropertiesMoveToTheRecord) {
    PropertiesNode timed;
    timed.SetDateTime("$time", 1700000000, 123);
    timed.SetString("$project", "abc");
    ASSERT_TRUE(Sdk::Track("Timed", timed));
    PropertiesNode emptyProject;
    emptyProject.SetString("$project", "");
    ASSERT_TRUE(Sdk::Track("NoProject", emptyProject));

    const auto records = ShutdownAndRead();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].json["time"].asInt64(), 1700000000123LL);
    EXPECT_EQ(records[0].json["project"], "abc");
    EXPECT_FALSE(records[0].json["properties"].isMember("$time"));
    EXPECT_FALSE(records[0].json["properties"].isMember("$project"));
    EXPECT_FALSE(records[1].json.isMember("project"));
    EXPECT_FALSE(records[1].json["properties"].isMember("$project"));
}

TEST_F(SdkTest, InvalidEventsAreDroppedWithTheirDiagnostic) {
    const struct {
        const char* label;
        std::string eventName;
        void (*fill)(PropertiesNode&);
        const char* diagnostic;
    } cases[] = {
        {"event name with a hyphen", "bad-name", [](PropertiesNode&) {},
         "The Event Name need to be a valid variable name.\n"},
        {"empty event name", "", [](PropertiesNode&) {}, "The Event Name is empty or too long, max length is 100\n"},
        {"key starting with a digit", "Ok", [](PropertiesNode& p) { p.SetBool("1x", true); },
         "The Property Key need to be a valid variable name.\n"},
        {"101-byte key", "Ok", [](PropertiesNode& p) { p.SetBool(std::string(101, 'k'), true); },
         "The Property Key is empty or too long, max length is 100\n"},
        {"$time as INT", "Ok", [](PropertiesNode& p) { p.SetNumber("$time", 17); },
         "The property '$time' should be DateTime type.\n"},
    };
    for (const auto& c : cases) {
        PropertiesNode properties;
        c.fill(properties);
        StandardErrorCapture error;
        EXPECT_FALSE(Sdk::Track(c.eventName, properties)) << c.label;
        EXPECT_EQ(error.Text(), c.diagnostic) << c.label;
    }
    EXPECT_TRUE(ShutdownAndRead().empty());
}

TEST_F(SdkTest, RejectedStringValueStillRecordsTheEvent) {
    PropertiesNode properties;
    {
        StandardErrorCapture error;
        properties.SetString("long", std::string(8193, 'x'));
        properties.SetString("control", "a\x01");
        properties.SetString("kept", "yes");
    }
    ASSERT_TRUE(Sdk::Track("Partial", properties));
    const auto records = ShutdownAndRead();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].json["properties"].getMemberNames(),
              (std::vector<std::string>{"$lib", "$lib_version", "kept"}));
}

TEST_F(SdkTest, CallerPropertiesWinOverSuperPropertiesButNotOverLib) {
    PropertiesNode super;
    super.SetString("channel", "store");
    super.SetString("edition", "china");
    Sdk::RegisterSuperProperties(super);
    PropertiesNode properties;
    properties.SetString("$lib", "custom");
    properties.SetString("channel", "web");
    ASSERT_TRUE(Sdk::Track("Overrides", properties));
    Sdk::ClearSuperProperties();
    ASSERT_TRUE(Sdk::Track("AfterClear", PropertiesNode()));

    const auto records = ShutdownAndRead();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_NE(records[0].text.find(
                  R"("properties":{"$lib":"custom","$lib_version":"0.9","channel":"web","edition":"china"})"),
              std::string::npos) << records[0].text;
    EXPECT_EQ(records[0].json["lib"]["$lib"], "cpp");
    EXPECT_NE(records[1].text.find(R"("properties":{"$lib":"cpp","$lib_version":"0.9"})"), std::string::npos);
}

TEST_F(SdkTest, ProfileRecordsCarryNoSuperPropertiesAndNoEvent) {
    PropertiesNode set;
    set.SetString("name", "n");
    ASSERT_TRUE(Sdk::ProfileSet(set));
    ASSERT_TRUE(Sdk::ProfileSet("level", 3));
    ASSERT_TRUE(Sdk::ProfileSetOnce("first", "yes"));
    ASSERT_TRUE(Sdk::ProfileIncrement("visits", 2));
    ASSERT_TRUE(Sdk::ProfileAppend("tags", "a\"b"));
    ASSERT_TRUE(Sdk::ProfileSetConsumption(12.5));
    ASSERT_TRUE(Sdk::ProfileSetOnceConsumption(1234567.0));

    const auto records = ShutdownAndRead();
    const std::pair<const char*, const char*> expected[] = {
        {"profile_set", R"({"name":"n"})"},
        {"profile_set", R"({"level":3})"},
        {"profile_set_once", R"({"first":"yes"})"},
        {"profile_increment", R"({"visits":2})"},
        {"profile_append", R"({"tags":["a\"b"]})"},
        {"profile_set", R"({"qm_consumption":12.5})"},
        {"profile_set_once", R"({"qm_consumption":1.23457e+06})"},
    };
    ASSERT_EQ(records.size(), std::size(expected));
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].json["type"], expected[i].first) << i;
        EXPECT_NE(records[i].text.find(std::string("\"properties\":") + expected[i].second), std::string::npos)
            << records[i].text;
        EXPECT_FALSE(records[i].json.isMember("event")) << i;
        EXPECT_EQ(records[i].json["distinct_id"], "device-1") << i;
    }
}

TEST_F(SdkTest, LoginRecordsTheSignUpAndSwitchesIdentity) {
    ASSERT_TRUE(Sdk::Login("user-42"));
    ASSERT_TRUE(Sdk::TrackLaunch());
    {
        StandardErrorCapture error;
        EXPECT_FALSE(Sdk::Login(""));
        EXPECT_EQ(error.Text(), "The Distinct ID is empty.\n");
    }

    const auto records = ShutdownAndRead();
    ASSERT_EQ(records.size(), 2u);
    const Json::Value& signUp = records[0].json;
    EXPECT_EQ(signUp["type"], "track_signup");
    EXPECT_EQ(signUp["event"], "$SignUp");
    EXPECT_EQ(signUp["distinct_id"], "user-42");
    EXPECT_EQ(signUp["original_id"], "device-1");
    EXPECT_FALSE(signUp["properties"].isMember("$is_login_id"));
    ExpectKeyOrder(records[0].text, {"_track_id", "distinct_id", "event", "lib", "original_id", "properties"});

    const Json::Value& launch = records[1].json;
    EXPECT_EQ(launch["event"], "QmEventLaunch");
    EXPECT_EQ(launch["distinct_id"], "user-42");
    EXPECT_EQ(launch["properties"]["$is_login_id"], true);
}

TEST_F(SdkTest, ActivityStartsFromAnEmptyInstallSource) {
    PropertiesNode given;
    given.SetString("from", "tray");
    ASSERT_TRUE(Sdk::TrackActivity(given));
    PropertiesNode overriding;
    overriding.SetString("$ios_install_source", "x");
    ASSERT_TRUE(Sdk::TrackActivity(overriding));

    const auto records = ShutdownAndRead();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].json["event"], "QmEventActivity");
    EXPECT_EQ(records[0].json["properties"]["$ios_install_source"], "");
    EXPECT_EQ(records[0].json["properties"]["from"], "tray");
    EXPECT_EQ(records[1].json["properties"]["$ios_install_source"], "x");
}

TEST_F(SdkTest, SecondInitKeepsTheFirstIdentity) {
    EXPECT_TRUE(Sdk::Init(StagingFile(), "http://127.0.0.1:9/sa", "device-2", true));
    ASSERT_TRUE(Sdk::TrackLaunch());
    const auto records = ShutdownAndRead();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].json["distinct_id"], "device-1");
    EXPECT_FALSE(records[0].json["properties"].isMember("$is_login_id"));
}

TEST(SdkWithoutInstance, EveryOperationIsANoOp) {
    ASSERT_FALSE(Sdk::IsInitialized());
    EXPECT_FALSE(Sdk::TrackLaunch());
    EXPECT_FALSE(Sdk::Login("user"));
    EXPECT_FALSE(Sdk::ProfileSet("k", 1));
    EXPECT_FALSE(Sdk::FlushAll());
    Sdk::RegisterSuperProperties(PropertiesNode());
    Sdk::ClearSuperProperties();
    Sdk::Shutdown();

    StandardErrorCapture error;
    EXPECT_FALSE(Sdk::Init("staged.txt", "http://127.0.0.1:9/sa", "", false));
    EXPECT_FALSE(Sdk::Init("staged.txt", "http://127.0.0.1:9/sa", std::string(256, 'd'), false));
    EXPECT_FALSE(Sdk::IsInitialized());
    EXPECT_EQ(error.Text(), "The Distinct ID is empty.\nThe Distinct ID is too long, max length is 255.\n");
}

TEST(SdkWithLoginId, MarksEveryRecordAsLoggedIn) {
    TestSupport::TempFolder folder;
    const auto staging = folder.Path() / L"staged.txt";
    ASSERT_TRUE(Sdk::Init(staging.string(), "http://127.0.0.1:9/sa", "user-7", true));
    ASSERT_TRUE(Sdk::ProfileSet("k", 1));
    Sdk::Shutdown();
    const auto records = ReadStagedRecords(staging);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].json["properties"]["$is_login_id"], true);
}

}  // namespace
