#pragma once
// One tagged property value. The variant's alternatives are in tag order, so the tag
// the collection service knows a value by is simply the variant index.
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace usage_analytics::utils {

class ObjectNode;

enum class ValueKind : int { Number = 0, Int = 1, String = 2, List = 3, DateTime = 4, Bool = 5, Object = 6 };

struct DateTime {
    int64_t seconds = 0;  // since 1970-01-01 UTC
    int32_t milliseconds = 0;
};

class ValueNode {
public:
    static ValueNode Number(double value) { return ValueNode(Payload(std::in_place_index<0>, value)); }
    static ValueNode Int(int64_t value) { return ValueNode(Payload(std::in_place_index<1>, value)); }
    static ValueNode String(std::string value) { return ValueNode(Payload(std::in_place_index<2>, std::move(value))); }
    static ValueNode List(std::vector<std::string> items) { return ValueNode(Payload(std::in_place_index<3>, std::move(items))); }
    static ValueNode Time(int64_t seconds, int32_t milliseconds) {
        return ValueNode(Payload(std::in_place_index<4>, DateTime{seconds, milliseconds}));
    }
    static ValueNode Bool(bool value) { return ValueNode(Payload(std::in_place_index<5>, value)); }
    // The object is copied (sliced to a plain ObjectNode); the copy is immutable, so
    // copies of this value may share it.
    static ValueNode Object(const ObjectNode& value);

    ValueKind Kind() const noexcept { return static_cast<ValueKind>(payload_.index()); }

    double AsNumber() const { return std::get<0>(payload_); }
    int64_t AsInt() const { return std::get<1>(payload_); }
    const std::string& AsString() const { return std::get<2>(payload_); }
    const std::vector<std::string>& AsList() const { return std::get<3>(payload_); }
    const DateTime& AsDateTime() const { return std::get<4>(payload_); }
    bool AsBool() const { return std::get<5>(payload_); }
    const ObjectNode& AsObject() const { return *std::get<6>(payload_); }

private:
    using Payload = std::variant<double, int64_t, std::string, std::vector<std::string>, DateTime, bool,
                                 std::shared_ptr<const ObjectNode>>;
    explicit ValueNode(Payload payload) : payload_(std::move(payload)) {}

    Payload payload_;
};

}  // namespace usage_analytics::utils
