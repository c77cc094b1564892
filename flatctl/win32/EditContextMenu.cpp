// Finding the platform's edit menu (by number, else by looking through the module's named
// menus for the one that holds the edit commands) and the built-in stand-in.
#include "flatctl/win32/EditContextMenu.h"

#include <string>
#include <utility>
#include <vector>

namespace {

// Entries of the platform's menu resource 1 that the edit does not offer.
constexpr UINT kUnofferedIds[] = {32769, 32768, 32787};
constexpr UINT kUnofferedPosition = 8;

// The identifier the edit uses for a platform entry's identifier; 0 for an entry it does not
// know. Platforms name the Undo entry after WM_UNDO or EM_UNDO, Select All after EM_SETSEL.
UINT EditMenuId(UINT platformId) {
    switch (platformId) {
    case WM_UNDO:
    case EM_UNDO:
        return emUndo;
    case WM_CUT:
        return emCut;
    case WM_COPY:
        return emCopy;
    case WM_PASTE:
        return emPaste;
    case WM_CLEAR:
        return emDelete;
    case EM_SETSEL:
        return emSelectAll;
    case emSelectAllAlt:
        return emSelectAllAlt;
    default:
        return 0;
    }
}

TEditContextMenu Wrap(HMENU menu) {
    TEditContextMenu m;
    m.Menu.reset(menu);
    if (menu) m.Popup = GetSubMenu(menu, 0) ? GetSubMenu(menu, 0) : menu;
    return m;
}

bool HoldsEditCommands(HMENU popup) {
    for (UINT id : {UINT(WM_CUT), UINT(WM_COPY), UINT(WM_PASTE)})
        if (GetMenuState(popup, id, MF_BYCOMMAND) == UINT(-1)) return false;
    return true;
}

// Gives every command entry the edit's identifier; entries the edit does not know go.
void MapToEditIds(HMENU popup) {
    for (int i = GetMenuItemCount(popup) - 1; i >= 0; --i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(popup, UINT(i), TRUE, &info)) continue;
        if ((info.fType & MFT_SEPARATOR) || info.hSubMenu) continue;
        const UINT id = EditMenuId(info.wID);
        if (!id) {
            RemoveMenu(popup, UINT(i), MF_BYPOSITION);
        } else if (id != info.wID) {
            info.fMask = MIIM_ID;
            info.wID = id;
            SetMenuItemInfoW(popup, UINT(i), TRUE, &info);
        }
    }
}

// Names of the module's menu resources, numbered ones as "#n" (which LoadMenuW takes too).
std::vector<std::wstring> MenuNames(HMODULE module) {
    std::vector<std::wstring> names;
    EnumResourceNamesW(
        module, RT_MENU,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) -> BOOL {
            auto& list = *reinterpret_cast<std::vector<std::wstring>*>(param);
            if (IS_INTRESOURCE(name))
                list.push_back(L"#" + std::to_wstring(ULONG_PTR(name)));
            else
                list.emplace_back(name);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&names));
    return names;
}

} // namespace

TEditContextMenu LoadPlatformEditMenu(HMODULE module) {
    if (!module) return {};
    if (TEditContextMenu m = Wrap(LoadMenuW(module, MAKEINTRESOURCEW(1)))) {
        for (UINT id : kUnofferedIds)
            RemoveMenu(m.Popup, id, MF_BYCOMMAND);
        RemoveMenu(m.Popup, kUnofferedPosition, MF_BYPOSITION);
        return m;
    }
    // Without resource 1 a platform may keep its edit menu under a name of its own.
    for (const std::wstring& name : MenuNames(module)) {
        TEditContextMenu m = Wrap(LoadMenuW(module, name.c_str()));
        if (!m || !HoldsEditCommands(m.Popup)) continue;
        MapToEditIds(m.Popup);
        return m;
    }
    return {};
}

TEditContextMenu BuiltInEditMenu(LANGID language) {
    struct Captions {
        const wchar_t *undo, *cut, *copy, *paste, *clear, *selectAll;
    };
    static constexpr Captions kEnglish{L"&Undo",  L"Cu&t",    L"&Copy",
                                       L"&Paste", L"&Delete", L"Select &All"};
    static constexpr Captions kGerman{
        L"&R\u00fcckg\u00e4ngig", L"&Ausschneiden", L"&Kopieren",
        L"E&inf\u00fcgen",        L"&L\u00f6schen", L"Alles &markieren"};
    const Captions& c = PRIMARYLANGID(language) == LANG_GERMAN ? kGerman : kEnglish;
    TEditContextMenu m = Wrap(CreatePopupMenu());
    if (!m) return m;
    AppendMenuW(m.Popup, MF_STRING, emUndo, c.undo);
    AppendMenuW(m.Popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(m.Popup, MF_STRING, emCut, c.cut);
    AppendMenuW(m.Popup, MF_STRING, emCopy, c.copy);
    AppendMenuW(m.Popup, MF_STRING, emPaste, c.paste);
    AppendMenuW(m.Popup, MF_STRING, emDelete, c.clear);
    AppendMenuW(m.Popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(m.Popup, MF_STRING, emSelectAll, c.selectAll);
    return m;
}
