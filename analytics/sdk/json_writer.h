#pragma once
// The compact JSON the collection service reads: no spaces, keys in byte order,
// numbers as %g, date-times as quoted local time.
#include <cstdint>
#include <string>
#include <string_view>

namespace usage_analytics::utils {

class ObjectNode;
class ValueNode;

void AppendJsonObject(std::string& out, const ObjectNode& object);
void AppendJsonValue(std::string& out, const ValueNode& value);

void AppendJsonString(std::string& out, std::string_view text);
void AppendJsonNumber(std::string& out, double value);
// "YYYY-MM-DD hh:mm:ss.mmm" in local time, with the quotes.
void AppendJsonDateTime(std::string& out, int64_t seconds, int32_t milliseconds);

}  // namespace usage_analytics::utils
