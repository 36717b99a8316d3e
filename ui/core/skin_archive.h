#pragma once
// An opened 7z skin archive. Every file entry is unpacked once, when the archive is
// opened, so later reads are plain memory copies.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace SkinUI {

struct SkinArchiveEntry {
    std::wstring name;    // path inside the archive, with '/' separators
    int32_t nameLength;   // characters including the terminating 0
    int32_t index;        // file index in the archive
    uint64_t size;
    std::vector<uint8_t> data;
};

class SkinArchive {
public:
    // Null for anything the decoder rejects: bad signature, CRC or header errors,
    // truncated data, or a solid block too large to unpack in memory.
    static std::unique_ptr<SkinArchive> Open(const void* bytes, size_t size);
    static std::unique_ptr<SkinArchive> OpenFile(const std::wstring& path);

    // The first entry, in archive order, whose name equals the request ignoring case;
    // '\' in the request counts as '/'. Names are relative to the archive root.
    const SkinArchiveEntry* Find(std::wstring_view name) const;

    const std::vector<SkinArchiveEntry>& Entries() const noexcept { return entries_; }

private:
    std::vector<SkinArchiveEntry> entries_;
};

}  // namespace SkinUI
