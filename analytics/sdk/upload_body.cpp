#include "analytics/sdk/upload_body.h"

#include "analytics/sdk/base64.h"
#include "analytics/sdk/form_url_encoding.h"
#include "analytics/sdk/gzip_compress.h"

namespace usage_analytics {

std::optional<std::string> BuildUploadBody(std::string_view batchJson) {
    const std::optional<std::string> compressed = GzipCompress(batchJson);
    if (!compressed) return std::nullopt;
    return "data_list=" + UrlEncodeUnreserved(Base64Encode(*compressed)) + "&gzip=1";
}

}  // namespace usage_analytics
