// Reference for the start-up benchmark: the least a Win32 program does to show a window of
// the assistant's size (class, window, message loop), so the figures show what the
// assistant adds on top of Wine's own start-up.
#include <windows.h>

#include "framework/win32/StartupTrace.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    startup_trace::Mark("entry");
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND wnd, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcW(wnd, msg, wp, lp);
    };
    wc.hInstance = instance;
    // The arrow, as every real window class has: without a class cursor the pointer keeps
    // whatever shape it had, and the reference would skip the platform's making of the
    // cursor when the pointer lies over the new window (as it does in the benchmark).
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"LvMinimalWindow";
    RegisterClassW(&wc);
    RECT r{0, 0, 445, 592};
    AdjustWindowRect(&r, WS_CAPTION | WS_SYSMENU, FALSE);
    startup_trace::Mark("window frame"); // the first call that needs the display
    HWND wnd = CreateWindowW(wc.lpszClassName, L"Minimal reference window", WS_CAPTION | WS_SYSMENU,
                             CW_USEDEFAULT, CW_USEDEFAULT, r.right - r.left, r.bottom - r.top,
                             nullptr, nullptr, instance, nullptr);
    ShowWindow(wnd, show);
    startup_trace::Mark("window shown");
    MSG msg;
    if (startup_trace::Active()) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        startup_trace::FirstPaintDone();
    }
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
