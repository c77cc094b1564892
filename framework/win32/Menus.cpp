// Popping up a context menu with TrackPopupMenu and running the chosen item.
#include "framework/win32/Menus.h"

#include "framework/win32/UniqueHandle.h"
#include "framework/win32/WinText.h"

void TPopupMenu::Popup(int x, int y, HWND owner) {
    if (OnPopup) OnPopup(this);
    MenuHandle menu(CreatePopupMenu());
    if (!menu) return;
    for (std::size_t i = 0; i < Items.size(); ++i)
        AppendMenuW(menu.get(), MF_STRING, UINT_PTR(i + 1), AsWide(Items[i].Caption));
    if (!owner) owner = GetActiveWindow();
    const UINT chosen = UINT(TrackPopupMenu(
        menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, x, y, 0, owner, nullptr));
    menu.reset();
    if (chosen >= 1 && chosen <= Items.size() && Items[chosen - 1].OnClick)
        Items[chosen - 1].OnClick(this);
}
