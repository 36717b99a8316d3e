#include "analytics/sdk/object_node.h"

#include "analytics/sdk/json_writer.h"

namespace usage_analytics::utils {

ValueNode ValueNode::Object(const ObjectNode& value) {
    return ValueNode(Payload(std::in_place_index<6>, std::make_shared<const ObjectNode>(value)));
}

void ObjectNode::SetObject(const std::string& key, const ObjectNode& value) {
    Set(key, ValueNode::Object(value));
}

void ObjectNode::Set(const std::string& key, ValueNode value) {
    entries_.insert_or_assign(key, std::move(value));
}

const ValueNode* ObjectNode::Find(const std::string& key) const {
    const auto found = entries_.find(key);
    return found == entries_.end() ? nullptr : &found->second;
}

std::string ObjectNode::ToJson() const {
    std::string json;
    AppendJsonObject(json, *this);
    return json;
}

}  // namespace usage_analytics::utils
