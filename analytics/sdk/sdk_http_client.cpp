#include "analytics/sdk/sdk_http_client.h"

#include <curl/curl.h>

#include <stdexcept>

#include "analytics/sdk/diagnostics.h"

namespace usage_analytics {

namespace {

size_t AppendToBody(char* data, size_t size, size_t count, void* body) {
    // No exception may cross libcurl's C frames; a short count aborts the transfer instead.
    try {
        static_cast<std::string*>(body)->append(data, size * count);
        return size * count;
    } catch (...) {
        return 0;
    }
}

}  // namespace

SdkHttpClient::SdkHttpClient() : handle_(curl_easy_init()) {
    if (!handle_) throw std::runtime_error("Couldn't initialize curl handle");
}

SdkHttpClient::~SdkHttpClient() {
    curl_easy_reset(static_cast<CURL*>(handle_));
    curl_easy_cleanup(static_cast<CURL*>(handle_));
}

HttpResponse SdkHttpClient::Post(const std::string& url, const std::string& body) {
    try {
        SdkHttpClient client;
        return client.Perform(url, body);
    } catch (const std::exception& error) {
        WriteDiagnostic(error.what());
        return HttpResponse{-1, error.what()};
    }
}

HttpResponse SdkHttpClient::Perform(const std::string& url, const std::string& body) {
    CURL* curl = static_cast<CURL*>(handle_);
    HttpResponse response;
    // No Content-Type of our own: libcurl's form-post default is what the service expects.
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, AppendToBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &response.body);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "UsageAnalytics CPP SDK 0.9");
    // Bounds a flush at shutdown; signals cannot carry the timeout across threads.
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, kTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);

    const CURLcode result = curl_easy_perform(curl);
    if (result != CURLE_OK) {
        response.status = -1;
        response.body = curl_easy_strerror(result);
    } else {
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &response.status);
    }
    return response;
}

}  // namespace usage_analytics
