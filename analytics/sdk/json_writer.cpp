#include "analytics/sdk/json_writer.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "analytics/sdk/object_node.h"

namespace usage_analytics::utils {

namespace {

// Local calendar time of a Unix time. The C runtime refuses times before 1970 (and
// far in the future); those are written in UTC rather than as garbage.
std::tm CalendarTime(int64_t seconds) {
    std::tm calendar{};
    const std::time_t time = static_cast<std::time_t>(seconds);
#ifdef _WIN32
    if (localtime_s(&calendar, &time) == 0) return calendar;
#else
    if (localtime_r(&time, &calendar) != nullptr) return calendar;
#endif
    using namespace std::chrono;
    const sys_seconds point{std::chrono::seconds(seconds)};
    const sys_days day = floor<days>(point);
    const year_month_day date{day};
    const hh_mm_ss clock{point - day};
    calendar = {};
    calendar.tm_year = static_cast<int>(date.year()) - 1900;
    calendar.tm_mon = static_cast<int>(static_cast<unsigned>(date.month())) - 1;
    calendar.tm_mday = static_cast<int>(static_cast<unsigned>(date.day()));
    calendar.tm_hour = static_cast<int>(clock.hours().count());
    calendar.tm_min = static_cast<int>(clock.minutes().count());
    calendar.tm_sec = static_cast<int>(clock.seconds().count());
    return calendar;
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char byte : text) {
        switch (byte) {
            case '\b': out += "\\b"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\f': out += "\\f"; break;
            case '\r': out += "\\r"; break;
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            default:
                // A raw control byte would make the whole upload batch unreadable, so the
                // few that can still arrive here (list items, identities) are escaped.
                if (static_cast<unsigned char>(byte) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof(escaped), "\\u%04x", static_cast<unsigned>(byte));
                    out += escaped;
                } else {
                    out += byte;
                }
        }
    }
    out += '"';
}

void AppendJsonNumber(std::string& out, double value) {
    // JSON has no spelling for NaN or infinity; "nan" would spoil the whole batch.
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char text[32];
    std::snprintf(text, sizeof(text), "%g", value);
    out += text;
}

void AppendJsonDateTime(std::string& out, int64_t seconds, int32_t milliseconds) {
    const std::tm calendar = CalendarTime(seconds);
    char text[64];
    std::snprintf(text, sizeof(text), "\"%04d-%02d-%02d %02d:%02d:%02d.%03d\"", calendar.tm_year + 1900,
                  calendar.tm_mon + 1, calendar.tm_mday, calendar.tm_hour, calendar.tm_min, calendar.tm_sec,
                  static_cast<int>(milliseconds));
    out += text;
}

void AppendJsonValue(std::string& out, const ValueNode& value) {
    switch (value.Kind()) {
        case ValueKind::Number: AppendJsonNumber(out, value.AsNumber()); break;
        case ValueKind::Int: out += std::to_string(value.AsInt()); break;
        case ValueKind::String: AppendJsonString(out, value.AsString()); break;
        case ValueKind::List: {
            out += '[';
            const char* separator = "";
            for (const std::string& item : value.AsList()) {
                out += separator;
                AppendJsonString(out, item);
                separator = ",";
            }
            out += ']';
            break;
        }
        case ValueKind::DateTime:
            AppendJsonDateTime(out, value.AsDateTime().seconds, value.AsDateTime().milliseconds);
            break;
        case ValueKind::Bool: out += value.AsBool() ? "true" : "false"; break;
        case ValueKind::Object: AppendJsonObject(out, value.AsObject()); break;
    }
}

void AppendJsonObject(std::string& out, const ObjectNode& object) {
    out += '{';
    const char* separator = "";
    for (const auto& [key, value] : object.Items()) {
        out += separator;
        // Keys are property names that passed the name check, or the record's own keys.
        out += '"';
        out += key;
        out += "\":";
        AppendJsonValue(out, value);
        separator = ",";
    }
    out += '}';
}

}  // namespace usage_analytics::utils
