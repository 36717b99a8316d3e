#pragma once
// The process-wide analytics client: identity, super properties and the record store.
// Every operation does nothing (and returns false) until Init has succeeded.
#include <cstdint>
#include <memory>
#include <string>

#include "analytics/sdk/properties_node.h"

namespace usage_analytics {

class Sdk {
public:
    // Validates the id; a second call keeps the first identity and returns true.
    static bool Init(const std::string& stagingFilePath, const std::string& serverUrl,
                     const std::string& distinctId, bool isLoginId);
    // Saves unsent records to the staging file and removes the instance.
    static void Shutdown();
    static bool IsInitialized();

    static bool Track(const std::string& eventName, const PropertiesNode& properties);
    static bool TrackActivity(const PropertiesNode& properties);
    static bool TrackLaunch();
    // Records the sign-up and from then on reports under loginId.
    static bool Login(const std::string& loginId);

    static bool ProfileSet(const PropertiesNode& properties);
    static bool ProfileSet(const std::string& key, const std::string& value);
    static bool ProfileSet(const std::string& key, int32_t value);
    static bool ProfileSetOnce(const PropertiesNode& properties);
    static bool ProfileSetOnce(const std::string& key, const std::string& value);
    static bool ProfileSetOnce(const std::string& key, int32_t value);
    static bool ProfileIncrement(const PropertiesNode& properties);
    static bool ProfileIncrement(const std::string& key, int32_t value);
    static bool ProfileAppend(const std::string& key, const std::string& value);
    static bool ProfileSetConsumption(double value);
    static bool ProfileSetOnceConsumption(double value);

    static void RegisterSuperProperties(const PropertiesNode& properties);
    static void ClearSuperProperties();

    // The record store's uploads; false without an instance.
    static bool FlushBatch();
    static bool FlushAll();

    Sdk() = delete;
};

}  // namespace usage_analytics
