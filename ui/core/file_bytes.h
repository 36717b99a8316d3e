#pragma once
// Whole-file reads with a size limit, for skin files and archives on disk.
#include <cstdint>
#include <string>
#include <vector>

namespace SkinUI {

enum class FileReadStatus { Ok, OpenFailed, Empty, TooLarge, ReadFailed };

struct FileBytes {
    FileReadStatus status = FileReadStatus::OpenFailed;
    std::vector<uint8_t> bytes;
};

FileBytes ReadFileBytes(const std::wstring& path, uint64_t maxBytes);

}  // namespace SkinUI
