#pragma once
// The worker thread of a downloader: one run at a time. A new Start waits for the run
// before it; a Start made from inside a run (a retry reported on the worker itself)
// queues one more run instead of waiting for its own thread.
#include <windows.h>

#include <atomic>
#include <functional>

#include "utils/thread.h"
#include "utils/unique_handle.h"

namespace Pipeline {

class DownloadWorker {
public:
    explicit DownloadWorker(std::function<void()> run);
    ~DownloadWorker() { Stop(); }
    DownloadWorker(const DownloadWorker&) = delete;
    DownloadWorker& operator=(const DownloadWorker&) = delete;

    void Start();
    // Tells the run to stop, wakes its sleeps and waits for it. No run starts afterwards.
    void Stop();
    bool Stopping() const noexcept { return stopping_; }
    // Sleeps up to the time given; false when the downloader is stopping.
    bool Sleep(DWORD milliseconds) const;

private:
    void Run();

    std::function<void()> run_;
    std::atomic<bool> stopping_{false};
    std::atomic<bool> rerun_{false};
    Utils::KernelHandle stopEvent_;
    Utils::Thread thread_;
};

}  // namespace Pipeline
