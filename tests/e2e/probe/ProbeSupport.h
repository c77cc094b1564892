// What the probes share: printing a line to stdout, UTF-8, a window's class and text across
// processes, and finding another program's top-level window by its caption.
#pragma once
#include <windows.h>

#include <string>

inline void Print(const std::string& line) {
    std::string out = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), out.data(), DWORD(out.size()), &written, nullptr);
}

inline std::string Utf8(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string utf8(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), int(text.size()), utf8.data(), n, nullptr,
                        nullptr);
    return utf8;
}

inline std::wstring ClassOf(HWND wnd) {
    wchar_t name[256] = {};
    GetClassNameW(wnd, name, 256);
    return name;
}

// WM_GETTEXT, which the platform carries across processes for every window class.
inline std::wstring TextOf(HWND wnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(wnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
        return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(wnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 2000, &copied);
    text.resize(copied);
    return text;
}

// A visible top-level window with exactly this caption, waited for up to five seconds;
// nullptr when none appears.
inline HWND FindTopLevel(const wchar_t* caption) {
    struct Search {
        const wchar_t* caption;
        HWND found;
    };
    auto match = [](HWND wnd, LPARAM param) -> BOOL {
        auto* search = reinterpret_cast<Search*>(param);
        if (IsWindowVisible(wnd) && TextOf(wnd) == search->caption) {
            search->found = wnd;
            return FALSE;
        }
        return TRUE;
    };
    for (int i = 0; i < 50; ++i) {
        Search search{caption, nullptr};
        EnumWindows(match, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(100);
    }
    return nullptr;
}
