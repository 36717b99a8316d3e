#pragma once
// Single-connection download with CurlClient: retries within a budget, then checks the
// file against the MD5 the final URL carries.
#include <string>

#include "pipeline/curl_client.h"
#include "pipeline/download_worker.h"
#include "pipeline/downloader.h"
#include "pipeline/status_callback.h"

class CCurlDownloader : public CDownloader {
public:
    CCurlDownloader(StatusCallback callback, const std::wstring& url, const std::wstring& localPath);
    // Aborts a running transfer and waits for the worker; no code is sent after that.
    ~CCurlDownloader() override;

    void Start() override;

private:
    static void OnProgress(void* owner, double bytesPerSecond, double percent);
    void dlThreadFun();
    // False when the run ended with a code (a retry or a failure), true to go on to 1003.
    bool CheckMd5();
    void Send(int32_t code, double value, const wchar_t* text) const;

    StatusCallback callback_;
    std::wstring localPath_;
    std::wstring url_;
    CurlClient client_;
    bool md5RetryUsed_ = false;
    Pipeline::DownloadWorker worker_;
};
