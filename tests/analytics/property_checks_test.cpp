#include <gtest/gtest.h>

#include <string>

#include "analytics/sdk/properties_node.h"
#include "analytics/sdk/property_checks.h"
#include "tests/analytics/standard_error_capture.h"

namespace {

using AnalyticsTests::StandardErrorCapture;
using usage_analytics::CheckId;
using usage_analytics::CheckKeyName;
using usage_analytics::IsWellFormedUtf8;
using usage_analytics::PropertiesNode;

struct Utf8Case {
    const char* label;
    std::string bytes;
    bool valid;
};

TEST(Utf8Check, AcceptsExactlyTheWellFormedSequences) {
    const Utf8Case cases[] = {
        {"empty", "", true},
        {"printable ascii", "Hello, world ~", true},
        {"tab, line feed, carriage return", "a\tb\nc\rd", true},
        {"other control byte", "a\x01" "b", false},
        {"escape byte", "\x1b", false},
        {"delete byte", "\x7f", false},
        {"nul inside", std::string("a\0b", 3), false},
        {"two-byte", "\xC2\xA9", true},
        {"overlong two-byte C0", "\xC0\xAF", false},
        {"overlong two-byte C1", "\xC1\xBF", false},
        {"three-byte Chinese", "\xE5\xAE\x89\xE8\xA3\x85", true},
        {"overlong three-byte", "\xE0\x80\xAF", false},
        {"lowest E0 sequence", "\xE0\xA0\x80", true},
        {"surrogate", "\xED\xA0\x80", false},
        {"last before surrogates", "\xED\x9F\xBF", true},
        {"EE lead", "\xEE\x80\x80", true},
        {"four-byte emoji", "\xF0\x9F\x98\x80", true},
        {"overlong four-byte", "\xF0\x80\x80\x80", false},
        {"F1 lead", "\xF1\x80\x80\x80", true},
        {"highest code point", "\xF4\x8F\xBF\xBF", true},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false},
        {"F5 lead", "\xF5\x80\x80\x80", false},
        {"lone continuation", "\x80", false},
        {"missing continuation", "\xE5\xAE" "a", false},
        {"two-byte cut off at the end", "ab\xC2", false},
        {"three-byte cut off at the end", "ab\xE5\xAE", false},
        {"four-byte cut off at the end", "\xF0\x9F\x98", false},
        {"FF byte", "\xFF", false},
    };
    for (const Utf8Case& c : cases) {
        EXPECT_EQ(IsWellFormedUtf8(c.bytes), c.valid) << c.label;
    }
}

struct NameCase {
    std::string name;
    bool valid;
    const char* diagnostic;
};

TEST(NameCheck, AcceptsVariableNamesUpTo100Bytes) {
    const char* tooLong = "The Property Key is empty or too long, max length is 100\n";
    const char* notAName = "The Property Key need to be a valid variable name.\n";
    const NameCase cases[] = {
        {"x", true, ""},
        {"$os_version", true, ""},
        {"_track", true, ""},
        {"Ab_9$", true, ""},
        {std::string(100, 'k'), true, ""},
        {"", false, tooLong},
        {std::string(101, 'k'), false, tooLong},
        {"9lives", false, notAName},
        {"my-key", false, notAName},
        {"my key", false, notAName},
        {"k\xC3\xA9", false, notAName},
    };
    for (const NameCase& c : cases) {
        StandardErrorCapture error;
        EXPECT_EQ(CheckKeyName("Property Key", c.name), c.valid) << c.name;
        EXPECT_EQ(error.Text(), c.diagnostic) << c.name;
    }
}

TEST(IdCheck, AcceptsOneTo255Bytes) {
    const NameCase cases[] = {
        {"a", true, ""},
        {"ANY text - even spaces", true, ""},
        {std::string(255, 'i'), true, ""},
        {"", false, "The Distinct ID is empty.\n"},
        {std::string(256, 'i'), false, "The Distinct ID is too long, max length is 255.\n"},
    };
    for (const NameCase& c : cases) {
        StandardErrorCapture error;
        EXPECT_EQ(CheckId("Distinct ID", c.name), c.valid) << c.name.size();
        EXPECT_EQ(error.Text(), c.diagnostic) << c.name.size();
    }
}

