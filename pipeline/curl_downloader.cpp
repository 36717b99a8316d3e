#include "pipeline/curl_downloader.h"

#include <cstdio>

#include "pipeline/curl_request_options.h"
#include "pipeline/status_callback.h"
#include "pipeline/retry_budget.h"
#include "utils/debug_log.h"
#include "utils/file_md5.h"
#include "utils/url_text.h"

namespace {
constexpr wchar_t kTag[] = L"LibCurl";
constexpr int kRetryBudget = 12;
constexpr DWORD kRetryPauseMs = 500;
constexpr size_t kMd5Digits = 32;
}  // namespace

CCurlDownloader::CCurlDownloader(StatusCallback callback, const std::wstring& url, const std::wstring& localPath)
    : callback_(std::move(callback)),
      localPath_(localPath),
      url_(url),
      client_(url, localPath, this, &CCurlDownloader::OnProgress),
      worker_([this] { dlThreadFun(); }) {
    // A partial file of an earlier installer run may belong to another package: never resume it.
    std::remove(Pipeline::AnsiPath(client_.GetLocalPath(true)).c_str());
}

CCurlDownloader::~CCurlDownloader() {
    client_.RequestAbort();
    worker_.Stop();
}

void CCurlDownloader::Start() { worker_.Start(); }

void CCurlDownloader::Send(int32_t code, double value, const wchar_t* text) const {
    if (!worker_.Stopping() && callback_) callback_(code, value, text);
}

void CCurlDownloader::OnProgress(void* owner, double bytesPerSecond, double percent) {
    if (bytesPerSecond > 0 && percent <= 100) {
        static_cast<CCurlDownloader*>(owner)->Send(DL_CODE_PROGRESS, percent / 100, L"");
    }
}

void CCurlDownloader::dlThreadFun() {
    Send(DL_CODE_START, 1.0, L"");
    if (localPath_.empty()) Send(DL_CODE_FAIL, 1.0, L"");
    int budget = kRetryBudget;
    int32_t result = client_.Start();
    while (result != 0) {
        budget -= Pipeline::RetryCost(result);
        if (budget <= 0) {
            Send(DL_CODE_FAIL, result, kTag);
            return;
        }
        UTILS_LOG(L"CCurlDownloader::dlThreadFun", __LINE__, L"CurlDownLoader Code=%d\r\n", result);
        if (!worker_.Sleep(kRetryPauseMs)) return;
        result = client_.Start();
    }
    if (CheckMd5()) Send(DL_CODE_SUCCESS, 0.0, kTag);
}

bool CCurlDownloader::CheckMd5() {
    const std::string expected = Utils::GetUrlMd5(client_.RealUrl());
    if (expected.size() != kMd5Digits) {
        Send(DL_CODE_MD5_NOTE, 0.0, L"curl获取url-md5失败");
        return true;
    }
    if (Utils::FileMd5(Pipeline::AnsiPath(localPath_)) == expected) return true;
    Send(DL_CODE_MD5_NOTE, 0.0, L"curl文件md5校验失败");
    if (!md5RetryUsed_) {
        md5RetryUsed_ = true;
        Send(DL_CODE_RETRY, 0.0, kTag);
    } else {
        Send(DL_CODE_FAIL, 0.0, kTag);
    }
    return false;
}
