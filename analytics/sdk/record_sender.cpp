#include "analytics/sdk/record_sender.h"

#include <windows.h>

#include <atomic>
#include <optional>

#include "analytics/sdk/diagnostics.h"
#include "analytics/sdk/sdk_http_client.h"
#include "analytics/sdk/upload_body.h"

namespace usage_analytics {

namespace {

std::atomic<bool> lastSendSucceeded{false};

}  // namespace

bool LastSendSucceeded() { return lastSendSucceeded.load(); }

bool RecordSender::Send(const std::string& batchJson) {
    const std::optional<std::string> body = BuildUploadBody(batchJson);
    if (!body) return false;
    const HttpResponse response = SdkHttpClient::Post(serverUrl_, *body);
    const bool ok = response.status == 200;
    if (!ok) {
        ::OutputDebugStringA("[usage] UsageAnalytics SDK send failed\n");
        WriteDiagnostic("UsageAnalytics SDK send failed: " + response.body);
    }
    lastSendSucceeded.store(ok);
    return ok;
}

}  // namespace usage_analytics
