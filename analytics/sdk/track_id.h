#pragma once
// The record's "_track_id": two random parts and the event time, 2 + 3 + 4 decimal
// digits read as one number below 1,000,000,000.
#include <cstdint>
#include <mutex>
#include <random>

namespace usage_analytics {

class TrackIdGenerator {
public:
    explicit TrackIdGenerator(uint32_t seed) : random_(seed) {}

    // Safe to call from any thread.
    int32_t Next(int64_t nowMilliseconds);

private:
    std::mutex lock_;
    std::mt19937 random_;
};

// Wall-clock time in milliseconds since 1970-01-01 UTC.
int64_t CurrentTimeMilliseconds();

}  // namespace usage_analytics
