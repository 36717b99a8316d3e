#include "analytics/sdk/track_id.h"

#include <chrono>

namespace usage_analytics {

int32_t TrackIdGenerator::Next(int64_t nowMilliseconds) {
    int32_t first;
    int32_t second;
    {
        const std::lock_guard guard(lock_);
        first = std::uniform_int_distribution<int32_t>(100, 198)(random_) % 100;
        second = std::uniform_int_distribution<int32_t>(1000, 1998)(random_) % 1000;
    }
    const auto timeDigits = static_cast<int32_t>((nowMilliseconds % 10000 + 10000) % 10000);
    return first * 10'000'000 + second * 10'000 + timeDigits;
}

int64_t CurrentTimeMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

}  // namespace usage_analytics
