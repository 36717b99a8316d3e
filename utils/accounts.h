#pragma once
// Who runs the installer and who sits at the console. Every failed query counts as
// "not an administrator" or "no name".
#include <string>

namespace Utils {

// The process token belongs to the built-in Administrators group.
bool IsUserAdmin();

// The local account of that name has administrator privilege.
bool IsAccountAdmin(const std::wstring& userName);

// The user of the active console session; name is left untouched on failure.
bool GetConsoleUserName(std::wstring& name);

}  // namespace Utils
