#pragma once
// The property set callers fill for one event: typed setters that check what they
// store, and a check of the whole set before it becomes a record.
#include <cstdint>
#include <string>
#include <vector>

#include "analytics/sdk/object_node.h"

namespace usage_analytics {

class PropertiesNode : public utils::ObjectNode {
public:
    // A property set is flat: nested objects are silently ignored.
    void SetObject(const std::string& key, const utils::ObjectNode& value) override;

    void SetNumber(const std::string& key, double value);
    void SetNumber(const std::string& key, int32_t value);
    void SetBool(const std::string& key, bool value);
    void SetDateTime(const std::string& key, int64_t seconds, int32_t milliseconds);
    // A value that is too long or not clean UTF-8 is left out, with a diagnostic.
    void SetString(const std::string& key, const std::string& value);
    void SetString(const std::string& key, const char* value);
    // Every item must pass the string value checks, or nothing is stored.
    void SetList(const std::string& key, const std::vector<std::string>& items);

    // Entries of other replace entries with the same key.
    void Merge(const utils::ObjectNode& other);

    // Keys are valid names, "$time" is a DATETIME, "$project" a STRING.
    bool Check() const;

private:
    using ObjectNode::Set;
};

}  // namespace usage_analytics
