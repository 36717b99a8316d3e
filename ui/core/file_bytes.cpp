#include "ui/core/file_bytes.h"

#include <windows.h>

#include "utils/unique_handle.h"

namespace SkinUI {

FileBytes ReadFileBytes(const std::wstring& path, uint64_t maxBytes) {
    FileBytes result;
    Utils::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return result;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) {
        result.status = FileReadStatus::ReadFailed;
        return result;
    }
    if (size.QuadPart == 0) {
        result.status = FileReadStatus::Empty;
        return result;
    }
    if (static_cast<uint64_t>(size.QuadPart) > maxBytes) {
        result.status = FileReadStatus::TooLarge;
        return result;
    }
    result.bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(file.Get(), result.bytes.data(), static_cast<DWORD>(result.bytes.size()), &read,
                    nullptr) ||
        read != result.bytes.size()) {
        result.bytes.clear();
        result.status = FileReadStatus::ReadFailed;
        return result;
    }
    result.status = FileReadStatus::Ok;
    return result;
}

}  // namespace SkinUI
