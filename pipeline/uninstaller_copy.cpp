#include "pipeline/uninstaller_copy.h"

#include <windows.h>
#include <shlwapi.h>

#include "utils/folders.h"

UninstallerCopy PrepareUninstallerCopy(const std::wstring& oldUninstallerPath) {
    UninstallerCopy copy;
    // The folder is taken from a MAX_PATH buffer, as the shell's path functions take it.
    wchar_t folder[MAX_PATH] = {};
    oldUninstallerPath.copy(folder, MAX_PATH - 1);
    ::PathRemoveFileSpecW(folder);
    copy.oldFolder = folder;

    const std::wstring tempFolder = Utils::GetTempFolder();  // ends with a backslash
    if (tempFolder.empty()) return copy;
    const std::wstring target = tempFolder + kUninstallerCopyName;
    if (::CopyFileW(oldUninstallerPath.c_str(), target.c_str(), FALSE)) copy.copyPath = target;
    return copy;
}
