#pragma once
// What the product package prints, turned into status codes. No Windows calls here.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "pipeline/status_callback.h"

class PackageOutputParser {
public:
    // Parse results: no terminal line, "State=Success", a failure line.
    static constexpr int kNoTerminalLine = 0;
    static constexpr int kSucceeded = 1;
    static constexpr int kFailed = 1000;

    using ExePathHook = std::function<void(const std::wstring& exePath)>;

    explicit PackageOutputParser(StatusCallback callback, ExePathHook onExePath = {})
        : callback_(std::move(callback)), onExePath_(std::move(onExePath)) {}

    // One block of decoded output; the last terminal line of the block decides.
    int Parse(std::wstring_view text);

    // 0 is the ANSI code page; "Encode=" changes it for the output that follows.
    int32_t OutputCodePage() const noexcept { return outputCodePage_; }
    const std::array<int32_t, 3>& InstalledVersion() const noexcept { return installedVersion_; }

private:
    int ParseLine(std::wstring_view line);
    void Send(int32_t code, double value, const std::wstring& text = {}) const;

    StatusCallback callback_;
    ExePathHook onExePath_;
    int32_t outputCodePage_ = 0;
    std::array<int32_t, 3> installedVersion_ = {0, 0, 0};
};
