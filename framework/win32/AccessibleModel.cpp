// TAccessibleModel's defaults: the states every control has, the name a field takes from its
// label, and the reading order of a window's child controls.
#include "framework/win32/AccessibleModel.h"

#include <algorithm>

#include "framework/core/Accessibility.h"
#include "framework/win32/AccessibleObject.h"
#include "framework/win32/WinControl.h"

std::vector<TControl*> AccessibleChildControls(const TControl& control) {
    if (!control.IsWindowed()) return {};
    const std::vector<TControl*>& children = static_cast<const TWinControl&>(control).Controls();
    std::vector<TRect> bounds;
    for (const TControl* c : children)
        bounds.push_back({c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()});
    std::vector<TControl*> ordered;
    for (std::size_t i : ReadingOrder(bounds))
        ordered.push_back(children[i]);
    return ordered;
}

long TAccessibleModel::State() const {
    long state = 0;
    if (!FControl.Showing()) state |= STATE_SYSTEM_INVISIBLE;
    for (const TControl* c = &FControl; c; c = c->Parent())
        if (!c->Enabled()) state |= STATE_SYSTEM_UNAVAILABLE;
    if (FControl.IsWindowed()) {
        const auto& w = static_cast<const TWinControl&>(FControl);
        if (w.TabStop() && w.CanFocus()) state |= STATE_SYSTEM_FOCUSABLE;
        if (w.Focused()) state |= STATE_SYSTEM_FOCUSED;
    }
    return state;
}

std::u16string TAccessibleModel::NameFromLabel() const {
    TWinControl* parent = FControl.Parent();
    if (!parent) return {};
    const std::vector<TControl*> siblings = AccessibleChildControls(*parent);
    std::vector<TNamingSibling> naming(siblings.size());
    std::vector<std::size_t> order(siblings.size());
    std::size_t self = siblings.size();
    for (std::size_t i = 0; i < siblings.size(); ++i) {
        order[i] = i;
        if (siblings[i] == &FControl) self = i;
        const TAccessibleModel& model = siblings[i]->AccessibleObject().Model();
        naming[i].IsLabel = model.IsLabel();
        if (const TControl* target = model.LabelFor()) {
            // Bound to a control elsewhere: an index that names no sibling.
            auto bound = std::find(siblings.begin(), siblings.end(), target);
            naming[i].LabelFor = int(bound - siblings.begin());
        }
    }
    if (self == siblings.size()) return {};
    const int label = NamingLabel(naming, order, self);
    return label < 0 ? std::u16string() : siblings[label]->AccessibleObject().Name();
}
