#pragma once
// How every stage of the pipeline reports: a code, a number and a text. The text is
// only valid during the call; a receiver that keeps it must copy it.
#include <cstdint>
#include <functional>

using StatusCallback = std::function<void(int32_t code, double value, const wchar_t* text)>;

// The codes, by stage. Downloads 1001-1006, the package run 2001-2004 with its results
// 3000-3009, the removal of an older version 5001-5005.
enum StatusCode : int32_t {
    DL_CODE_START = 1001,
    DL_CODE_PROGRESS = 1002,
    DL_CODE_SUCCESS = 1003,
    DL_CODE_FAIL = 1004,
    DL_CODE_RETRY = 1005,
    DL_CODE_MD5_NOTE = 1006,

    IST_CODE_START = 2001,
    IST_CODE_PROGRESS = 2002,
    INSTALL_SUCCESS = 2003,
    IST_CODE_FAIL = 2004,

    IST_CODE_INSTPATH = 3000,
    IST_CODE_EXEPATH = 3001,
    IST_CODE_UNINSTEXEPATH = 3002,
    IST_CODE_UNINSTEP = 3003,
    IST_CODE_STARTURL = 3004,
    IST_CODE_STARTUPSTYLE = 3005,
    IST_CODE_TOPSHOWDETENTION = 3007,
    IST_CODE_FINISHCLOSEDETENTION = 3008,
    IST_CODE_MESSAGE = 3009,

    UNIST_CODE_START = 5001,
    UNIST_CODE_PROGRESS = 5002,
    UNIST_CODE_SUCCESS = 5003,
    UNIST_CODE_FAIL = 5004,
    UNIST_CODE_ERROR = 5005,
};
