#pragma once
// Turns a layout document into a control tree and registers its resources (fonts,
// images, default attribute lists, texts, window attributes) with the window's manager.
#include <windows.h>

#include <string>

#include "ui/core/markup_document.h"

namespace SkinUI {

class CControlUI;
class CWindowManagerUI;
class IDialogBuilderCallback;

class CLayoutBuilder {
public:
    // Include nesting beyond this depth, and element nesting beyond kMaxElementDepth, are
    // not built: a skin that includes itself or nests without end must not take the
    // process down.
    static constexpr int kMaxIncludeDepth = 16;
    static constexpr int kMaxElementDepth = 256;
    // Larger "count" values of an "Include" are held to this.
    static constexpr int kMaxIncludeCount = 1000;

    // layout is markup text when it starts with '<', otherwise a skin file name.
    CControlUI* Create(const std::wstring& layout, IDialogBuilderCallback* callback,
                       CWindowManagerUI* manager, CControlUI* parent = nullptr);
    // A layout stored as a module resource of the given type (read as UTF-8).
    CControlUI* Create(UINT resourceId, const std::wstring& resourceType, IDialogBuilderCallback* callback,
                       CWindowManagerUI* manager, CControlUI* parent = nullptr);

    CMarkupDocument& GetMarkup() noexcept { return markup_; }
    const std::wstring& GetLastErrorMessage() const noexcept { return markup_.GetLastErrorMessage(); }
    const std::wstring& GetLastErrorLocation() const noexcept { return markup_.GetLastErrorLocation(); }

private:
    CControlUI* Build(CWindowManagerUI* manager, CControlUI* parent);
    void RegisterResources(CWindowManagerUI* manager);
    // Null result with failed set means the whole build must fail.
    CControlUI* BuildChildren(MarkupNode node, CControlUI* parent, CWindowManagerUI* manager, int depth,
                              bool& failed);
    void BuildInclude(MarkupNode node, CControlUI* parent, CWindowManagerUI* manager);
    void ApplyAttributes(MarkupNode node, CControlUI* control, CWindowManagerUI* manager);

    CMarkupDocument markup_;
    IDialogBuilderCallback* callback_ = nullptr;
    std::wstring resourceType_;
    bool fromResource_ = false;
    int includeDepth_ = 0;
};

}  // namespace SkinUI
