#pragma once
// The compact GUID text of the device and analytics ids.
#include <cstdint>
#include <string>

namespace Utils {

struct GuidFields {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
};

// 32 hexadecimal digits, no separators. Upper case except the third group, which is
// lower case, the form every stored id already has.
std::wstring FormatGuidCompact(const GuidFields& guid);

}  // namespace Utils
