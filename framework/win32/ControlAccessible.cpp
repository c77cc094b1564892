// TControl's side of accessibility: its accessible object, its name, the events that tell
// assistive technology about changes, and the default actions clients asked for.
#include <algorithm>

#include "framework/win32/AccessibleObject.h"
#include "framework/win32/WinControl.h"

namespace {

// Every control inside `control` has become visible or hidden with it.
void NotifyDescendantsShowing(const TControl& control) {
    for (TControl* child : AccessibleChildControls(control)) {
        child->NotifyAccessible(EVENT_OBJECT_STATECHANGE);
        NotifyDescendantsShowing(*child);
    }
}

} // namespace

std::unique_ptr<TAccessibleModel> TControl::CreateAccessibleModel() {
    return std::make_unique<TAccessibleModel>(*this);
}

TAccessibleObject& TControl::AccessibleObject() {
    if (!FAccessible) FAccessible.reset(new TAccessibleObject(*this, CreateAccessibleModel()));
    return *FAccessible;
}

void TControl::SetAccessibleName(const std::u16string& v) {
    if (v == FAccessibleName) return;
    FAccessibleName = v;
    NotifyAccessible(EVENT_OBJECT_NAMECHANGE);
}

// The event names this control's object the way clients find it again: a window's client
// object, or a windowless control as a child of the client object of the window it is on.
void TControl::NotifyAccessible(DWORD event) {
    HWND wnd = WindowHandle();
    if (!wnd) return;
    LONG child = CHILDID_SELF;
    if (!IsWindowed()) {
        if (!FParent) return;
        const std::vector<TControl*> siblings = AccessibleChildControls(*FParent);
        auto at = std::find(siblings.begin(), siblings.end(), this);
        if (at == siblings.end()) return;
        child = LONG(at - siblings.begin()) + 1;
    }
    NotifyWinEvent(event, wnd, OBJID_CLIENT, child);
    if (event == EVENT_OBJECT_SHOW || event == EVENT_OBJECT_HIDE) NotifyDescendantsShowing(*this);
}
