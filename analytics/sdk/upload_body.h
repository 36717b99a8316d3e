#pragma once
// The form body of one upload: "data_list=" + URL-encoded Base64 of the gzip stream
// of the batch's JSON array + "&gzip=1".
#include <optional>
#include <string>
#include <string_view>

namespace usage_analytics {

// Nothing when compression fails (its diagnostic is already written).
std::optional<std::string> BuildUploadBody(std::string_view batchJson);

}  // namespace usage_analytics
