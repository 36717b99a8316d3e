#pragma once
// String values under the product's key of the current user's registry.
#include <string>

namespace Utils {

// HKEY_CURRENT_USER relative.
inline constexpr wchar_t kProductRegistryKey[] = L"Software\\QuillmarkSoft\\Vantorel";

// The text up to the first NUL, whether or not the stored data ends with one; other
// programs write these values too. The value's type is not checked. False when the key
// or the value is missing.
bool ReadRegString(const std::wstring& name, std::wstring& value);

// Hands the characters over without a terminating NUL (data length = characters x 2),
// creating the key when needed; the system itself adds the terminator it finds right
// behind the data. False when the key cannot be opened or written.
bool WriteRegString(const std::wstring& name, const std::wstring& value);

}  // namespace Utils
