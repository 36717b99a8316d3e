#include "utils/registry.h"

#include <windows.h>

#include <vector>

#include "utils/unique_handle.h"

namespace Utils {
namespace {

struct RegistryKeyTraits {
    static HKEY Invalid() noexcept { return nullptr; }
    static void Close(HKEY key) noexcept { ::RegCloseKey(key); }
};
using RegistryKey = UniqueHandle<RegistryKeyTraits>;

RegistryKey CreateProductKey() {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kProductRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return {};
    }
    return RegistryKey(key);
}

}  // namespace

bool ReadRegString(const std::wstring& name, std::wstring& value) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kProductRegistryKey, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return false;
    }
    const RegistryKey key(opened);
    DWORD size = 0;
    if (::RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) {
        return false;
    }
    // Zero-filled and at least one character longer than the data: data stored without
    // a terminator still ends in a NUL here, and an odd byte count is covered.
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 2, L'\0');
    DWORD capacity = size;
    if (::RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()),
                           &capacity) != ERROR_SUCCESS) {
        return false;
    }
    value.assign(buffer.data());
    return true;
}

bool WriteRegString(const std::wstring& name, const std::wstring& value) {
    const RegistryKey key = CreateProductKey();
    if (!key) return false;
    return ::RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

}  // namespace Utils
