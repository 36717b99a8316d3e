#include "utils/accounts.h"

#include <windows.h>
#include <lm.h>
#include <wtsapi32.h>

namespace Utils {

bool IsUserAdmin() {
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!::AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID,
                                    DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0, &administrators)) {
        return false;
    }
    BOOL member = FALSE;
    const bool checked = ::CheckTokenMembership(nullptr, administrators, &member) != FALSE;
    ::FreeSid(administrators);
    return checked && member;
}

bool IsAccountAdmin(const std::wstring& userName) {
    LPBYTE buffer = nullptr;
    const NET_API_STATUS status = ::NetUserGetInfo(nullptr, userName.c_str(), 1, &buffer);
    bool admin = false;
    if (status == NERR_Success && buffer) {
        admin = reinterpret_cast<const USER_INFO_1*>(buffer)->usri1_priv == USER_PRIV_ADMIN;
    }
    if (buffer) ::NetApiBufferFree(buffer);
    return admin;
}

bool GetConsoleUserName(std::wstring& name) {
    const DWORD session = ::WTSGetActiveConsoleSessionId();
    LPWSTR userName = nullptr;
    DWORD bytes = 0;
    if (!::WTSQuerySessionInformationW(WTS_CURRENT_SERVER_HANDLE, session, WTSUserName, &userName,
                                       &bytes)) {
        return false;
    }
    if (userName) {
        name = userName;
        ::WTSFreeMemory(userName);
    }
    return true;
}

}  // namespace Utils
