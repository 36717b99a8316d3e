#pragma once
// What the old version's uninstaller prints, turned into removal codes. Four keys, in
// an order of their own ("Error=" before "State="). No Windows calls here.
#include <cstdint>
#include <string_view>

#include "pipeline/status_callback.h"

class RemoverOutputParser {
public:
    static constexpr int kNoTerminalLine = 0;
    static constexpr int kSucceeded = 1;
    static constexpr int kFailed = 1000;

    explicit RemoverOutputParser(StatusCallback callback) : callback_(std::move(callback)) {}

    // One block of decoded output; the last terminal line of the block decides.
    int Parse(std::wstring_view text);

    // 65001 after "Encode=UTF8", otherwise 0 (the ANSI code page).
    int32_t OutputCodePage() const noexcept { return outputCodePage_; }

private:
    int ParseLine(std::wstring_view line);

    StatusCallback callback_;
    int32_t outputCodePage_ = 0;
};
