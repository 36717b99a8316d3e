#pragma once
// Options every download request shares.
#include <curl/curl.h>

#include <cstddef>
#include <string>

namespace Pipeline {

inline constexpr long kConnectTimeoutSeconds = 60;
// libcurl of this vintage follows redirects without limit; a loop would never end.
inline constexpr long kMaxRedirects = 30;
// A transfer slower than 1 byte/s for 5 s is dead: end the attempt so a retry can resume.
inline constexpr long kLowSpeedBytesPerSecond = 1;
inline constexpr long kLowSpeedSeconds = 5;

// Every receive call costs a trip through the system (and through Wine's server under
// Wine): take the largest buffer libcurl allows.
inline constexpr long kReceiveBufferBytes = 512 * 1024;

// A write sink that accepts and drops every byte (for header-only requests).
size_t DiscardBody(char* data, size_t size, size_t count, void* context);

// The receive buffer above; its result.
int UseLargeReceiveBuffer(CURL* handle);
// FOLLOWLOCATION with the redirect limit; the results OR-ed.
int FollowRedirects(CURL* handle);
// The stall limit above; the results OR-ed.
int LimitStalls(CURL* handle);

// A header-only request to url: no body, the connect timeout, the stall limit, TLS
// verification, and abortProbe asked on every progress tick (non-zero aborts it, so a
// destroyed downloader need not wait for a silent server). The results OR-ed.
int SetHeaderProbeOptions(CURL* handle, const std::string& url, curl_xferinfo_callback abortProbe,
                          void* owner);

// CURLINFO_EFFECTIVE_URL; empty without a handle or URL.
std::string EffectiveUrl(CURL* handle);

// The URL as libcurl gets it: UTF-8, except "file:///" URLs, which carry an ANSI path.
std::string RequestUrlBytes(const std::wstring& url);

// The C runtime's file calls take ANSI paths.
std::string AnsiPath(const std::wstring& path);
// Size of a file, 64-bit; -1 when it cannot be read.
long long FileSize(const std::string& ansiPath);

}  // namespace Pipeline
