#include "pipeline/mt_curl_downloader.h"

#include <windows.h>

#include <cstdio>
#include <ctime>

#include "app/settings/installer_config.h"
#include "pipeline/curl_request_options.h"
#include "pipeline/status_callback.h"
#include "pipeline/part_ranges.h"
#include "pipeline/retry_budget.h"
#include "pipeline/tls_trust.h"
#include "utils/debug_log.h"
#include "utils/file_md5.h"
#include "utils/url_text.h"

namespace {

constexpr wchar_t kTag[] = L"LibCurl";
constexpr int64_t kMinimumFileBytes = 256;
constexpr int kPartRetryBudget = 12;
constexpr DWORD kPartRetryPauseMs = 400;
constexpr DWORD kPartStartSpacingMs = 100;
constexpr DWORD kFinishPollMs = 200;
constexpr size_t kJoinBlockBytes = 1 << 20;
constexpr size_t kMd5Digits = 32;
constexpr long kPartialContent = 206;

void RemoveFile(const std::string& path) { std::remove(path.c_str()); }

}  // namespace

CMTCurlDownloader::CMTCurlDownloader(StatusCallback callback, const std::wstring& url, const std::wstring& localPath)
    : callback_(std::move(callback)), localPath_(localPath), url_(url), worker_([this] { Start_Down(); }) {
    RemoveFile(Pipeline::AnsiPath(localPath_));
    DeletePartFiles();
}

CMTCurlDownloader::~CMTCurlDownloader() {
    worker_.Stop();
    JoinThreads();
    parts_.clear();
    DeletePartFiles();
}

void CMTCurlDownloader::Start() { worker_.Start(); }

std::string CMTCurlDownloader::PartPath(int index) const {
    return Pipeline::AnsiPath(localPath_) + "_" + std::to_string(index);
}

void CMTCurlDownloader::DeletePartFiles() const {
    for (int i = 0; i < Pipeline::kMaxParts; ++i) RemoveFile(PartPath(i));
}

void CMTCurlDownloader::Send(int32_t code, double value, const wchar_t* text) const {
    if (!worker_.Stopping() && callback_) callback_(code, value, text);
}

void CMTCurlDownloader::LaunchThread(std::thread thread) {
    std::lock_guard<std::mutex> guard(threadsLock_);
    threads_.push_back(std::move(thread));
}

void CMTCurlDownloader::JoinThreads() {
    for (;;) {
        std::vector<std::thread> running;
        {
            std::lock_guard<std::mutex> guard(threadsLock_);
            running.swap(threads_);
        }
        if (running.empty()) return;
        for (std::thread& thread : running) {
            // The finishing thread of the last run may be the one starting this run.
            if (thread.get_id() == std::this_thread::get_id()) thread.detach();
            else thread.join();
        }
    }
}

void CMTCurlDownloader::Start_Down() {
    // Threads of the previous run have ended, or are about to (its finishing thread
    // may still be returning from the code that started this run).
    JoinThreads();
    Send(DL_CODE_START, 1.0, L"");
    UTILS_LOG(L"CMTCurlDownloader::Start_Down", __LINE__, L"start download\r\n");
    const std::string probeUrl = Pipeline::RequestUrlBytes(url_);
    RemoveFile(Pipeline::AnsiPath(localPath_));
    if (lastPercent_ == 0.0) DeletePartFiles();
    if ((realUrl_.empty() || fileLength_ < kMinimumFileBytes) && !getRealDownloadUrl(probeUrl)) {
        Send(DL_CODE_FAIL, 0.0, kTag);
        return;
    }

    const std::vector<Pipeline::PartRange> ranges = Pipeline::SplitIntoParts(fileLength_);
    for (size_t i = 0; i < ranges.size(); ++i) {
        auto node = std::make_unique<DownloadPartNode>();
        node->path = PartPath(static_cast<int>(i));
        const int64_t partBytes = ranges[i].last - ranges[i].first + 1;
        int64_t existing = Pipeline::FileSize(node->path);
        if (existing > partBytes) {
            // Longer than its range: not this package's part. Start it over.
            RemoveFile(node->path);
            existing = 0;
        }
        existing = existing < 0 ? 0 : existing;
        node->written = existing;
        node->start = ranges[i].first + existing;
        node->end = ranges[i].last;
        node->handle.reset(curl_easy_init());
        node->url = realUrl_;
        if (node->start > node->end) {
            node->state = 0;
        } else {
            node->file.reset(std::fopen(node->path.c_str(), "ab+"));
            if (!node->file) node->state = -2;
        }
        parts_.push_back(std::move(node));
    }

    for (const auto& node : parts_) {
        if (node->state != -1) continue;
        ++activeParts_;
        LaunchThread(std::thread(&CMTCurlDownloader::downloadThreadFun, this, node.get()));
        if (!worker_.Sleep(kPartStartSpacingMs)) break;
    }
    LaunchThread(std::thread(&CMTCurlDownloader::waitForFinishThreadFun, this));
}

