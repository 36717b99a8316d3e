#pragma once
// The upload's own URL encoding: only 0-9, A-Z, a-z and "-._~" stay as they are.
// Unlike the general Utils encoding, "+", "/" and "=" are escaped, which Base64 text needs.
#include <string>
#include <string_view>

namespace usage_analytics {

std::string UrlEncodeUnreserved(std::string_view text);

}  // namespace usage_analytics
