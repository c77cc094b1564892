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
    // cursor when the pointer lies over the new window.
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"LvMinimalWindow";
    RegisterClassW(&wc);
    RECT r{0, 0, 445, 592};
    AdjustWindowRect(&r, WS_CAPTION | WS_SYSMENU, FALSE);
    startup_trace::Mark("window frame"); // the first call that needs the display
    // Centred on the screen like the assistant, so that both come up under the same pointer
    // position (the benchmark's pointer rests at the centre of the screen).
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND wnd = CreateWindowW(wc.lpszClassName, L"Minimal reference window", WS_CAPTION | WS_SYSMENU,
                             x, y, width, height, nullptr, nullptr, instance, nullptr);
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
