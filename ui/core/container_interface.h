#pragma once
// What the layout builder and the window manager need of a container: its children.
// Box layouts implement it; GetInterface(L"IContainer") returns it.
namespace SkinUI {

class CControlUI;

class IContainerUI {
public:
    virtual ~IContainerUI() = default;
    virtual CControlUI* GetItemAt(int index) const = 0;
    virtual int GetItemIndex(CControlUI* control) const = 0;
    virtual bool SetItemIndex(CControlUI* control, int index) = 0;
    virtual int GetCount() const = 0;
    // The container takes ownership when adding succeeds.
    virtual bool Add(CControlUI* control) = 0;
    virtual bool AddAt(CControlUI* control, int index) = 0;
    // Removing deletes the control.
    virtual bool Remove(CControlUI* control) = 0;
    virtual bool RemoveAt(int index) = 0;
    virtual void RemoveAll() = 0;
};

}  // namespace SkinUI
