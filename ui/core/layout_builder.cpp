#include "ui/core/layout_builder.h"

#include <algorithm>

#include "ui/core/container_interface.h"
#include "ui/core/control.h"
#include "ui/core/control_factory.h"
#include "ui/core/multi_language.h"
#include "ui/core/skin_resources.h"
#include "ui/core/value_grammar.h"
#include "ui/core/window_manager.h"

namespace SkinUI {
namespace {

bool IsResourceElement(std::wstring_view name) {
    return EqualsIgnoringCase(name, L"Image") || EqualsIgnoringCase(name, L"Font") ||
           EqualsIgnoringCase(name, L"Default") || EqualsIgnoringCase(name, L"MultiLanguage");
}

std::wstring Attribute(const MarkupNode& node, std::wstring_view name, std::wstring_view fallback = L"") {
    return std::wstring(node.FindAttribute(name).value_or(fallback));
}

bool Flag(const MarkupNode& node, std::wstring_view name) {
    return ParseWindowBoolean(node.FindAttribute(name).value_or(L""));
}

void RegisterImage(const MarkupNode& node, CWindowManagerUI& manager) {
    const std::wstring name = Attribute(node, L"name");
    if (name.empty()) return;
    manager.GetImageStore().AddImage(name, Attribute(node, L"restype"), ParseColor(Attribute(node, L"mask")),
                                     false, Flag(node, L"shared") || manager.IsUsingSharedResources());
}

void RegisterFont(const MarkupNode& node, CWindowManagerUI& manager) {
    const auto id = node.FindAttribute(L"id");
    const int fontId = id ? ParseInteger(*id) : -1;
    const auto size = node.FindAttribute(L"size");
    const int fontSize = size ? ParseInteger(*size) : 12;
    const std::wstring face = Attribute(node, L"name");
    const bool bold = Flag(node, L"bold");
    const bool underline = Flag(node, L"underline");
    const bool italic = Flag(node, L"italic");
    const bool shared = Flag(node, L"shared");
    if (fontId >= 0 && !face.empty()) {
        manager.AddFont(fontId, face, fontSize, bold, underline, italic, shared);
        if (Flag(node, L"default")) manager.SetDefaultFont(face, fontSize, bold, underline, italic, shared);
    }
}

void RegisterMultiLanguage(const MarkupNode& node) {
    const auto id = node.FindAttribute(L"id");
    const std::wstring value = Attribute(node, L"value");
    if (id && ParseInteger(*id) >= 0 && !value.empty()) SetMultiLanguageString(ParseInteger(*id), value);
}

}  // namespace

CControlUI* CLayoutBuilder::Create(const std::wstring& layout, IDialogBuilderCallback* callback,
                                   CWindowManagerUI* manager, CControlUI* parent) {
    callback_ = callback;
    fromResource_ = false;
    resourceType_.clear();
    const bool loaded = !layout.empty() && layout.front() == L'<' ? markup_.LoadFromString(layout)
                                                                  : markup_.LoadFromFile(layout);
    return loaded ? Build(manager, parent) : nullptr;
}

CControlUI* CLayoutBuilder::Create(UINT resourceId, const std::wstring& resourceType,
                                   IDialogBuilderCallback* callback, CWindowManagerUI* manager,
                                   CControlUI* parent) {
    callback_ = callback;
    fromResource_ = true;
    resourceType_ = resourceType;
    markup_.Release();
    if (resourceId >= 0x10000) return nullptr;
    const HMODULE module = GetResourceInstance();
    const HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(resourceId), resourceType.c_str());
    const HGLOBAL loaded = resource != nullptr ? ::LoadResource(module, resource) : nullptr;
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) return nullptr;
    if (!markup_.LoadFromMemory(bytes, ::SizeofResource(module, resource), MarkupEncoding::Utf8)) return nullptr;
    return Build(manager, parent);
}

CControlUI* CLayoutBuilder::Build(CWindowManagerUI* manager, CControlUI* parent) {
    const MarkupNode root = markup_.GetRoot();
    if (!root.IsValid()) return nullptr;
    if (manager != nullptr) RegisterResources(manager);
    bool failed = false;
    CControlUI* result = BuildChildren(root, parent, manager, 0, failed);
    return failed ? nullptr : result;
}

