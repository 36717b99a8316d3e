// Timing program for bench/download/run; not a test. Downloads one URL with one of the
// downloaders and prints "bytes seconds" of the whole run (probes included).
#include <windows.h>
#include <curl/curl.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "pipeline/curl_downloader.h"
#include "pipeline/status_callback.h"
#include "pipeline/mt_curl_downloader.h"
#include "pipeline/win_downloader.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fwprintf(stderr, L"usage: download_bench curl|mtcurl|win URL PATH\n");
        return 2;
    }
    const std::wstring kind = argv[1];
    curl_global_init(CURL_GLOBAL_ALL);
    std::mutex lock;
    std::condition_variable ended;
    int32_t result = 0;
    StatusCallback callback = [&](int32_t code, double, const wchar_t*) {
        if (code != DL_CODE_SUCCESS && code != DL_CODE_FAIL && code != DL_CODE_RETRY) return;
        std::lock_guard<std::mutex> guard(lock);
        result = code;
        ended.notify_all();
    };
    std::unique_ptr<CDownloader> downloader;
    if (kind == L"curl") downloader = std::make_unique<CCurlDownloader>(callback, argv[2], argv[3]);
    else if (kind == L"mtcurl") downloader = std::make_unique<CMTCurlDownloader>(callback, argv[2], argv[3]);
    else downloader = std::make_unique<CWinDownloader>(callback, argv[2], argv[3]);

    const auto started = std::chrono::steady_clock::now();
    downloader->Start();
    {
        std::unique_lock<std::mutex> guard(lock);
        ended.wait(guard, [&] { return result != 0; });
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - started;
    downloader.reset();
    curl_global_cleanup();
    if (result != DL_CODE_SUCCESS) {
        std::fwprintf(stderr, L"download ended with %d\n", result);
        return 1;
    }
    std::printf("%llu %.4f\n", static_cast<unsigned long long>(std::filesystem::file_size(argv[3])), seconds.count());
    return 0;
}
