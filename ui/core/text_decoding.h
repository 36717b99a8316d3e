#pragma once
// Byte-to-UTF-16 conversions for skin files that need no Windows call.
#include <cstddef>
#include <optional>
#include <string>

namespace SkinUI {

// UTF-8 with an optional byte-order mark; malformed sequences become U+FFFD, so a
// damaged file still reads as text and the markup reader reports where it breaks.
std::wstring DecodeUtf8(const void* bytes, size_t length);

// UTF-16 that starts with a byte-order mark (FF FE little-endian, FE FF big-endian);
// nothing without one. An odd trailing byte is dropped.
std::optional<std::wstring> DecodeUtf16WithMark(const void* bytes, size_t length);

}  // namespace SkinUI
