#pragma once
// Collects the codes a downloader sends and drives it as the pipeline would: a 1005
// starts the next run, 1003 and 1004 end the download.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "pipeline/downloader.h"
#include "pipeline/status_callback.h"

namespace PipelineTests {

struct StatusEvent {
    int32_t code;
    double value;
    std::wstring text;
};

class StatusRecorder {
public:
    StatusCallback Callback();

    // Starts the downloader and restarts it on each 1005, as the pipeline does, until a
    // 1003 or 1004 arrives; false when none came within the time limit.
    bool RunToEnd(CDownloader& downloader, std::chrono::seconds limit = std::chrono::seconds(90));
    // Waits for the first code of the given kind.
    bool WaitFor(int32_t code, std::chrono::seconds limit);

    std::vector<StatusEvent> Events() const;
    // Every code but progress, as `1001(1,"") 1003(0,"LibCurl")`; runs separated by " | ".
    std::wstring Sequence() const;
    std::vector<double> ProgressValues() const;

private:
    size_t CountTerminal() const;

    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::vector<StatusEvent> events_;
};

}  // namespace PipelineTests
