#include "analytics/sdk/sdk.h"

#include <ctime>
#include <mutex>
#include <shared_mutex>

#include "analytics/sdk/property_checks.h"
#include "analytics/sdk/record_store.h"
#include "analytics/sdk/track_id.h"

namespace usage_analytics {

namespace {

using utils::ObjectNode;
using utils::ValueKind;
using utils::ValueNode;

const char kLibName[] = "cpp";
const char kLibVersion[] = "0.9";
const char kConsumptionKey[] = "qm_consumption";

PropertiesNode PresetSuperProperties() {
    PropertiesNode properties;
    properties.SetString("$lib", kLibName);
    properties.SetString("$lib_version", kLibVersion);
    return properties;
}

ObjectNode LibObject() {
    ObjectNode lib;
    lib.Set("$lib", ValueNode::String(kLibName));
    lib.Set("$lib_version", ValueNode::String(kLibVersion));
    lib.Set("$lib_method", ValueNode::String("code"));
    return lib;
}

// The one instance: identity, super properties and where records go.
class SdkState {
public:
    SdkState(const std::string& stagingFilePath, const std::string& serverUrl, const std::string& distinctId,
             bool isLoginId)
        : superProperties(PresetSuperProperties()),
          distinctId(distinctId),
          isLoginId(isLoginId),
          store(serverUrl, stagingFilePath),
          trackIds(static_cast<uint32_t>(std::time(nullptr))) {}

    bool AddEvent(const std::string& type, const std::string& eventName, const PropertiesNode& properties,
                  const std::string& recordDistinctId, const std::string& previousId);

