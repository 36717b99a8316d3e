#pragma once
// The installer's private temporary folder, recursive folder creation, and what a path
// names on disk.
#include <string>

namespace Utils {

// The system temporary path + "~QuillmarkTemp.92482B06FB471E17\", created (one level)
// when missing. Empty when it is neither there as a folder nor can be created.
std::wstring GetTempFolder();

// Creates every missing folder of the path; an empty path is refused. Only the backslash separates folders; a
// forward slash goes to the system as part of a name. Fails for paths longer than 260
// characters and for network-share paths ("\\server\..."), whose leading double
// backslash is no folder anyone can create.
bool CreateDirectories(const std::wstring& path);

// The path names an existing file (not a folder); false for an empty path.
bool IsExistingFile(const std::wstring& path);

}  // namespace Utils
