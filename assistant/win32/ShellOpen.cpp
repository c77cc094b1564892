// ShellOpen: ShellExecuteExW in a single-threaded apartment, synchronous and without the
// shell's own error box.
#include "assistant/win32/ShellOpen.h"

#include <shellapi.h>

#include "framework/win32/ComApartment.h"
#include "framework/win32/WinText.h"

bool ShellOpen(HWND owner, const std::u16string& target) {
    // Unless the thread is in an apartment already (the accessible objects may have made
    // it one), it joins one for the call and leaves it afterwards.
    ComApartment apartment(COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"open";
    info.lpFile = AsWide(target);
    info.nShow = SW_SHOW;
    return ShellExecuteExW(&info) != FALSE;
}
