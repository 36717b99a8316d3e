#include "pipeline/curl_request_options.h"

#include <sys/stat.h>

#include "pipeline/curl_handles.h"
#include "pipeline/tls_trust.h"
#include "utils/code_page.h"

namespace Pipeline {

CurlHeaderList MakeHeaderList(std::initializer_list<const char*> lines) {
    curl_slist* list = nullptr;
    for (const char* line : lines) {
        curl_slist* longer = curl_slist_append(list, line);
        if (!longer) {
            curl_slist_free_all(list);
            return nullptr;
        }
        list = longer;
    }
    return CurlHeaderList(list);
}

size_t DiscardBody(char*, size_t size, size_t count, void*) { return size * count; }

int UseLargeReceiveBuffer(CURL* handle) { return curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, kReceiveBufferBytes); }

int FollowRedirects(CURL* handle) {
    return curl_easy_setopt(handle, CURLOPT_FOLLOWLOCATION, 1L) |
           curl_easy_setopt(handle, CURLOPT_MAXREDIRS, kMaxRedirects);
}

int LimitStalls(CURL* handle) {
    return curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, kLowSpeedBytesPerSecond) |
           curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, kLowSpeedSeconds);
}

int SetHeaderProbeOptions(CURL* handle, const std::string& url, curl_xferinfo_callback abortProbe,
                          void* owner) {
    int options = curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
    options |= curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    options |= curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, &DiscardBody);
    options |= curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    // Without these a silent server or a destroyed downloader would leave a probe
    // waiting for ever.
    options |= LimitStalls(handle);
    options |= RequireTrustedServer(handle, url);
    options |= curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    options |= curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, abortProbe);
    options |= curl_easy_setopt(handle, CURLOPT_XFERINFODATA, owner);
    return options;
}

std::string EffectiveUrl(CURL* handle) {
    char* url = nullptr;
    if (!handle || curl_easy_getinfo(handle, CURLINFO_EFFECTIVE_URL, &url) != CURLE_OK || !url) return {};
    return url;
}

std::string RequestUrlBytes(const std::wstring& url) {
    const bool fileUrl = url.rfind(L"file:///", 0) == 0;
    return Utils::WideToMultiByte(url, fileUrl ? Utils::kAnsiCodePage : Utils::kUtf8CodePage);
}

std::string AnsiPath(const std::wstring& path) { return Utils::WideToMultiByte(path, Utils::kAnsiCodePage); }

long long FileSize(const std::string& ansiPath) {
    struct _stat64 status {};
    if (ansiPath.empty() || _stat64(ansiPath.c_str(), &status) != 0) return -1;
    return status.st_size;
}

}  // namespace Pipeline
