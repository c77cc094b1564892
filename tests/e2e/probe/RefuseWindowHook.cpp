// A hook library for refuse_window: loaded by the platform into the program under test, it
// refuses the creation of every window whose class is named by LV_REFUSE_WINDOW_CLASS in the
// program's environment, so that CreateWindowEx fails there as it would for want of
// resources.
#include <windows.h>

#include <string>

extern "C" __declspec(dllexport) LRESULT CALLBACK
    RefuseWindowHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        wchar_t refused[256] = {};
        wchar_t cls[256] = {};
        if (GetEnvironmentVariableW(L"LV_REFUSE_WINDOW_CLASS", refused, 256) &&
            GetClassNameW(reinterpret_cast<HWND>(wParam), cls, 256) && std::wstring(cls) == refused)
            return 1; // the window is not created
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
