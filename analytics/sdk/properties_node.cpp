#include "analytics/sdk/properties_node.h"

#include "analytics/sdk/diagnostics.h"
#include "analytics/sdk/property_checks.h"

namespace usage_analytics {

using utils::ValueKind;
using utils::ValueNode;

void PropertiesNode::SetObject(const std::string&, const utils::ObjectNode&) {}

void PropertiesNode::SetNumber(const std::string& key, double value) { Set(key, ValueNode::Number(value)); }

void PropertiesNode::SetNumber(const std::string& key, int32_t value) { Set(key, ValueNode::Int(value)); }

void PropertiesNode::SetBool(const std::string& key, bool value) { Set(key, ValueNode::Bool(value)); }

void PropertiesNode::SetDateTime(const std::string& key, int64_t seconds, int32_t milliseconds) {
    Set(key, ValueNode::Time(seconds, milliseconds));
}

void PropertiesNode::SetString(const std::string& key, const std::string& value) {
    if (CheckStringValue(key, value)) Set(key, ValueNode::String(value));
}

void PropertiesNode::SetString(const std::string& key, const char* value) {
    SetString(key, std::string(value ? value : ""));
}

void PropertiesNode::SetList(const std::string& key, const std::vector<std::string>& items) {
    for (const std::string& item : items) {
        if (!CheckStringValue(key, item)) return;
    }
    Set(key, ValueNode::List(items));
}

void PropertiesNode::Merge(const utils::ObjectNode& other) {
    for (const auto& [key, value] : other.Items()) {
        if (value.Kind() != ValueKind::Object) Set(key, value);
    }
}

bool PropertiesNode::Check() const {
    for (const auto& [key, value] : entries_) {
        if (!CheckKeyName("Property Key", key)) return false;
        if (key == "$time" && value.Kind() != ValueKind::DateTime) {
            WriteDiagnostic("The property '$time' should be DateTime type.");
            return false;
        }
        if (key == "$project" && value.Kind() != ValueKind::String) {
            WriteDiagnostic("The property '$project' should be String type.");
            return false;
        }
    }
    return true;
}

}  // namespace usage_analytics
