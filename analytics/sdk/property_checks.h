#pragma once
// The collection service's rules for names, identities and string values. Each check
// writes its diagnostic line and returns false on the first rule broken.
#include <string>
#include <string_view>

namespace usage_analytics {

inline constexpr size_t kMaxStringValueBytes = 8192;
inline constexpr size_t kMaxNameBytes = 100;
inline constexpr size_t kMaxIdBytes = 255;

// Well-formed UTF-8 whose single bytes are printable ASCII, tab, line feed or carriage return.
bool IsWellFormedUtf8(std::string_view text);

// label is "Event Name" or "Property Key".
bool CheckKeyName(const std::string& label, const std::string& name);
// label is "Distinct ID" or "Original ID".
bool CheckId(const std::string& label, const std::string& id);
bool CheckStringValue(const std::string& key, const std::string& value);

}  // namespace usage_analytics
