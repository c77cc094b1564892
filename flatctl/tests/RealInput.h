// Real input for the flat edit's Wine tests beyond the shared clicks and keystrokes: mouse
// drags injected with SendInput, so they come through the message loop as a user's would,
// and a probe that reads a popup menu while TrackPopupMenu shows it.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "tests/support/WinTestSupport.h"

// A left-button drag from one screen point to another in `steps` moves, the modifiers pressed
// just before the button comes up (Wine takes the modifier state from the X server whenever
// the pointer moves, so keys injected earlier would not count); `between` runs after each
// step to let the program take its messages.
template <class Between>
void SendDrag(POINT from, POINT to, std::initializer_list<WORD> modifiers, Between between,
              int steps = 4) {
    auto send = [](INPUT in) { SendInput(1, &in, sizeof(INPUT)); };
    auto mouse = [](DWORD flags, POINT p) {
        const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        INPUT in{};
        in.type = INPUT_MOUSE;
        in.mi.dx = LONG((p.x * 65536LL + w - 1) / w);
        in.mi.dy = LONG((p.y * 65536LL + h - 1) / h);
        in.mi.dwFlags = flags;
        return in;
    };
    const DWORD move = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    send(mouse(move, from));
    between();
    send(mouse(MOUSEEVENTF_LEFTDOWN, from));
    between();
    for (int i = 1; i <= steps; ++i) {
        send(mouse(move,
                   {from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps}));
        between();
    }
    for (WORD m : modifiers)
        send(KeyInput(m, false));
    send(mouse(MOUSEEVENTF_LEFTUP, to));
    between();
    for (WORD m : modifiers)
        send(KeyInput(m, true));
    between();
}

// One entry of a menu as it was shown.
struct TShownMenuItem {
    UINT Id = 0;
    std::wstring Caption; // empty for a separator
    bool Grayed = false;
};

// Reads the popup menu the next time one is up, then presses `answer` in it (a key that
// chooses an entry) or closes it unchosen when `answer` is 0.
class MenuProbe {
  public:
    explicit MenuProbe(WORD answer = 0) : answer_(answer) {
        active_ = this;
        timer_ = SetTimer(nullptr, 0, 30, Tick);
    }
    MenuProbe(const MenuProbe&) = delete;
    MenuProbe& operator=(const MenuProbe&) = delete;
    ~MenuProbe() {
        if (timer_) KillTimer(nullptr, timer_);
        active_ = nullptr;
    }

    bool Seen() const { return seen_; }
    std::vector<TShownMenuItem> Items;
    RECT Rect{};

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        MenuProbe* self = active_;
        HWND popup = FindWindowW(L"#32768", nullptr);
        if (!self || self->seen_ || !popup || !IsWindowVisible(popup)) return;
        self->seen_ = true;
        KillTimer(nullptr, self->timer_);
        self->timer_ = 0;
        GetWindowRect(popup, &self->Rect);
        HMENU menu = HMENU(SendMessageW(popup, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            TShownMenuItem item;
            item.Id = GetMenuItemID(menu, i);
            wchar_t text[128] = L"";
            GetMenuStringW(menu, UINT(i), text, 128, MF_BYPOSITION);
            item.Caption = text;
            item.Grayed = (GetMenuState(menu, UINT(i), MF_BYPOSITION) & MF_GRAYED) != 0;
            self->Items.push_back(item);
        }
        if (self->answer_)
            SendKey(self->answer_);
        else
            EndMenu();
    }

    static inline MenuProbe* active_ = nullptr;
    WORD answer_;
    UINT_PTR timer_ = 0;
    bool seen_ = false;
};
