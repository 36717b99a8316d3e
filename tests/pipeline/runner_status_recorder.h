#pragma once
// Collects every status code a runner sends, from whichever thread sends it.
#include <cstdint>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pipeline/status_callback.h"

struct Status {
    int32_t code = 0;
    double value = 0.0;
    std::wstring text;

    bool operator==(const Status&) const = default;
};

inline void PrintTo(const Status& status, std::ostream* out) {
    *out << "{" << status.code << ", " << status.value << ", " << ::testing::PrintToString(status.text) << "}";
}

class StatusRecorder {
public:
    StatusCallback Callback() {
        return [this](int32_t code, double value, const wchar_t* text) {
            std::lock_guard lock(mutex_);
            records_.push_back({code, value, text ? text : L"(null)"});
        };
    }

    std::vector<Status> Records() const {
        std::lock_guard lock(mutex_);
        return records_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<Status> records_;
};