void CLayoutBuilder::RegisterResources(CWindowManagerUI* manager) {
    const MarkupNode root = markup_.GetRoot();
    for (MarkupNode node = root.GetChild(); node.IsValid(); node = node.GetSibling()) {
        const std::wstring_view name = node.GetName();
        if (EqualsIgnoringCase(name, L"Image")) {
            RegisterImage(node, *manager);
        } else if (EqualsIgnoringCase(name, L"Font")) {
            RegisterFont(node, *manager);
        } else if (EqualsIgnoringCase(name, L"Default")) {
            const std::wstring className = Attribute(node, L"name");
            if (!className.empty()) {
                manager->AddDefaultAttributeList(className, Attribute(node, L"value"), Flag(node, L"shared"));
            }
        } else if (EqualsIgnoringCase(name, L"MultiLanguage")) {
            RegisterMultiLanguage(node);
        }
    }
    if (EqualsIgnoringCase(root.GetName(), L"Window") && manager->GetWindow() != nullptr) {
        for (size_t i = 0; i < root.GetAttributeCount(); ++i) {
            manager->SetWindowAttribute(root.GetAttributeName(i), root.GetAttributeValue(i));
        }
    }
}

void CLayoutBuilder::BuildInclude(MarkupNode node, CControlUI* parent, CWindowManagerUI* manager) {
    const auto countText = node.FindAttribute(L"count");
    const int count = std::min(countText ? ParseInteger(*countText) : 1, kMaxIncludeCount);
    const std::wstring source = Attribute(node, L"source");
    if (source.empty() || count <= 0 || includeDepth_ >= kMaxIncludeDepth) return;
    for (int i = 0; i < count; ++i) {
        CLayoutBuilder builder;
        builder.includeDepth_ = includeDepth_ + 1;
        if (fromResource_) {
            builder.Create(static_cast<UINT>(ParseInteger(source)), resourceType_, callback_, manager, parent);
        } else {
            builder.Create(source, callback_, manager, parent);
        }
    }
}

void CLayoutBuilder::ApplyAttributes(MarkupNode node, CControlUI* control, CWindowManagerUI* manager) {
    if (manager == nullptr) {
        for (size_t i = 0; i < node.GetAttributeCount(); ++i) {
            control->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
        }
        return;
    }
    // The control sees the manager while its attributes are set (images load, default
    // lists apply) but is initialised only when the tree is attached.
    CWindowManagerUI* previous = control->GetManager();
    control->AttachManager(manager, control->GetParent(), false);
    if (const std::wstring* defaults = manager->GetDefaultAttributeList(std::wstring(node.GetName()))) {
        control->ApplyAttributeList(*defaults);
    }
    for (size_t i = 0; i < node.GetAttributeCount(); ++i) {
        control->SetAttribute(node.GetAttributeName(i), node.GetAttributeValue(i));
    }
    control->AttachManager(previous, control->GetParent(), false);
}

CControlUI* CLayoutBuilder::BuildChildren(MarkupNode node, CControlUI* parent, CWindowManagerUI* manager,
                                          int depth, bool& failed) {
    CControlUI* first = nullptr;
    if (depth >= kMaxElementDepth) return nullptr;
    for (MarkupNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
        const std::wstring_view className = child.GetName();
        if (IsResourceElement(className)) continue;
        if (EqualsIgnoringCase(className, L"Include")) {
            BuildInclude(child, parent, manager);
            continue;
        }
        CControlUI* control = CreateRegisteredControl(className);
        if (control == nullptr && callback_ != nullptr) control = callback_->CreateControl(className);
        if (control == nullptr) continue;

        if (child.HasChildren()) {
            BuildChildren(child, control, manager, depth + 1, failed);
            if (failed) {
                control->Delete();
                if (parent == nullptr && first != nullptr) first->Delete();
                return nullptr;
            }
        }
        if (parent != nullptr) {
            if (child.FindAttribute(L"cover").value_or(L"") == L"true") {
                parent->SetCoverControl(control);
            } else {
                auto* container = static_cast<IContainerUI*>(parent->GetInterface(L"IContainer"));
                if (container == nullptr) {
                    control->Delete();
                    failed = true;
                    return nullptr;
                }
                if (!container->Add(control)) {
                    control->Delete();
                    continue;
                }
            }
        }
        ApplyAttributes(child, control, manager);
        if (first == nullptr) {
            first = control;
        } else if (parent == nullptr) {
            // Without a parent only the first control has an owner (the caller); later
            // ones would be lost.
            control->Delete();
        }
    }
    return first;
}

}  // namespace SkinUI
