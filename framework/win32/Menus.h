// TPopupMenu: a context menu of plain items shown at a screen point, with the component it
// was popped up for.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/win32/Component.h"

struct TMenuItem {
    std::u16string Caption;
    TNotifyEvent OnClick;
};

class TPopupMenu : public TComponent {
  public:
    explicit TPopupMenu(TComponent* owner) : TComponent(owner) {}

    std::vector<TMenuItem> Items;
    // The menu pops up by itself on a context-menu request of its control.
    bool AutoPopup = true;
    // The component the menu was last popped up for (nullptr once it has gone).
    TComponentRef<TComponent> PopupComponent;
    // Fired just before the menu is shown.
    TNotifyEvent OnPopup;

    // Shows the menu at a screen point (owned by `owner`, or the active window) and runs the
    // chosen item's OnClick.
    void Popup(int x, int y, HWND owner = nullptr);
};
