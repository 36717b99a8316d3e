#pragma once
// Collects what the SDK writes to standard error while the object lives.
#include <iostream>
#include <sstream>
#include <string>

namespace AnalyticsTests {

class StandardErrorCapture {
public:
    StandardErrorCapture() : previous_(std::cerr.rdbuf(captured_.rdbuf())) {}
    StandardErrorCapture(const StandardErrorCapture&) = delete;
    StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;
    ~StandardErrorCapture() { std::cerr.rdbuf(previous_); }

    std::string Text() const { return captured_.str(); }

private:
    std::ostringstream captured_;
    std::streambuf* previous_;
};

}  // namespace AnalyticsTests
