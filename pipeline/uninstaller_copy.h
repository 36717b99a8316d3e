#pragma once
// The old version's uninstaller is not run where it lies: it would be removing its own
// folder. A copy in the installer's private temporary folder runs instead.
#include <string>

struct UninstallerCopy {
    std::wstring copyPath;   // "" when there is no usable copy
    std::wstring oldFolder;  // the installed version's folder
};

inline constexpr wchar_t kUninstallerCopyName[] = L"Vantorel_un_asa.exe";

// Copies the installed uninstaller to the temporary folder, over an earlier copy.
// When the copy cannot be made, copyPath is empty, so the remover reports a missing
// uninstaller instead of running what an earlier run left there.
UninstallerCopy PrepareUninstallerCopy(const std::wstring& oldUninstallerPath);
