#include "utils/folders.h"

#include <windows.h>
#include <shlwapi.h>

namespace Utils {
namespace {

constexpr size_t kMaxPathLength = 260;

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Another process creating the same folder at the same moment is not a failure.
bool CreateFolder(const std::wstring& path) {
    return ::CreateDirectoryW(path.c_str(), nullptr) ||
           (::GetLastError() == ERROR_ALREADY_EXISTS && IsFolder(path));
}

bool EnsureExists(const std::wstring& path) {
    return ::PathFileExistsW(path.c_str()) || CreateFolder(path);
}

}  // namespace

std::wstring GetTempFolder() {
    wchar_t systemTemp[kMaxPathLength] = {};
    const DWORD length = ::GetTempPathW(kMaxPathLength, systemTemp);
    if (length == 0 || length >= kMaxPathLength) return {};
    std::wstring folder(systemTemp, length);
    folder += L"~QuillmarkTemp.92482B06FB471E17\\";
    // A file that happens to carry the name is no folder to put things in.
    if (IsFolder(folder) || CreateFolder(folder)) return folder;
    return {};
}

bool CreateDirectories(const std::wstring& path) {
    if (path.empty() || path.size() > kMaxPathLength) return false;
    if (path.starts_with(L"\\\\")) return false;
    size_t separator = path.find(L'\\');
    while (separator != std::wstring::npos) {
        if (!EnsureExists(path.substr(0, separator + 1))) return false;
        separator = path.find(L'\\', separator + 1);
    }
    if (!path.empty() && !path.ends_with(L'\\') && !EnsureExists(path)) return false;
    return true;
}

bool IsExistingFile(const std::wstring& path) {
    if (path.empty()) return false;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace Utils
