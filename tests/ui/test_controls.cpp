#include "tests/ui/test_controls.h"

#include <algorithm>

#include "ui/core/window_manager.h"

namespace SkinTest {

using namespace SkinUI;

TestContainer::~TestContainer() {
    RemoveAll();
}

void* TestContainer::GetInterface(std::wstring_view name) {
    if (name == L"IContainer") return static_cast<IContainerUI*>(this);
    if (name == L"Container") return this;
    return CControlUI::GetInterface(name);
}

void TestContainer::AttachManager(CWindowManagerUI* manager, CControlUI* parent, bool init) {
    for (CControlUI* item : items_) item->AttachManager(manager, this, init);
    CControlUI::AttachManager(manager, parent, init);
}

void TestContainer::SetPos(RECT rect, bool needInvalidate) {
    CControlUI::SetPos(rect, needInvalidate);
    for (CControlUI* item : items_) {
        if (!item->IsVisible()) continue;
        if (item->IsFloat()) {
            const SIZE xy = item->GetFixedXY();
            item->SetPos({xy.cx, xy.cy, xy.cx + item->GetFixedWidth(), xy.cy + item->GetFixedHeight()}, needInvalidate);
        } else {
            item->SetPos(itemRect_, needInvalidate);
        }
    }
}

CControlUI* TestContainer::VisitControls(FindControlProc proc, void* data, UINT flags) {
    if ((flags & kFindVisible) != 0 && !IsVisible()) return nullptr;
    if ((flags & kFindEnabled) != 0 && !IsEnabled()) return nullptr;
    if ((flags & kFindHitTest) != 0 && !::PtInRect(&itemRect_, *static_cast<POINT*>(data))) return nullptr;
    if ((flags & kFindUpdateTest) != 0 && proc(this, data) != nullptr) return nullptr;
    auto self = [&]() -> CControlUI* {
        if ((flags & kFindHitTest) != 0 && !IsMouseEnabled()) return nullptr;
        return proc(this, data);
    };
    if ((flags & kFindMeFirst) != 0) {
        if (CControlUI* found = self()) return found;
    }
    const bool topFirst = (flags & kFindTopFirst) != 0;
    for (size_t i = 0; i < items_.size(); ++i) {
        CControlUI* item = items_[topFirst ? items_.size() - 1 - i : i];
        if (CControlUI* found = item->VisitControls(proc, data, flags)) return found;
    }
    if ((flags & kFindMeFirst) == 0) return self();
    return nullptr;
}

bool TestContainer::Paint(HDC dc, const RECT& paintRect, CControlUI* stopControl) {
    if (!CControlUI::Paint(dc, paintRect, stopControl)) return false;
    for (CControlUI* item : items_) {
        if (item->IsVisible() && !item->Paint(dc, paintRect, stopControl)) return false;
    }
    return true;
}

void TestContainer::HandleEvent(ControlEvent& event) {
    handledEvents.push_back(event.type);
    CControlUI::HandleEvent(event);
}

CControlUI* TestContainer::GetItemAt(int index) const {
    return index >= 0 && index < GetCount() ? items_[static_cast<size_t>(index)] : nullptr;
}

int TestContainer::GetItemIndex(CControlUI* control) const {
    const auto found = std::find(items_.begin(), items_.end(), control);
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

bool TestContainer::SetItemIndex(CControlUI* control, int index) {
    const int current = GetItemIndex(control);
    if (current < 0 || index < 0 || index >= GetCount()) return false;
    items_.erase(items_.begin() + current);
    items_.insert(items_.begin() + index, control);
    return true;
}

bool TestContainer::Add(CControlUI* control) {
    return AddAt(control, GetCount());
}

bool TestContainer::AddAt(CControlUI* control, int index) {
    if (control == nullptr || index < 0 || index > GetCount()) return false;
    if (manager_ != nullptr) manager_->InitTree(control, this);
    else control->AttachManager(nullptr, this, false);
    items_.insert(items_.begin() + index, control);
    RequestLayout();
    return true;
}

bool TestContainer::Remove(CControlUI* control) {
    return RemoveAt(GetItemIndex(control));
}

bool TestContainer::RemoveAt(int index) {
    CControlUI* item = GetItemAt(index);
    if (item == nullptr) return false;
    items_.erase(items_.begin() + index);
    item->Delete();
    RequestLayout();
    return true;
}

void TestContainer::RemoveAll() {
    std::vector<CControlUI*> items;
    items.swap(items_);
    for (CControlUI* item : items) item->Delete();
}

UINT TestButton::GetInputFlags() const {
    if (!IsEnabled()) return 0;
    return kInputSetCursor | (IsKeyboardEnabled() ? kInputTabStop : 0);
}

bool TestButton::Activate() {
    if (!CControlUI::Activate()) return false;
    SendNotify(Notify::kClick);
    return true;
}

void TestButton::HandleEvent(ControlEvent& event) {
    events.push_back(event.type);
    switch (event.type) {
    case kEventButtonDown:
    case kEventDblClick:
        pressed_ = ::PtInRect(&itemRect_, event.mouse) != FALSE;
        return;
    case kEventButtonUp:
        if (pressed_ && ::PtInRect(&itemRect_, event.mouse)) Activate();
        pressed_ = false;
        return;
    case kEventKeyDown:
        if (event.wParam == VK_SPACE || event.wParam == VK_RETURN) Activate();
        return;
    case kEventMouseEnter:
        SendNotify(Notify::kMouseEnter, event.wParam, event.lParam);
        return;
    case kEventMouseLeave:
        SendNotify(Notify::kMouseLeave, event.wParam, event.lParam);
        return;
    default:
        CControlUI::HandleEvent(event);
    }
}

}  // namespace SkinTest
