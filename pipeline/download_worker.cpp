#include "pipeline/download_worker.h"

namespace Pipeline {

namespace {
// The thread name every downloader's worker carries.
constexpr wchar_t kWorkerName[] = L"ABDEF";
}  // namespace

DownloadWorker::DownloadWorker(std::function<void()> run)
    : run_(std::move(run)), stopEvent_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

void DownloadWorker::Start() {
    if (stopping_) return;
    if (thread_.Handle() && ::GetCurrentThreadId() == thread_.ThreadId()) {
        rerun_ = true;
        return;
    }
    thread_.Close();
    thread_.Create(this, kWorkerName, [this](void*) { Run(); });
    if (thread_.Handle()) ::ResumeThread(thread_.Handle());
}

void DownloadWorker::Stop() {
    stopping_ = true;
    if (stopEvent_) ::SetEvent(stopEvent_.Get());
    thread_.Join();
}

bool DownloadWorker::Sleep(DWORD milliseconds) const {
    if (stopping_) return false;
    if (!stopEvent_) ::Sleep(milliseconds);
    else ::WaitForSingleObject(stopEvent_.Get(), milliseconds);
    return !stopping_;
}

void DownloadWorker::Run() {
    do {
        rerun_ = false;
        run_();
    } while (rerun_ && !stopping_);
}

}  // namespace Pipeline
