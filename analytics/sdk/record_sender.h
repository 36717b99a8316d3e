#pragma once
// Uploads one batch (a JSON array) to the collection service.
#include <string>

namespace usage_analytics {

class RecordSender {
public:
    explicit RecordSender(std::string serverUrl) : serverUrl_(std::move(serverUrl)) {}

    // True only for an HTTP 200 reply. Every attempt that reaches the HTTP layer
    // updates the process-wide last-send flag.
    bool Send(const std::string& batchJson);

private:
    std::string serverUrl_;
};

// Whether the latest upload attempt in this process succeeded; false before any.
bool LastSendSucceeded();

}  // namespace usage_analytics
