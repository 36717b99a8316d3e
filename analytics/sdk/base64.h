#pragma once
// Standard Base64 (RFC 4648 alphabet, "=" padding).
#include <string>
#include <string_view>

namespace usage_analytics {

std::string Base64Encode(std::string_view bytes);

}  // namespace usage_analytics
