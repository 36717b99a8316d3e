#include "utils/guid.h"

#include <windows.h>
#include <objbase.h>

#include <cstring>

#include "utils/guid_text.h"

namespace Utils {

std::wstring NewGuidString() {
    GUID guid;
    if (FAILED(::CoCreateGuid(&guid))) return {};
    GuidFields fields{guid.Data1, guid.Data2, guid.Data3, {}};
    std::memcpy(fields.data4, guid.Data4, sizeof(fields.data4));
    return FormatGuidCompact(fields);
}

}  // namespace Utils
