#pragma once
// gzip framing (deflate, level 9, window bits 31) of one upload batch.
#include <optional>
#include <string>
#include <string_view>

namespace usage_analytics {

// The compressed bytes, or nothing after writing a diagnostic line.
std::optional<std::string> GzipCompress(std::string_view input);

}  // namespace usage_analytics
