#pragma once
// One form POST to the collection service over libcurl.
#include <memory>
#include <string>

namespace usage_analytics {

struct HttpResponse {
    long status = -1;  // -1 when the transfer itself failed
    std::string body;  // the reply, or the transfer error's text
};

class SdkHttpClient {
public:
    static constexpr long kTimeoutSeconds = 3;

    // Throws std::runtime_error("Couldn't initialize curl handle") when libcurl has no handle.
    SdkHttpClient();
    ~SdkHttpClient();
    SdkHttpClient(const SdkHttpClient&) = delete;
    SdkHttpClient& operator=(const SdkHttpClient&) = delete;

    // Never throws: any failure, including a handle that cannot be opened, comes back as
    // status -1 with its text as the body (and on standard error).
    static HttpResponse Post(const std::string& url, const std::string& body);

private:
    HttpResponse Perform(const std::string& url, const std::string& body);

    void* handle_;
};

}  // namespace usage_analytics
