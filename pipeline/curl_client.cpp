#include "pipeline/curl_client.h"

#include <windows.h>

#include <cstdio>
#include <ctime>
#include <cwchar>

#include "app/reports/usage_reports.h"
#include "pipeline/curl_request_options.h"
#include "pipeline/tls_trust.h"
#include "utils/debug_log.h"

using Pipeline::AnsiPath;
using Pipeline::CurlHandle;

namespace {

// The size libcurl read from the headers, -1.0 when there was none.
CURLcode ContentLength(CURL* handle, double& length) {
    curl_off_t bytes = -1;
    const CURLcode result = curl_easy_getinfo(handle, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &bytes);
    length = static_cast<double>(bytes);
    return result;
}

constexpr long kFirstAcceptedStatus = 200;
constexpr long kLastAcceptedStatus = 399;
// The direct size probe does not follow redirects and also takes a 400 answer.
constexpr long kLastAcceptedDirectStatus = 400;

void LogResult(const wchar_t* function, int line, int result) {
    UTILS_LOG(function, line, L"error:%d:%hs\r\n", result, curl_easy_strerror(static_cast<CURLcode>(result)));
}

}  // namespace

CurlClient::CurlClient(const std::wstring& url, const std::wstring& localPath, void* owner,
                       ProgressSink progressSink)
    : url_(url), localPath_(localPath), owner_(owner), progressSink_(progressSink) {}

CurlClient::~CurlClient() {
    abortRequested_ = true;
    std::remove(AnsiPath(GetLocalPath(true)).c_str());
}

std::wstring CurlClient::GetLocalPath(bool partial) const { return partial ? localPath_ + L".part" : localPath_; }

int32_t CurlClient::Start() {
    UTILS_LOG(L"CurlClient::Start", __LINE__, L"start download\r\n");
    int32_t result = CURLE_ABORTED_BY_CALLBACK;
    if (!abortRequested_) {
        Probe(Pipeline::RequestUrlBytes(url_));
        result = fileLength_ < kMinimumFileBytes ? kSizeUnknownOrTooSmall : Transfer();
    }
    result = ReplaceTarget(result);
    LogResult(L"CurlClient::Start", __LINE__, result);
    UTILS_LOG(L"CurlClient::Start", __LINE__, L"end download\r\n");
    return result;
}

void CurlClient::Probe(const std::string& probeUrl) {
    if (realUrl_.empty() || fileLength_ < kMinimumFileBytes) {
        CurlHandle head = Head(probeUrl);
        realUrl_ = Pipeline::EffectiveUrl(head.get());
        fileLength_ = GetDownloadFileLength(head.get());
    }
    if (realUrl_.empty() || fileLength_ < kMinimumFileBytes) {
        realUrl_ = GetRealUrl_Str(probeUrl);
        if (!realUrl_.empty()) fileLength_ = GetDownloadFileLength_Str(realUrl_);
    }
}

int32_t CurlClient::Transfer() {
    CurlHandle handle(curl_easy_init());
    if (!handle) return kNoEasyHandle;
    const std::string partialPath = AnsiPath(GetLocalPath(true));
    Pipeline::FilePtr file(std::fopen(partialPath.c_str(), "ab+"));
    if (!file) return kPartFileUnopenable;

    CURL* curl = handle.get();
    const Pipeline::CurlHeaderList headers =
        Pipeline::MakeHeaderList({"Connection: keep-alive", "Accept-Encoding: gzip, deflate"});
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(curl, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(curl, CURLOPT_TCP_KEEPIDLE, 10L);
    curl_easy_setopt(curl, CURLOPT_TCP_KEEPINTVL, 10L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 0L);

    int options = curl_easy_setopt(curl, CURLOPT_URL, realUrl_.c_str());
    options |= Pipeline::FollowRedirects(curl);
    options |= curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &std::fwrite);
    options |= curl_easy_setopt(curl, CURLOPT_WRITEDATA, file.get());
    options |= curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    options |= curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &CurlClient::ProgressCallback);
    options |= curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
    options |= curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    options |= curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, Pipeline::kConnectTimeoutSeconds);
    options |= Pipeline::LimitStalls(curl);
    options |= Pipeline::RequireTrustedServer(curl, realUrl_);
    options |= Pipeline::UseLargeReceiveBuffer(curl);
    resumeOffset_ = Pipeline::FileSize(partialPath);
    if (resumeOffset_ > 0) {
        options |= curl_easy_setopt(curl, CURLOPT_RESUME_FROM_LARGE, static_cast<curl_off_t>(resumeOffset_));
    }
    if (options != 0) return options;

    transfer_ = curl;
    int32_t result = curl_easy_perform(curl);
    transfer_ = nullptr;
    // A server that ignores the range would fail every later attempt the same way, the
    // ".part" file never shrinking: start that file over instead.
    if (result == CURLE_RANGE_ERROR) {
        file.reset();
        std::remove(partialPath.c_str());
    }
    return result;
}