TEST(StringValueCheck, RejectedValuesAreLeftOutWithTheirDiagnostic) {
    const std::string longest(8192, 'v');
    const std::string tooLong(8193, 'v');
    struct Case {
        std::string value;
        bool stored;
        std::string diagnostic;
    } const cases[] = {
        {longest, true, ""},
        {tooLong, false, "String property 'k' is too long, value: " + tooLong + "\n"},
        {"a\x01", false, "String property 'k' is not valid UTF-8 string, value: a\x01\n"},
        {"\xE5\xAE", false, "String property 'k' is not valid UTF-8 string, value: \xE5\xAE\n"},
    };
    for (const Case& c : cases) {
        PropertiesNode properties;
        StandardErrorCapture error;
        properties.SetString("k", c.value);
        EXPECT_EQ(properties.Find("k") != nullptr, c.stored) << c.value.size();
        EXPECT_EQ(error.Text(), c.diagnostic) << c.value.size();
    }
}

TEST(StringValueCheck, ListIsStoredOnlyWhenEveryItemPasses) {
    PropertiesNode properties;
    StandardErrorCapture error;
    properties.SetList("good", {"a", "b"});
    properties.SetList("bad", {"a", "b\x02"});
    EXPECT_NE(properties.Find("good"), nullptr);
    EXPECT_EQ(properties.Find("bad"), nullptr);
    EXPECT_EQ(error.Text(), "String property 'bad' is not valid UTF-8 string, value: b\x02\n");
}

TEST(PropertySetCheck, ReportsTheFirstBadEntryInKeyOrder) {
    struct Case {
        const char* label;
        void (*fill)(PropertiesNode&);
        bool valid;
        const char* diagnostic;
    } const cases[] = {
        {"plain values", [](PropertiesNode& p) { p.SetNumber("a", 1); p.SetString("b", "x"); }, true, ""},
        {"$time as DATETIME", [](PropertiesNode& p) { p.SetDateTime("$time", 1, 2); }, true, ""},
        {"$time as INT", [](PropertiesNode& p) { p.SetNumber("$time", 5); }, false,
         "The property '$time' should be DateTime type.\n"},
        {"$project as STRING", [](PropertiesNode& p) { p.SetString("$project", "abc"); }, true, ""},
        {"$project as BOOL", [](PropertiesNode& p) { p.SetBool("$project", true); }, false,
         "The property '$project' should be String type.\n"},
        {"key starting with a digit", [](PropertiesNode& p) { p.SetBool("1st", true); }, false,
         "The Property Key need to be a valid variable name.\n"},
        {"key with a hyphen", [](PropertiesNode& p) { p.SetBool("a-b", true); }, false,
         "The Property Key need to be a valid variable name.\n"},
        {"101-byte key", [](PropertiesNode& p) { p.SetBool(std::string(101, 'k'), true); }, false,
         "The Property Key is empty or too long, max length is 100\n"},
        // "$time" sorts before "a-b": only the first failure is reported.
        {"two faults", [](PropertiesNode& p) { p.SetBool("a-b", true); p.SetBool("$time", true); }, false,
         "The property '$time' should be DateTime type.\n"},
    };
    for (const auto& c : cases) {
        PropertiesNode properties;
        c.fill(properties);
        StandardErrorCapture error;
        EXPECT_EQ(properties.Check(), c.valid) << c.label;
        EXPECT_EQ(error.Text(), c.diagnostic) << c.label;
    }
}

TEST(PropertySet, HoldsNoNestedObjectsAndMergedEntriesWin) {
    PropertiesNode properties;
    usage_analytics::utils::ObjectNode nested;
    nested.Set("x", usage_analytics::utils::ValueNode::Int(1));
    properties.SetObject("nested", nested);
    properties.SetString("kept", "old");
    properties.SetString("replaced", "old");

    PropertiesNode other;
    other.SetString("replaced", "new");
    other.SetNumber("added", 2);
    properties.Merge(other);

    EXPECT_EQ(properties.ToJson(), R"({"added":2,"kept":"old","replaced":"new"})");
}

}  // namespace
