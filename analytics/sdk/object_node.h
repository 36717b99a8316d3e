#pragma once
// An ordered property map. std::string compares bytes as unsigned chars, so iteration
// order (and with it every JSON object written) is plain byte order of the keys.
#include <map>
#include <string>

#include "analytics/sdk/value_node.h"

namespace usage_analytics::utils {

class ObjectNode {
public:
    using Entries = std::map<std::string, ValueNode>;

    ObjectNode() = default;
    ObjectNode(const ObjectNode&) = default;
    ObjectNode& operator=(const ObjectNode&) = default;
    ObjectNode(ObjectNode&&) = default;
    ObjectNode& operator=(ObjectNode&&) = default;
    virtual ~ObjectNode() = default;

    virtual void SetObject(const std::string& key, const ObjectNode& value);

    // Stores the value as it is; PropertiesNode hides this behind its checked setters.
    void Set(const std::string& key, ValueNode value);

    const ValueNode* Find(const std::string& key) const;
    bool Remove(const std::string& key) { return entries_.erase(key) != 0; }
    void Clear() noexcept { entries_.clear(); }
    bool Empty() const noexcept { return entries_.empty(); }
    const Entries& Items() const noexcept { return entries_; }

    std::string ToJson() const;

protected:
    Entries entries_;
};

}  // namespace usage_analytics::utils
