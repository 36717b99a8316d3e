#pragma once
// Owners for libcurl handles and C runtime files, so no path leaks one.
#include <curl/curl.h>

#include <cstdio>
#include <memory>
#include <string>

namespace Pipeline {

struct CurlEasyCleanup {
    void operator()(CURL* handle) const noexcept { curl_easy_cleanup(handle); }
};
struct CurlSlistFree {
    void operator()(curl_slist* list) const noexcept { curl_slist_free_all(list); }
};
struct FileClose {
    void operator()(FILE* file) const noexcept { std::fclose(file); }
};

using CurlHandle = std::unique_ptr<CURL, CurlEasyCleanup>;
using CurlHeaderList = std::unique_ptr<curl_slist, CurlSlistFree>;
using FilePtr = std::unique_ptr<FILE, FileClose>;

// A header list of the given lines; null when libcurl could not build it.
CurlHeaderList MakeHeaderList(std::initializer_list<const char*> lines);

}  // namespace Pipeline
