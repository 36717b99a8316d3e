#pragma once
// Markup element names and the control classes they create. The core knows "Control";
// the container and control libraries register their own classes.
#include <functional>
#include <string>
#include <string_view>

namespace SkinUI {

class CControlUI;

using ControlFactory = std::function<CControlUI*()>;

// Names are matched ignoring case; registering a name again replaces its factory.
void RegisterControlClass(const std::wstring& elementName, ControlFactory factory);
// A new control for the element name, or null when no class is registered for it.
CControlUI* CreateRegisteredControl(std::wstring_view elementName);

// The window's hook for element names the builder does not know.
class IDialogBuilderCallback {
public:
    virtual ~IDialogBuilderCallback() = default;
    virtual CControlUI* CreateControl(std::wstring_view className) = 0;
};

}  // namespace SkinUI
