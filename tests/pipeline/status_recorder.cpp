#include "tests/pipeline/status_recorder.h"

#include <cstdio>

#include "pipeline/status_callback.h"

namespace PipelineTests {

namespace {
bool EndsRun(int32_t code) { return code == DL_CODE_SUCCESS || code == DL_CODE_FAIL || code == DL_CODE_RETRY; }
}  // namespace

StatusCallback StatusRecorder::Callback() {
    return [this](int32_t code, double value, const wchar_t* text) {
        {
            std::lock_guard<std::mutex> guard(lock_);
            events_.push_back({code, value, text ? text : L""});
        }
        changed_.notify_all();
    };
}

size_t StatusRecorder::CountTerminal() const {
    size_t count = 0;
    for (const StatusEvent& event : events_) count += EndsRun(event.code) ? 1 : 0;
    return count;
}

bool StatusRecorder::RunToEnd(CDownloader& downloader, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    size_t runs = 0;
    for (;;) {
        downloader.Start();
        ++runs;
        std::unique_lock<std::mutex> guard(lock_);
        if (!changed_.wait_until(guard, deadline, [&] { return CountTerminal() >= runs; })) return false;
        int32_t last = 0;
        for (const StatusEvent& event : events_) {
            if (EndsRun(event.code)) last = event.code;
        }
        if (last != DL_CODE_RETRY) return true;
    }
}

bool StatusRecorder::WaitFor(int32_t code, std::chrono::seconds limit) {
    std::unique_lock<std::mutex> guard(lock_);
    return changed_.wait_for(guard, limit, [&] {
        for (const StatusEvent& event : events_) {
            if (event.code == code) return true;
        }
        return false;
    });
}

std::vector<StatusEvent> StatusRecorder::Events() const {
    std::lock_guard<std::mutex> guard(lock_);
    return events_;
}

std::wstring StatusRecorder::Sequence() const {
    std::wstring sequence;
    for (const StatusEvent& event : Events()) {
        if (event.code == DL_CODE_PROGRESS) continue;
        if (!sequence.empty()) sequence += event.code == DL_CODE_START ? L" | " : L" ";
        wchar_t value[32];
        std::swprintf(value, 32, L"%g", event.value);
        sequence += std::to_wstring(event.code) + L"(" + value + L",\"" + event.text + L"\")";
    }
    return sequence;
}

std::vector<double> StatusRecorder::ProgressValues() const {
    std::vector<double> values;
    for (const StatusEvent& event : Events()) {
        if (event.code == DL_CODE_PROGRESS) values.push_back(event.value);
    }
    return values;
}

}  // namespace PipelineTests