    PropertiesNode superProperties;
    std::string distinctId;
    bool isLoginId;
    RecordStore store;
    TrackIdGenerator trackIds;
};

bool SdkState::AddEvent(const std::string& type, const std::string& eventName, const PropertiesNode& properties,
                        const std::string& recordDistinctId, const std::string& previousId) {
    if (!properties.Check()) return false;
    if (type == "track" && !CheckKeyName("Event Name", eventName)) return false;
    if (type == "track_signup" && !CheckId("Original ID", previousId)) return false;

    PropertiesNode merged;
    if (type.find("track") != std::string::npos) merged.Merge(superProperties);
    merged.Merge(properties);

    // The caller's set was checked; super properties were not, so kinds are checked again.
    const int64_t now = CurrentTimeMilliseconds();
    int64_t time = now;
    if (const ValueNode* given = merged.Find("$time")) {
        if (given->Kind() == ValueKind::DateTime) {
            time = given->AsDateTime().seconds * 1000 + given->AsDateTime().milliseconds;
        }
        merged.Remove("$time");
    }
    std::string project;
    if (const ValueNode* given = merged.Find("$project")) {
        if (given->Kind() == ValueKind::String) project = given->AsString();
        merged.Remove("$project");
    }
    if (isLoginId) merged.SetBool("$is_login_id", true);

    ObjectNode record;
    record.Set("type", ValueNode::String(type));
    record.Set("time", ValueNode::Int(time));
    record.Set("distinct_id", ValueNode::String(recordDistinctId));
    record.SetObject("properties", merged);
    record.SetObject("lib", LibObject());
    record.Set("_track_id", ValueNode::Int(trackIds.Next(now)));
    if (!project.empty()) record.Set("project", ValueNode::String(project));
    if (type == "track" || type == "track_signup") record.Set("event", ValueNode::String(eventName));
    if (type == "track_signup") record.Set("original_id", ValueNode::String(previousId));

    store.Add(record);
    return true;
}

// Readers (events, uploads) share the lock; Init, Shutdown and identity or super
// property changes take it alone, so they never race an event being built.
std::shared_mutex instanceLock;
std::unique_ptr<SdkState> instance;

bool AddProfileEvent(const std::string& type, const PropertiesNode& properties) {
    const std::shared_lock lock(instanceLock);
    return instance && instance->AddEvent(type, "", properties, instance->distinctId, "");
}

template <typename Fill>
bool AddOneValueProfileEvent(const std::string& type, Fill fill) {
    PropertiesNode properties;
    fill(properties);
    return AddProfileEvent(type, properties);
}

}  // namespace

bool Sdk::Init(const std::string& stagingFilePath, const std::string& serverUrl, const std::string& distinctId,
               bool isLoginId) {
    if (!CheckId("Distinct ID", distinctId)) return false;
    const std::unique_lock lock(instanceLock);
    if (!instance) instance = std::make_unique<SdkState>(stagingFilePath, serverUrl, distinctId, isLoginId);
    return true;
}

void Sdk::Shutdown() {
    const std::unique_lock lock(instanceLock);
    if (!instance) return;
    instance->store.Close();
    instance.reset();
}

bool Sdk::IsInitialized() {
    const std::shared_lock lock(instanceLock);
    return instance != nullptr;
}

bool Sdk::Track(const std::string& eventName, const PropertiesNode& properties) {
    const std::shared_lock lock(instanceLock);
    return instance && instance->AddEvent("track", eventName, properties, instance->distinctId, "");
}

bool Sdk::TrackActivity(const PropertiesNode& properties) {
    PropertiesNode activity;
    activity.SetString("$ios_install_source", "");
    activity.Merge(properties);
    return Track("QmEventActivity", activity);
}

bool Sdk::TrackLaunch() { return Track("QmEventLaunch", PropertiesNode()); }

bool Sdk::Login(const std::string& loginId) {
    // An empty or oversized login id would leave every later record without a usable identity.
    if (!CheckId("Distinct ID", loginId)) return false;
    const std::unique_lock lock(instanceLock);
    if (!instance) return false;
    const bool recorded = instance->AddEvent("track_signup", "$SignUp", PropertiesNode(), loginId,
                                             instance->distinctId);
    instance->distinctId = loginId;
    instance->isLoginId = true;
    return recorded;
}

bool Sdk::ProfileSet(const PropertiesNode& properties) { return AddProfileEvent("profile_set", properties); }

bool Sdk::ProfileSet(const std::string& key, const std::string& value) {
    return AddOneValueProfileEvent("profile_set", [&](PropertiesNode& p) { p.SetString(key, value); });
}

bool Sdk::ProfileSet(const std::string& key, int32_t value) {
    return AddOneValueProfileEvent("profile_set", [&](PropertiesNode& p) { p.SetNumber(key, value); });
}

bool Sdk::ProfileSetOnce(const PropertiesNode& properties) {
    return AddProfileEvent("profile_set_once", properties);
}

bool Sdk::ProfileSetOnce(const std::string& key, const std::string& value) {
    return AddOneValueProfileEvent("profile_set_once", [&](PropertiesNode& p) { p.SetString(key, value); });
}

bool Sdk::ProfileSetOnce(const std::string& key, int32_t value) {
    return AddOneValueProfileEvent("profile_set_once", [&](PropertiesNode& p) { p.SetNumber(key, value); });
}

bool Sdk::ProfileIncrement(const PropertiesNode& properties) {
    return AddProfileEvent("profile_increment", properties);
}

bool Sdk::ProfileIncrement(const std::string& key, int32_t value) {
    return AddOneValueProfileEvent("profile_increment", [&](PropertiesNode& p) { p.SetNumber(key, value); });
}

bool Sdk::ProfileAppend(const std::string& key, const std::string& value) {
    return AddOneValueProfileEvent("profile_append", [&](PropertiesNode& p) { p.SetList(key, {value}); });
}

bool Sdk::ProfileSetConsumption(double value) {
    return AddOneValueProfileEvent("profile_set", [&](PropertiesNode& p) { p.SetNumber(kConsumptionKey, value); });
}

bool Sdk::ProfileSetOnceConsumption(double value) {
    return AddOneValueProfileEvent("profile_set_once",
                                   [&](PropertiesNode& p) { p.SetNumber(kConsumptionKey, value); });
}

void Sdk::RegisterSuperProperties(const PropertiesNode& properties) {
    const std::unique_lock lock(instanceLock);
    if (instance) instance->superProperties.Merge(properties);
}

void Sdk::ClearSuperProperties() {
    const std::unique_lock lock(instanceLock);
    if (instance) instance->superProperties = PresetSuperProperties();
}

bool Sdk::FlushBatch() {
    const std::shared_lock lock(instanceLock);
    return instance && instance->store.FlushBatch();
}

bool Sdk::FlushAll() {
    const std::shared_lock lock(instanceLock);
    return instance && instance->store.FlushAll();
}

}  // namespace usage_analytics