bool CMTCurlDownloader::getRealDownloadUrl(const std::string& probeUrl) {
    realUrl_.clear();
    expectedMd5_.clear();
    fileLength_ = 0;
    if (!g_InstallerConfig.CurlReady) return false;
    Pipeline::CurlHandle handle(curl_easy_init());
    if (!handle) return false;
    CURL* curl = handle.get();
    const Pipeline::CurlHeaderList headers = Pipeline::MakeHeaderList({"Connection: keep-alive"});
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
    int options = Pipeline::FollowRedirects(curl);
    options |= Pipeline::SetHeaderProbeOptions(curl, probeUrl, &CMTCurlDownloader::ProbeAbortCallback, this);
    if (options != 0 || curl_easy_perform(curl) != CURLE_OK) return false;

    const std::string effective = Pipeline::EffectiveUrl(curl);
    if (!effective.empty()) {
        realUrl_ = effective;
        UTILS_LOG(L"CMTCurlDownloader::getRealDownloadUrl", __LINE__, L"Download File real url %hs\r\n",
                  realUrl_.c_str());
        expectedMd5_ = Utils::GetUrlMd5(realUrl_);
    }
    curl_off_t length = -1;
    long status = 0;
    if (curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK &&
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status) == CURLE_OK && status >= 200 && status <= 399) {
        fileLength_ = length;
        UTILS_LOG(L"CMTCurlDownloader::getRealDownloadUrl", __LINE__, L"Download File Length %lld\r\n",
                  static_cast<long long>(fileLength_));
    }
    return !realUrl_.empty() && fileLength_ >= kMinimumFileBytes;
}

void CMTCurlDownloader::downloadThreadFun(DownloadPartNode* node) {
    int budget = kPartRetryBudget;
    int32_t result = downloadExe(*node);
    while (result != 0 && budget > 0 && !worker_.Stopping()) {
        budget -= Pipeline::RetryCost(result);
        UTILS_LOG(L"CMTCurlDownloader::downloadThreadFun", __LINE__, L"CurlDownLoader Code=%d\r\n", result);
        if (!worker_.Sleep(kPartRetryPauseMs)) break;
        result = downloadExe(*node);
    }
    node->file.reset();
    --activeParts_;
}

int32_t CMTCurlDownloader::downloadExe(DownloadPartNode& node) {
    const std::string range = std::to_string(node.start) + "-" + std::to_string(node.end);
    node.attemptStart = node.start;
    node.answerChecked = false;
    CURL* curl = node.handle.get();
    if (!curl) return node.state = CURLE_FAILED_INIT;
    int options = curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    options |= curl_easy_setopt(curl, CURLOPT_URL, node.url.c_str());
    options |= curl_easy_setopt(curl, CURLOPT_TIMEOUT, 0L);
    options |= Pipeline::FollowRedirects(curl);
    options |= curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CMTCurlDownloader::WritePart);
    options |= curl_easy_setopt(curl, CURLOPT_WRITEDATA, &node);
    options |= curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    options |= curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &CMTCurlDownloader::ProgressCallback);
    options |= curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
    options |= curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    options |= curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, Pipeline::kConnectTimeoutSeconds);
    options |= Pipeline::LimitStalls(curl);
    options |= Pipeline::RequireTrustedServer(curl, node.url);
    options |= Pipeline::UseLargeReceiveBuffer(curl);
    options |= curl_easy_setopt(curl, CURLOPT_RANGE, range.c_str());
    if (options != 0) return node.state = options;

    const int32_t result = curl_easy_perform(curl);
    if (result != CURLE_OK) {
        UTILS_LOG(L"CMTCurlDownloader::downloadExe", __LINE__, L"error:%d:%hs\r\n", result,
                  curl_easy_strerror(static_cast<CURLcode>(result)));
    } else {
        UTILS_LOG(L"CMTCurlDownloader::downloadExe", __LINE__, L"curl_easy_cleanup\r\n");
    }
    curl_easy_reset(curl);
    if (result == CURLE_OK) node.file.reset();
    return node.state = result;
}

size_t CMTCurlDownloader::WritePart(char* data, size_t size, size_t count, void* context) {
    auto& node = *static_cast<DownloadPartNode*>(context);
    if (!node.file) return 0;
    if (!node.answerChecked) {
        node.answerChecked = true;
        // A server that ignores the range sends the file from its first byte; only a
        // part that asked for that byte may store it.
        long status = 0;
        curl_easy_getinfo(node.handle.get(), CURLINFO_RESPONSE_CODE, &status);
        if (status != kPartialContent && node.attemptStart != 0) return 0;
    }
    const size_t wanted = Pipeline::AcceptedBytes(node.start, node.end, size * count);
    if (wanted == 0) return 0;
    const size_t stored = std::fwrite(data, 1, wanted, node.file.get());
    node.start += static_cast<int64_t>(stored);
    node.written += static_cast<int64_t>(stored);
    return stored;
}

