#include "utils/guid_text.h"

#include <cwchar>

namespace Utils {

std::wstring FormatGuidCompact(const GuidFields& guid) {
    wchar_t text[33];
    std::swprintf(text, 33, L"%08X%04X%04x%02X%02X%02X%02X%02X%02X%02X%02X", guid.data1, guid.data2,
                  guid.data3, guid.data4[0], guid.data4[1], guid.data4[2], guid.data4[3], guid.data4[4],
                  guid.data4[5], guid.data4[6], guid.data4[7]);
    return text;
}

}  // namespace Utils