int32_t CurlClient::ReplaceTarget(int32_t result) {
    if (result != 0) return result;
    const std::string target = AnsiPath(localPath_);
    std::remove(target.c_str());
    // A complete ".part" that cannot take the target's place is no success.
    return std::rename(AnsiPath(GetLocalPath(true)).c_str(), target.c_str()) == 0 ? 0 : CURLE_WRITE_ERROR;
}

int CurlClient::SetProbeOptions(CURL* handle, const std::string& url) {
    return Pipeline::SetHeaderProbeOptions(handle, url, &CurlClient::ProbeAbortCallback, this);
}

CurlHandle CurlClient::Head(const std::string& url) {
    CurlHandle handle(curl_easy_init());
    if (!handle) return handle;
    int result = Pipeline::FollowRedirects(handle.get()) | SetProbeOptions(handle.get(), url);
    if (result == 0) {
        result = curl_easy_perform(handle.get());
        if (result != CURLE_OK) LogResult(L"CurlClient::Head", __LINE__, result);
    }
    LogResult(L"CurlClient::Head", __LINE__, result);
    return handle;
}

double CurlClient::GetDownloadFileLength(CURL* handle) {
    double length = -1.0;
    long status = 0;
    int result = CURLE_FAILED_INIT;
    if (handle) {
        result = ContentLength(handle, length);
        curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    }
    LogResult(L"CurlClient::GetDownloadFileLength", __LINE__, result);
    if (result == CURLE_OK && status >= kFirstAcceptedStatus && status <= kLastAcceptedStatus) return length;
    ReportSizeProbeFailure(status);
    return -1.0;
}

std::string CurlClient::GetRealUrl_Str(const std::string& url) {
    std::string realUrl;
    CurlHandle handle(curl_easy_init());
    if (handle) {
        int result = Pipeline::FollowRedirects(handle.get()) | SetProbeOptions(handle.get(), url);
        if (result == 0) result = curl_easy_perform(handle.get());
        if (result != CURLE_OK) LogResult(L"CurlClient::GetRealUrl_Str", __LINE__, result);
        else realUrl = Pipeline::EffectiveUrl(handle.get());
    }
    return realUrl.empty() ? url : realUrl;
}

double CurlClient::GetDownloadFileLength_Str(const std::string& url) {
    double length = -1.0;
    CurlHandle handle(curl_easy_init());
    if (!handle) return length;
    int result = SetProbeOptions(handle.get(), url) | curl_easy_setopt(handle.get(), CURLOPT_HEADER, 1L);
    long status = 0;
    if (result == 0) result = curl_easy_perform(handle.get());
    if (result == 0) result = ContentLength(handle.get(), length);
    if (result == 0) result = curl_easy_getinfo(handle.get(), CURLINFO_RESPONSE_CODE, &status);
    LogResult(L"CurlClient::GetDownloadFileLength_Str", __LINE__, result);
    if (result != 0 || status < kFirstAcceptedStatus || status > kLastAcceptedDirectStatus) {
        ReportSizeProbeFailure(status);
    }
    return length;
}

void CurlClient::ReportSizeProbeFailure(long status) {
    wchar_t reason[200] = {};
    std::swprintf(reason, 200, L"1.获取文件大小的状态码为=%ld；", status);
    Reports::UsageTrackTask(L"下载失败原因", 0.0f, reason, {{L"AB", L"IN"}});
}

int CurlClient::ProbeAbortCallback(void* client, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<CurlClient*>(client)->abortRequested_ ? 1 : 0;
}

int CurlClient::ProgressCallback(void* context, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t) {
    auto* client = static_cast<CurlClient*>(context);
    if (client->abortRequested_) return 1;
    const int64_t now = std::time(nullptr);
    if (now < client->lastProgressTime_ + 1) return 0;
    client->lastProgressTime_ = now;

    curl_off_t bytesPerSecond = 0;
    if (curl_easy_getinfo(client->transfer_, CURLINFO_SPEED_DOWNLOAD_T, &bytesPerSecond) != CURLE_OK) bytesPerSecond = 0;
    const double speed = static_cast<double>(bytesPerSecond);
    double percent = 0.0;
    if (client->fileLength_ > kMinimumFileBytes) {
        percent = static_cast<double>(dlnow + client->resumeOffset_) / client->fileLength_ * 100.0;
    } else {
        if (dlnow <= 0 || dltotal <= 0) return 0;
        percent = static_cast<double>(dlnow) * 100.0 / static_cast<double>(dltotal);
    }
    if (percent == 0.0) return 0;
    if (client->progressSink_) client->progressSink_(client->owner_, speed, percent);
    if (dltotal != 0) {
        UTILS_LOG(L"CurlClient::ProgressCallback", __LINE__, L" %dM %dM   progress:%f%%  speed:%f \n",
                  static_cast<int>(dlnow / 1048576), static_cast<int>(dltotal / 1048576),
                  static_cast<double>(static_cast<float>(percent)),
                  static_cast<double>(static_cast<float>(speed / 1024)));
    }
    return 0;
}
