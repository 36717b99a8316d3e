#pragma once
// The codes a downloader sends through its StatusCallback.
#include <cstdint>

inline constexpr int32_t DL_CODE_START = 1001;
inline constexpr int32_t DL_CODE_PROGRESS = 1002;
inline constexpr int32_t DL_CODE_SUCCESS = 1003;
inline constexpr int32_t DL_CODE_FAIL = 1004;
inline constexpr int32_t DL_CODE_RETRY = 1005;
inline constexpr int32_t DL_CODE_MD5_NOTE = 1006;
