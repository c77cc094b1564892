// ShellOpen: ShellExecuteExW in a single-threaded apartment, synchronous and without the
// shell's own error box.
#include "assistant/win32/ShellOpen.h"

#include <objbase.h>
#include <shellapi.h>

#include "framework/win32/WinText.h"

namespace {

// Joins the thread to a single-threaded apartment for the scope, unless it is in one
// already (the accessible objects may have made it one); leaves only what it joined.
class ScopedSingleThreadedApartment {
  public:
    ScopedSingleThreadedApartment()
        : FResult(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ScopedSingleThreadedApartment(const ScopedSingleThreadedApartment&) = delete;
    ScopedSingleThreadedApartment& operator=(const ScopedSingleThreadedApartment&) = delete;
    ~ScopedSingleThreadedApartment() {
        if (SUCCEEDED(FResult)) CoUninitialize();
    }

  private:
    HRESULT FResult;
};

} // namespace

bool ShellOpen(HWND owner, const std::u16string& target) {
    ScopedSingleThreadedApartment apartment;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"open";
    info.lpFile = AsWide(target);
    info.nShow = SW_SHOW;
    return ShellExecuteExW(&info) != FALSE;
}
