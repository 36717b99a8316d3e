#pragma once
// Fetches one file from one URL into one local path over a single connection. It
// probes where the URL leads and how large the file is before transferring, writes to
// localPath + ".part", resumes from that file's size on the next attempt and replaces
// localPath only once the transfer is complete.
#include <curl/curl.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "pipeline/curl_handles.h"

class CurlClient {
public:
    // (owner, bytes per second, percent); at most once per second.
    using ProgressSink = void (*)(void* owner, double bytesPerSecond, double percent);

    static constexpr double kMinimumFileBytes = 1048576.0;
    // Results besides 0 and libcurl's codes.
    static constexpr int32_t kPartFileUnopenable = -996;
    static constexpr int32_t kNoEasyHandle = -997;
    static constexpr int32_t kSizeUnknownOrTooSmall = -998;

    CurlClient(const std::wstring& url, const std::wstring& localPath, void* owner, ProgressSink progressSink);
    ~CurlClient();
    CurlClient(const CurlClient&) = delete;
    CurlClient& operator=(const CurlClient&) = delete;

    // One attempt; blocking. 0 when the file is complete at localPath, else a libcurl
    // result code or one of the negative results above.
    int32_t Start();

    std::wstring GetLocalPath(bool partial) const;
    // The final URL after redirects, as the probes found it.
    const std::string& RealUrl() const noexcept { return realUrl_; }
    // Makes a running transfer (and any later attempt) end soon; any thread may call it.
    void RequestAbort() noexcept { abortRequested_ = true; }

private:
    void Probe(const std::string& probeUrl);
    int32_t Transfer();
    // After a complete transfer the ".part" file becomes localPath.
    int32_t ReplaceTarget(int32_t result);

    // Probe requests: header only, connect time-out, the client's abort and stall guard.
    int SetProbeOptions(CURL* handle, const std::string& url);
    Pipeline::CurlHandle Head(const std::string& url);
    double GetDownloadFileLength(CURL* handle);
    std::string GetRealUrl_Str(const std::string& url);
    double GetDownloadFileLength_Str(const std::string& url);
    void ReportSizeProbeFailure(long status);

    static int ProbeAbortCallback(void* client, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
    static int ProgressCallback(void* client, curl_off_t dltotal, curl_off_t dlnow, curl_off_t ultotal,
                                curl_off_t ulnow);

    std::wstring url_;
    std::wstring localPath_;
    void* owner_;
    CURL* transfer_ = nullptr;
    ProgressSink progressSink_;
    double fileLength_ = -1.0;
    int64_t resumeOffset_ = -1;
    int64_t lastProgressTime_ = 0;
    std::atomic<bool> abortRequested_{false};
    std::string realUrl_;
};