int CMTCurlDownloader::ProbeAbortCallback(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<CMTCurlDownloader*>(context)->worker_.Stopping() ? 1 : 0;
}

int CMTCurlDownloader::ProgressCallback(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* self = static_cast<CMTCurlDownloader*>(context);
    if (self->worker_.Stopping()) return 1;
    const int64_t now = std::time(nullptr);
    if (now < self->lastProgressTime_ + 1) return 0;
    self->lastProgressTime_ = now;

    double percent = 0.0;
    if (self->fileLength_ >= kMinimumFileBytes) {
        for (const auto& node : self->parts_) {
            const int64_t written = node->written;
            if (written > 0) percent += static_cast<double>(written) * 100 / static_cast<double>(self->fileLength_);
        }
    }
    if (percent > 100) return 0;
    if (percent - self->lastPercent_ >= 1.0) {
        self->lastPercent_ = percent;
        self->Send(DL_CODE_PROGRESS, percent / 100, L"");
    }
    return 0;
}

void CMTCurlDownloader::waitForFinishThreadFun() {
    while (activeParts_ > 0) ::Sleep(kFinishPollMs);
    if (worker_.Stopping()) return;
    int32_t firstError = 0;
    for (const auto& node : parts_) {
        if (node->state != 0) {
            firstError = node->state;
            break;
        }
    }
    if (firstError == 0) FinishComplete(firstError);
    else FinishFailed(firstError);
}

bool CMTCurlDownloader::JoinParts() {
    for (const auto& node : parts_) node->file.reset();
    Pipeline::FilePtr whole(std::fopen(PartPath(0).c_str(), "ab+"));
    bool joined = whole != nullptr;
    std::vector<char> block(kJoinBlockBytes);
    for (int i = 1; joined && i < static_cast<int>(parts_.size()); ++i) {
        Pipeline::FilePtr part(std::fopen(PartPath(i).c_str(), "rb"));
        joined = part != nullptr;
        while (joined) {
            const size_t read = std::fread(block.data(), 1, block.size(), part.get());
            if (read == 0) {
                joined = !std::ferror(part.get());
                break;
            }
            joined = std::fwrite(block.data(), 1, read, whole.get()) == read;
        }
        UTILS_LOG(L"CMTCurlDownloader::waitForFinishThreadFun", __LINE__, L"partPath::%hs\r\n", PartPath(i).c_str());
    }
    if (whole && std::fclose(whole.release()) != 0) joined = false;
    const std::string target = Pipeline::AnsiPath(localPath_);
    joined = joined && std::rename(PartPath(0).c_str(), target.c_str()) == 0;
    DeletePartFiles();
    if (!joined) RemoveFile(target);
    return joined;
}

void CMTCurlDownloader::FinishComplete(int32_t firstError) {
    lastPercent_ = 0.0;
    if (!JoinParts()) {
        // The package could not be put together (e.g. a full disk): a failure, not a success.
        FinishFailed(CURLE_WRITE_ERROR);
        return;
    }
    if (expectedMd5_.size() == kMd5Digits) {
        const std::string actual = Utils::FileMd5(Pipeline::AnsiPath(localPath_));
        if (actual.size() == kMd5Digits && actual != expectedMd5_) {
            Send(DL_CODE_MD5_NOTE, firstError, L"mtcurl文件md5校验失败");
            RemoveFile(Pipeline::AnsiPath(localPath_));
            parts_.clear();
            if (retryUsed_) {
                UTILS_LOG(L"CMTCurlDownloader::waitForFinishThreadFun", __LINE__,
                          L"finish recv, md5 chaek failed and retry failed.\r\n");
                Send(DL_CODE_FAIL, firstError, kTag);
            } else {
                retryUsed_ = true;
                UTILS_LOG(L"CMTCurlDownloader::waitForFinishThreadFun", __LINE__,
                          L"finish recv, md5 chaek failed retry once.\r\n");
                Send(DL_CODE_RETRY, firstError, kTag);
            }
            return;
        }
    } else {
        Send(DL_CODE_MD5_NOTE, firstError, L"mtcurl获取url-md5失败");
    }
    UTILS_LOG(L"CMTCurlDownloader::waitForFinishThreadFun", __LINE__, L"finish recv\r\n");
    parts_.clear();
    Send(DL_CODE_SUCCESS, 0.0, kTag);
}

void CMTCurlDownloader::FinishFailed(int32_t firstError) {
    parts_.clear();
    if (lastPercent_ == 0.0) DeletePartFiles();
    if (retryUsed_) {
        lastPercent_ = 0.0;
        Send(DL_CODE_FAIL, firstError, kTag);
    } else {
        retryUsed_ = true;
        Send(DL_CODE_RETRY, firstError, kTag);
    }
}
