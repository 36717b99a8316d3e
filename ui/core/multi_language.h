#pragma once
// Process-wide texts registered by id ("MultiLanguage" elements); drawn and measured
// texts refer to them as %{id}.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace SkinUI {

void SetMultiLanguageString(int32_t id, const std::wstring& text);
std::optional<std::wstring> GetMultiLanguageString(int32_t id);
void ClearMultiLanguageStrings();
// The text with every %{id} that has a registered string replaced by it.
std::wstring ResolveTextReferences(std::wstring_view text);

}  // namespace SkinUI
