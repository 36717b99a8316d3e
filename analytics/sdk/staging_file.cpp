#include "analytics/sdk/staging_file.h"

#include <windows.h>

#include <fstream>

namespace usage_analytics {

namespace {

bool IsRecordLine(const std::string& line) {
    return !line.empty() && line.front() == '{' && line.back() == '}';
}

}  // namespace

std::vector<std::string> TakeStagedRecords(const std::string& path, size_t limit) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return {};
    std::deque<std::string> kept;
    std::string line;
    while (limit > 0 && std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!IsRecordLine(line)) continue;
        kept.push_back(std::move(line));
        if (kept.size() > limit) kept.pop_front();
    }
    file.close();
    std::ofstream(path, std::ios::binary | std::ios::trunc);
    return {std::make_move_iterator(kept.begin()), std::make_move_iterator(kept.end())};
}

bool SaveStagedRecords(const std::string& path, const std::deque<std::string>& records) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;

    const std::string partial = path + ".partial";
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        for (const std::string& record : records) file << record << '\n';
        file.flush();
        if (!file) {
            file.close();
            ::DeleteFileA(partial.c_str());
            return false;
        }
    }
    if (!::MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileA(partial.c_str());
        return false;
    }
    return true;
}

}  // namespace usage_analytics
