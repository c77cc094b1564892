// The flat edit's context menu: the platform's own edit menu in the platform's language, its
// entries carrying the edit's identifiers, or built-in entries in the system's language when
// the platform has none.
#pragma once
#include <windows.h>

#include "framework/win32/UniqueHandle.h"

// Identifiers of the edit's context menu entries (those of the platform's edit menu).
enum TEditMenuId : UINT {
    emUndo = 772,
    emCut = 768,
    emCopy = 769,
    emPaste = 770,
    emDelete = 771,
    emSelectAll = 177,
    emSelectAllAlt = 1025,
};

// A loaded or built menu and the popup that holds its entries (the menu's first submenu, or
// the menu itself).
struct TEditContextMenu {
    MenuHandle Menu;
    HMENU Popup = nullptr;
    explicit operator bool() const { return Popup != nullptr; }
};

// The edit menu `module` carries: menu resource 1 with the entries the edit does not offer
// removed, or else a menu under another name whose entries are the edit commands, with its
// identifiers mapped to the edit's. Empty when the module has neither.
TEditContextMenu LoadPlatformEditMenu(HMODULE module);

// The six entries and two separators in German when `language`'s primary language is German,
// in English otherwise, with the platform's usual captions.
TEditContextMenu BuiltInEditMenu(LANGID language);
