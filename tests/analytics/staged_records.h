#pragma once
// Reads the records an Sdk left in its staging file at Shutdown.
#include <json/json.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace AnalyticsTests {

struct StagedRecord {
    std::string text;
    Json::Value json;
};

inline Json::Value ParseJson(const std::string& text) {
    Json::Value value;
    Json::CharReaderBuilder builder;
    std::string errors;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    if (!reader->parse(text.data(), text.data() + text.size(), &value, &errors)) {
        throw std::runtime_error("not JSON: " + text);
    }
    return value;
}

inline std::vector<StagedRecord> ReadStagedRecords(const std::filesystem::path& file) {
    std::vector<StagedRecord> records;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) records.push_back({line, ParseJson(line)});
    return records;
}

}  // namespace AnalyticsTests
