// TPopupMenu: a context menu of plain items shown at a screen point, with the component it
// was popped up for and notifications to those who refer to it when it goes.
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
    ~TPopupMenu() override;

    std::vector<TMenuItem> Items;
    // The menu pops up by itself on a context-menu request of its control.
    bool AutoPopup = true;
    // The component the menu was last popped up for.
    TComponent* PopupComponent = nullptr;
    // Fired just before the menu is shown.
    TNotifyEvent OnPopup;

    // Shows the menu at a screen point (owned by `owner`, or the active window) and runs the
    // chosen item's OnClick.
    void Popup(int x, int y, HWND owner = nullptr);

    // `key` is told through `onFree` when the menu is destroyed; RemoveFreeNotification
    // stops that.
    void FreeNotification(const void* key, std::function<void()> onFree);
    void RemoveFreeNotification(const void* key);

  private:
    std::vector<std::pair<const void*, std::function<void()>>> FFreeNotifies;
};
