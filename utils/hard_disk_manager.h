#pragma once
// Free space on the drive that is to receive the product.
#include <cstdint>
#include <string>

namespace Utils {

class HardDiskManager {
public:
    virtual ~HardDiskManager() = default;

    // Takes a folder or a drive ("C:"). On failure logs the system error and returns
    // false, keeping the counts of the last successful query (zero before any).
    bool CheckFreeSpace(const std::wstring& folder);

    uint64_t BytesAvailableToCaller() const noexcept { return availableToCaller_; }
    uint64_t TotalBytes() const noexcept { return totalBytes_; }
    uint64_t TotalFreeBytes() const noexcept { return totalFreeBytes_; }

private:
    uint64_t availableToCaller_ = 0;
    uint64_t totalBytes_ = 0;
    uint64_t totalFreeBytes_ = 0;
};

}  // namespace Utils
