// Reads a top-level window of another program the way the platform exposes it, for the
// end-to-end tests: `window_probe <caption>` waits up to five seconds for a visible top-level
// window with exactly that caption and prints one line per fact, UTF-8, tab-separated:
//
//   window <hwnd> <class> <enabled 0|1>
//   owner <hwnd> <class> <caption>            (or "owner 0" for an unowned window)
//   focus <hwnd> <class> <text>               (the focused window of its thread, or "focus 0")
//   child <hwnd> <class> <id> <visible 0|1> <enabled 0|1> <left> <top> <right> <bottom> <text>
//
// Children come in stacking order, topmost first; rectangles are in the window's client
// coordinates; texts are what WM_GETTEXT answers, with CR and LF written as \r and \n.
// Exit code 1 when no such window appears.
#include <windows.h>

#include <string>

#include "tests/e2e/probe/ProbeSupport.h"

namespace {

// A text as one field of a line: UTF-8, with CR, LF, tab and backslash written as \r, \n, \t
// and \\ (a path's "\root" stays itself).
std::string Field(const std::wstring& text) {
    std::wstring plain;
    for (wchar_t c : text) {
        if (c == L'\\') plain += L"\\\\";
        else if (c == L'\r') plain += L"\\r";
        else if (c == L'\n') plain += L"\\n";
        else if (c == L'\t') plain += L"\\t";
        else plain += c;
    }
    return Utf8(plain);
}

std::string Id(HWND wnd) {
    return std::to_string(reinterpret_cast<UINT_PTR>(wnd));
}

void PrintChildren(HWND top) {
    for (HWND child = GetWindow(top, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&r), 2);
        Print("child\t" + Id(child) + "\t" + Field(ClassOf(child)) + "\t" +
              std::to_string(GetDlgCtrlID(child)) + "\t" + (IsWindowVisible(child) ? "1" : "0") +
              "\t" + (IsWindowEnabled(child) ? "1" : "0") + "\t" + std::to_string(r.left) + "\t" +
              std::to_string(r.top) + "\t" + std::to_string(r.right) + "\t" +
              std::to_string(r.bottom) + "\t" + Field(TextOf(child)));
    }
}

void PrintFocus(HWND top) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    DWORD thread = GetWindowThreadProcessId(top, nullptr);
    if (!GetGUIThreadInfo(thread, &info) || !info.hwndFocus) {
        Print("focus\t0");
        return;
    }
    Print("focus\t" + Id(info.hwndFocus) + "\t" + Field(ClassOf(info.hwndFocus)) + "\t" +
          Field(TextOf(info.hwndFocus)));
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        Print("usage: window_probe <caption>");
        return 2;
    }
    HWND top = FindTopLevel(argv[1]);
    if (!top) return 1;
    Print("window\t" + Id(top) + "\t" + Field(ClassOf(top)) + "\t" +
          (IsWindowEnabled(top) ? "1" : "0"));
    HWND owner = GetWindow(top, GW_OWNER);
    Print(owner ? "owner\t" + Id(owner) + "\t" + Field(ClassOf(owner)) + "\t" + Field(TextOf(owner))
                : std::string("owner\t0"));
    PrintFocus(top);
    PrintChildren(top);
    return 0;
}
