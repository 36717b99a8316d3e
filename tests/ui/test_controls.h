#pragma once
// Small control and container classes for the framework tests, standing in for the box
// layouts and buttons that live above the core.
#include <windows.h>

#include <string>
#include <vector>

#include "ui/core/container_interface.h"
#include "ui/core/control.h"

namespace SkinTest {

// Children are either floating (placed by their "pos") or fill the container.
class TestContainer : public SkinUI::CControlUI, public SkinUI::IContainerUI {
public:
    ~TestContainer() override;
    std::wstring_view GetClass() const override { return L"Container"; }
    void* GetInterface(std::wstring_view name) override;
    void AttachManager(SkinUI::CWindowManagerUI* manager, SkinUI::CControlUI* parent, bool init = true) override;
    void SetPos(RECT rect, bool needInvalidate = true) override;
    SkinUI::CControlUI* VisitControls(SkinUI::FindControlProc proc, void* data, UINT flags) override;
    bool Paint(HDC dc, const RECT& paintRect, SkinUI::CControlUI* stopControl) override;
    void HandleEvent(SkinUI::ControlEvent& event) override;

    SkinUI::CControlUI* GetItemAt(int index) const override;
    int GetItemIndex(SkinUI::CControlUI* control) const override;
    bool SetItemIndex(SkinUI::CControlUI* control, int index) override;
    int GetCount() const override { return static_cast<int>(items_.size()); }
    bool Add(SkinUI::CControlUI* control) override;
    bool AddAt(SkinUI::CControlUI* control, int index) override;
    bool Remove(SkinUI::CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    std::vector<int> handledEvents;  // event types that bubbled up to this container

private:
    std::vector<SkinUI::CControlUI*> items_;
};

// Clicks on release inside after a press inside, or on Space/Enter while focused.
class TestButton : public SkinUI::CControlUI {
public:
    std::wstring_view GetClass() const override { return L"Button"; }
    UINT GetInputFlags() const override;
    bool Activate() override;
    void HandleEvent(SkinUI::ControlEvent& event) override;

    std::vector<int> events;  // every event type this button received

private:
    bool pressed_ = false;
};

class TestLabel : public SkinUI::CControlUI {
public:
    std::wstring_view GetClass() const override { return L"Label"; }
};

}  // namespace SkinTest
