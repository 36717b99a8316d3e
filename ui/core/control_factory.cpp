#include "ui/core/control_factory.h"

#include <algorithm>
#include <cwctype>
#include <map>

#include "ui/core/control.h"

namespace SkinUI {
namespace {

std::wstring LowerCase(std::wstring_view text) {
    std::wstring lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; });
    return lower;
}

std::map<std::wstring, ControlFactory>& Factories() {
    static std::map<std::wstring, ControlFactory> factories = {
        {L"control", [] { return new CControlUI(); }},
    };
    return factories;
}

}  // namespace

void RegisterControlClass(const std::wstring& elementName, ControlFactory factory) {
    Factories()[LowerCase(elementName)] = std::move(factory);
}

CControlUI* CreateRegisteredControl(std::wstring_view elementName) {
    const auto found = Factories().find(LowerCase(elementName));
    return found != Factories().end() && found->second ? found->second() : nullptr;
}

}  // namespace SkinUI
