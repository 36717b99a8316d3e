#include "ui/core/multi_language.h"

#include <unordered_map>

#include "ui/core/value_grammar.h"

namespace SkinUI {
namespace {

std::unordered_map<int32_t, std::wstring>& Strings() {
    static std::unordered_map<int32_t, std::wstring> strings;
    return strings;
}

}  // namespace

void SetMultiLanguageString(int32_t id, const std::wstring& text) {
    Strings()[id] = text;
}

std::optional<std::wstring> GetMultiLanguageString(int32_t id) {
    const auto found = Strings().find(id);
    if (found == Strings().end()) return std::nullopt;
    return found->second;
}

void ClearMultiLanguageStrings() {
    Strings().clear();
}

std::wstring ResolveTextReferences(std::wstring_view text) {
    if (text.find(L"%{") == std::wstring_view::npos) return std::wstring(text);
    return SubstituteTextReferences(text, GetMultiLanguageString);
}

}  // namespace SkinUI
