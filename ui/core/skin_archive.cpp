#include "ui/core/skin_archive.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "ui/core/file_bytes.h"

#include "7z.h"
#include "7zCrc.h"

namespace SkinUI {
namespace {

// The real skin unpacks to about a megabyte; a block claiming far more comes from a
// damaged or hostile archive and is refused instead of exhausting memory.
constexpr size_t kMaxAllocation = size_t{256} << 20;
// Archive files are read whole before decoding; anything this large is not a skin.
constexpr uint64_t kMaxArchiveFileBytes = uint64_t{256} << 20;

void* BoundedAlloc(ISzAllocPtr, size_t size) {
    if (size == 0 || size > kMaxAllocation) return nullptr;
    return std::malloc(size);
}

void BoundedFree(ISzAllocPtr, void* address) {
    std::free(address);
}

const ISzAlloc kAllocator = {BoundedAlloc, BoundedFree};

// The decoder reads through a seekable stream; this one walks a caller's buffer.
struct MemoryInStream {
    ISeekInStream vt;
    const uint8_t* data;
    size_t size;
    size_t position;
};

SRes MemoryRead(ISeekInStreamPtr stream, void* buffer, size_t* size) {
    auto* self = Z7_CONTAINER_FROM_VTBL(stream, MemoryInStream, vt);
    const size_t available = self->size - self->position;
    const size_t count = std::min(*size, available);
    std::memcpy(buffer, self->data + self->position, count);
    self->position += count;
    *size = count;
    return SZ_OK;
}

SRes MemorySeek(ISeekInStreamPtr stream, Int64* position, ESzSeek origin) {
    auto* self = Z7_CONTAINER_FROM_VTBL(stream, MemoryInStream, vt);
    Int64 base = 0;
    switch (origin) {
    case SZ_SEEK_SET: base = 0; break;
    case SZ_SEEK_CUR: base = static_cast<Int64>(self->position); break;
    case SZ_SEEK_END: base = static_cast<Int64>(self->size); break;
    default: return SZ_ERROR_UNSUPPORTED;
    }
    const Int64 target = base + *position;
    if (target < 0 || static_cast<uint64_t>(target) > self->size) return SZ_ERROR_READ;
    self->position = static_cast<size_t>(target);
    *position = target;
    return SZ_OK;
}

// Owns the decoder's archive database and its look-ahead buffer.
class ArchiveReader {
public:
    ArchiveReader(const void* bytes, size_t size) {
        static std::once_flag crcTable;
        std::call_once(crcTable, [] { CrcGenerateTable(); });
        stream_.vt.Read = MemoryRead;
        stream_.vt.Seek = MemorySeek;
        stream_.data = static_cast<const uint8_t*>(bytes);
        stream_.size = size;
        stream_.position = 0;
        LookToRead2_CreateVTable(&look_, False);
        look_.buf = lookBuffer_;
        look_.bufSize = sizeof(lookBuffer_);
        look_.realStream = &stream_.vt;
        LookToRead2_INIT(&look_);
        SzArEx_Init(&database_);
    }
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;
    ~ArchiveReader() {
        kAllocator.Free(&kAllocator, blockBuffer_);
        SzArEx_Free(&database_, &kAllocator);
    }

    bool Open() { return SzArEx_Open(&database_, &look_.vt, &kAllocator, &kAllocator) == SZ_OK; }

    bool ReadAll(std::vector<SkinArchiveEntry>& entries) {
        std::vector<UInt16> nameBuffer;
        for (UInt32 i = 0; i < database_.NumFiles; ++i) {
            if (SzArEx_IsDir(&database_, i)) continue;
            const size_t nameLength = SzArEx_GetFileNameUtf16(&database_, i, nullptr);
            if (nameLength == 0) return false;
            nameBuffer.assign(nameLength, 0);
            SzArEx_GetFileNameUtf16(&database_, i, nameBuffer.data());
            SkinArchiveEntry entry;
            entry.name.assign(nameBuffer.begin(), nameBuffer.end() - 1);
            std::replace(entry.name.begin(), entry.name.end(), L'\\', L'/');
            entry.nameLength = static_cast<int32_t>(nameLength);
            entry.index = static_cast<int32_t>(i);
            entry.size = SzArEx_GetFileSize(&database_, i);
            if (entry.size > 0 && !Extract(i, entry)) return false;
            entries.push_back(std::move(entry));
        }
        return true;
    }

private:
    bool Extract(UInt32 index, SkinArchiveEntry& entry) {
        size_t offset = 0;
        size_t processed = 0;
        // blockIndex, blockBuffer_ and blockSize_ carry the unpacked solid block from one
        // entry to the next, so a solid archive is decoded only once.
        if (SzArEx_Extract(&database_, &look_.vt, index, &blockIndex_, &blockBuffer_, &blockSize_,
                           &offset, &processed, &kAllocator, &kAllocator) != SZ_OK) {
            return false;
        }
        if (processed != entry.size) return false;
        entry.data.assign(blockBuffer_ + offset, blockBuffer_ + offset + processed);
        return true;
    }

    MemoryInStream stream_{};
    CLookToRead2 look_{};
    Byte lookBuffer_[1 << 14];
    CSzArEx database_{};
    UInt32 blockIndex_ = 0xFFFFFFFF;
    Byte* blockBuffer_ = nullptr;
    size_t blockSize_ = 0;
};

}  // namespace

std::unique_ptr<SkinArchive> SkinArchive::Open(const void* bytes, size_t size) {
    if (bytes == nullptr || size == 0) return nullptr;
    ArchiveReader reader(bytes, size);
    auto archive = std::unique_ptr<SkinArchive>(new SkinArchive());
    if (!reader.Open() || !reader.ReadAll(archive->entries_)) return nullptr;
    return archive;
}

std::unique_ptr<SkinArchive> SkinArchive::OpenFile(const std::wstring& path) {
    const FileBytes file = ReadFileBytes(path, kMaxArchiveFileBytes);
    if (file.status != FileReadStatus::Ok) return nullptr;
    return Open(file.bytes.data(), file.bytes.size());
}

const SkinArchiveEntry* SkinArchive::Find(std::wstring_view name) const {
    std::wstring wanted(name);
    std::replace(wanted.begin(), wanted.end(), L'\\', L'/');
    const auto wantedLength = static_cast<int64_t>(wanted.size()) + 1;
    for (const SkinArchiveEntry& entry : entries_) {
        if (entry.nameLength == wantedLength && ::lstrcmpiW(entry.name.c_str(), wanted.c_str()) == 0) {
            return &entry;
        }
    }
    return nullptr;
}

}  // namespace SkinUI
