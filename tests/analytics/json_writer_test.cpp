#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>
#include <string>

#include "analytics/sdk/json_writer.h"
#include "analytics/sdk/object_node.h"
#include "analytics/sdk/properties_node.h"

namespace {

using usage_analytics::PropertiesNode;
using usage_analytics::utils::ObjectNode;
using usage_analytics::utils::ValueNode;

std::string Json(const ValueNode& value) {
    std::string out;
    usage_analytics::utils::AppendJsonValue(out, value);
    return out;
}

TEST(JsonWriter, WritesEachKindOfValue) {
    ObjectNode inner;
    inner.Set("z", ValueNode::Bool(false));
    inner.Set("a", ValueNode::Int(1));
    const struct {
        ValueNode value;
        const char* json;
    } cases[] = {
        {ValueNode::Number(1.5), "1.5"},
        {ValueNode::Number(3.0), "3"},
        {ValueNode::Number(1234567.0), "1.23457e+06"},
        {ValueNode::Number(0.0001), "0.0001"},
        {ValueNode::Number(-2.5e-10), "-2.5e-10"},
        {ValueNode::Number(std::nan("")), "null"},
        {ValueNode::Number(std::numeric_limits<double>::infinity()), "null"},
        {ValueNode::Int(-9007199254740993LL), "-9007199254740993"},
        {ValueNode::String(""), "\"\""},
        {ValueNode::String("\xE5\xAE\x89\xE8\xA3\x85"), "\"\xE5\xAE\x89\xE8\xA3\x85\""},
        {ValueNode::String("q\"b\\s/"), R"("q\"b\\s/")"},
        {ValueNode::String("\b\t\n\f\r"), R"("\b\t\n\f\r")"},
        {ValueNode::String("\x01\x1f\x7f"), "\"\\u0001\\u001f\x7f\""},
        {ValueNode::List({}), "[]"},
        {ValueNode::List({"a", "b\"c"}), R"(["a","b\"c"])"},
        {ValueNode::Bool(true), "true"},
        {ValueNode::Bool(false), "false"},
        {ValueNode::Object(inner), R"({"a":1,"z":false})"},
        {ValueNode::Object(ObjectNode()), "{}"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Json(c.value), c.json);
    }
}

TEST(JsonWriter, ObjectKeysFollowByteOrder) {
    ObjectNode object;
    for (const char* key : {"b", "A", "$x", "_y", "\xE5\xAE\x89", "$lib_version", "$lib", "$lib_method"}) {
        object.Set(key, ValueNode::Int(0));
    }
    EXPECT_EQ(object.ToJson(),
              "{\"$lib\":0,\"$lib_method\":0,\"$lib_version\":0,\"$x\":0,\"A\":0,\"_y\":0,\"b\":0,"
              "\"\xE5\xAE\x89\":0}");
}

TEST(JsonWriter, SettingAKeyAgainReplacesItsValue) {
    PropertiesNode properties;
    properties.SetNumber("k", 1);
    properties.SetString("k", "two");
    EXPECT_EQ(properties.ToJson(), R"({"k":"two"})");
}

TEST(JsonWriter, DateTimeIsQuotedLocalTimeWithMilliseconds) {
    const struct {
        int64_t seconds;
        int32_t milliseconds;
    } cases[] = {{0, 5}, {1700000000, 999}, {951782400, 0}};
    for (const auto& c : cases) {
        const std::time_t time = static_cast<std::time_t>(c.seconds);
        char expected[64];
        std::strftime(expected, sizeof(expected), "\"%Y-%m-%d %H:%M:%S", std::localtime(&time));
        char milliseconds[8];
        std::snprintf(milliseconds, sizeof(milliseconds), ".%03d\"", c.milliseconds);
        EXPECT_EQ(Json(ValueNode::Time(c.seconds, c.milliseconds)), std::string(expected) + milliseconds);
    }
}

TEST(JsonWriter, TimeBeforeTheEpochIsStillADate) {
    // The C runtime has no local time for it; the writer falls back to UTC.
    EXPECT_EQ(Json(ValueNode::Time(-86400, 1)), "\"1969-12-31 00:00:00.001\"");
}

}  // namespace
