#include "utils/hard_disk_manager.h"

#include "utils/debug_log.h"

namespace Utils {

bool HardDiskManager::CheckFreeSpace(const std::wstring& folder) {
    ULARGE_INTEGER available, total, free;
    if (!::GetDiskFreeSpaceExW(folder.c_str(), &available, &total, &free)) {
        const long error = static_cast<long>(::GetLastError());
        UTILS_LOG(L"Utils::HardDiskManager::CheckFreeSpace", 35,
                  L"HardDiskManager::CheckFreeSpace FAIL code=%ld\r\n", error);
        return false;
    }
    availableToCaller_ = available.QuadPart;
    totalBytes_ = total.QuadPart;
    totalFreeBytes_ = free.QuadPart;
    return true;
}

}  // namespace Utils
