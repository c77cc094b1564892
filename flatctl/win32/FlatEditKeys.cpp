// TCustomFlatEdit: the keyboard: key-down translation into pending keys and the command
// lookup, character messages, dead keys and input-method results.
#include "flatctl/win32/FlatEdit.h"
// after windows.h, which it needs
#include <imm.h>

#include "framework/win32/WinText.h"

LRESULT TCustomFlatEdit::KeyMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        WORD key = WORD(wParam);
        if (key == VK_ESCAPE && TextDragging()) {
            EndTextDrag();
            return 0;
        }
        bool produced = false;
        if (msg == WM_KEYDOWN && key != VK_BACK && key != VK_TAB && key != VK_RETURN &&
            key != VK_ESCAPE && GetKeyState(VK_CONTROL) >= 0)
            produced = TranslateKey(key, lParam);
        const TShiftState shift = KeyboardShiftState();
        if (OnKeyDown) OnKeyDown(this, key, shift);
        const bool taken = key != 0 && KeyDown(key, shift);
        if (produced || taken) return 0;
        break;
    }
    case WM_CHAR:
        KeyPress(char16_t(wParam));
        return 0;
    case WM_DEADCHAR:
        DeadChar(char16_t(wParam));
        return 0;
    case WM_UNICHAR: {
        if (wParam == UNICODE_NOCHAR) return TRUE;
        std::u16string text;
        if (wParam > 0xFFFF) {
            const unsigned v = unsigned(wParam) - 0x10000;
            text = {char16_t(0xD800 + (v >> 10)), char16_t(0xDC00 + (v & 0x3FF))};
        } else {
            text.assign(1, char16_t(wParam));
        }
        TypeCharacters(text);
        return 0;
    }
    case WM_IME_STARTCOMPOSITION:
        StartComposition();
        break;
    case WM_IME_COMPOSITION:
        // A taken result string must not come back as character messages as well.
        if (CompositionResult(lParam)) return 0;
        break;
    }
    handled = false;
    return 0;
}

bool TCustomFlatEdit::TranslateKey(WORD key, LPARAM keyData) {
    if (!FToUnicode) return false;
    // During a dead-key sequence the platform composes: translating the keys again here
    // would disturb its dead-key state, and the character messages carry the result.
    if (PendingDeadChar()) return false;
    MSG queued;
    if (PeekMessageW(&queued, WindowHandle(), WM_DEADCHAR, WM_DEADCHAR, PM_NOREMOVE | PM_NOYIELD))
        return false;
    BYTE state[256];
    if (!GetKeyboardState(state)) return false;
    wchar_t buffer[5];
    // Flag 4: leave the keyboard state as it is (ignored where unsupported).
    const int n = FToUnicode(key, UINT(keyData >> 16) & 0xFF, state, buffer, 5, 4);
    if (n <= 0) return false;
    SetPendingKeys(FromWide(buffer, std::size_t(n)));
    return true;
}

void TCustomFlatEdit::StartComposition() {
    HWND wnd = WindowHandle();
    HIMC imc = ImmGetContext(wnd);
    if (!imc) return;
    LOGFONTW font{};
    GetObjectW(Font().Handle(), sizeof(font), &font);
    ImmSetCompositionFontW(imc, &font);
    const TPoint caret = PosFromCaret(CaretX(), CaretY());
    const TRect area = TextRect();
    COMPOSITIONFORM form{};
    form.dwStyle = CFS_RECT;
    form.ptCurrentPos = {caret.X, caret.Y};
    form.rcArea = {area.Left, area.Top, area.Right, area.Bottom};
    ImmSetCompositionWindow(imc, &form);
    ImmReleaseContext(wnd, imc);
}

bool TCustomFlatEdit::CompositionResult(LPARAM flags) {
    if (!(flags & GCS_RESULTSTR)) return false;
    HWND wnd = WindowHandle();
    HIMC imc = ImmGetContext(wnd);
    if (!imc) return false;
    const LONG bytes = ImmGetCompositionStringW(imc, GCS_RESULTSTR, nullptr, 0);
    std::wstring text;
    if (bytes > 0) {
        text.resize(std::size_t(bytes) / sizeof(wchar_t));
        ImmGetCompositionStringW(imc, GCS_RESULTSTR, text.data(), DWORD(bytes));
    }
    ImmReleaseContext(wnd, imc);
    if (bytes < 0) return false;
    InsertComposition(FromWide(text.c_str(), text.size()));
    return true;
}
