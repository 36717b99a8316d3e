#pragma once
// Multi-part download: a file of 20 MiB or more is fetched as two byte ranges at once,
// each into a part file of its own, then joined, checked against the MD5 in the final
// URL and reported. Parts resume from their files within the object's life.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "pipeline/curl_handles.h"
#include "pipeline/download_worker.h"
#include "pipeline/downloader.h"
#include "pipeline/status_callback.h"

class CMTCurlDownloader : public CDownloader {
public:
    CMTCurlDownloader(StatusCallback callback, const std::wstring& url, const std::wstring& localPath);
    // Stops every part, waits for all threads of the object and removes the part files;
    // no code is sent after that.
    ~CMTCurlDownloader() override;

    void Start() override;

private:
    struct DownloadPartNode {
        Pipeline::FilePtr file;
        int64_t start = 0;  // next byte this part still needs
        int64_t end = 0;    // its last byte, inclusive
        Pipeline::CurlHandle handle;
        std::string url;
        std::string path;
        int32_t state = -1;  // -1 pending, 0 complete, -2 file unopenable, else libcurl's result
        std::atomic<int64_t> written{0};
        int64_t attemptStart = 0;   // where the current attempt's range began
        bool answerChecked = false;  // the current attempt's status was looked at
    };

    void Start_Down();
    bool getRealDownloadUrl(const std::string& probeUrl);
    void downloadThreadFun(DownloadPartNode* node);
    int32_t downloadExe(DownloadPartNode& node);
    void waitForFinishThreadFun();
    // Appends the other parts to part 0 and puts it in the package's place.
    bool JoinParts();
    void FinishComplete(int32_t firstError);
    void FinishFailed(int32_t firstError);

    static size_t WritePart(char* data, size_t size, size_t count, void* node);
    static int ProgressCallback(void* downloader, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
    static int ProbeAbortCallback(void* downloader, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

    std::string PartPath(int index) const;
    void DeletePartFiles() const;
    void Send(int32_t code, double value, const wchar_t* text) const;
    void LaunchThread(std::thread thread);
    void JoinThreads();

    std::vector<std::unique_ptr<DownloadPartNode>> parts_;
    StatusCallback callback_;
    std::wstring localPath_;
    std::wstring url_;
    std::string realUrl_;
    int64_t fileLength_ = -1;
    std::string expectedMd5_;
    std::atomic<double> lastPercent_{0.0};
    std::atomic<int32_t> activeParts_{0};
    std::atomic<int64_t> lastProgressTime_{0};
    bool retryUsed_ = false;
    // Part and finishing threads; joined by the next run or the destructor, never left
    // running past the object.
    std::mutex threadsLock_;
    std::vector<std::thread> threads_;
    Pipeline::DownloadWorker worker_;
};
