#pragma once
// Records that outlive a run: one record JSON per line, nothing else. The path is
// handed to the file functions unchanged (ANSI code page).
#include <deque>
#include <string>
#include <vector>

namespace usage_analytics {

// Reads the record lines of the file, keeping at most the newest `limit` in file
// order, then empties the file. A missing or unreadable file yields nothing and is
// left as it is.
std::vector<std::string> TakeStagedRecords(const std::string& path, size_t limit);

// Replaces the file with these records. The new content is written beside it first,
// so a failed write never leaves a cut-off file behind.
bool SaveStagedRecords(const std::string& path, const std::deque<std::string>& records);

}  // namespace usage_analytics
