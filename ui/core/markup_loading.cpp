// The parts of the markup reader that need Windows: the ANSI code page and skin files.
#include <windows.h>

#include "ui/core/markup_document.h"
#include "ui/core/skin_resources.h"
#include "ui/core/text_decoding.h"

namespace SkinUI {
namespace {

std::wstring DecodeAnsi(const void* bytes, size_t length) {
    if (length == 0 || length > INT_MAX) return {};
    const auto* text = static_cast<const char*>(bytes);
    const int count = ::MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
    std::wstring wide(static_cast<size_t>(count > 0 ? count : 0), L'\0');
    if (count > 0) {
        ::MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), wide.data(), count);
    }
    return wide;
}

}  // namespace

bool CMarkupDocument::LoadFromMemory(const void* bytes, size_t length, MarkupEncoding encoding) {
    switch (encoding) {
    case MarkupEncoding::Utf8:
        return LoadFromString(DecodeUtf8(bytes, length));
    case MarkupEncoding::Ansi:
        return LoadFromString(DecodeAnsi(bytes, length));
    case MarkupEncoding::Utf16:
        if (const auto text = DecodeUtf16WithMark(bytes, length)) return LoadFromString(*text);
        Release();
        return Fail(L"Missing byte order mark", {});
    }
    Release();
    return Fail(L"Unknown encoding", {});
}

bool CMarkupDocument::LoadFromFile(const std::wstring& name, MarkupEncoding encoding) {
    const SkinFileRead file = ReadSkinFile(name);
    if (!file.ok) {
        Release();
        return Fail(file.error.c_str(), name);
    }
    return LoadFromMemory(file.bytes.data(), file.bytes.size(), encoding);
}

}  // namespace SkinUI
