#pragma once
// How much of a downloader's retry budget one failed attempt costs.

namespace Pipeline {

inline constexpr int kCurlPartialFile = 18;  // CURLE_PARTIAL_FILE

// A cut-off transfer still moved the file forward, so it costs half an ordinary failure.
constexpr int RetryCost(int result) { return result == kCurlPartialFile ? 1 : 2; }

}  // namespace Pipeline
