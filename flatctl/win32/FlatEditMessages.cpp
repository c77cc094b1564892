// TCustomFlatEdit: the text and edit messages, the clipboard, the context menu and the mouse.
#include "flatctl/win32/FlatEdit.h"
// after the framework's headers, whose SelectFont its macro would hide
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "flatctl/core/EditCommands.h"
#include "framework/win32/WinText.h"

namespace {

// OpenClipboard / CloseClipboard for one operation.
class ClipboardSession {
  public:
    explicit ClipboardSession(HWND owner) {
        // Another program may hold the clipboard for a moment.
        for (int i = 0; i < 10 && !open_; ++i) {
            open_ = OpenClipboard(owner) != FALSE;
            if (!open_) Sleep(5);
        }
        if (!open_) throw std::runtime_error("Cannot open clipboard");
    }
    ClipboardSession(const ClipboardSession&) = delete;
    ClipboardSession& operator=(const ClipboardSession&) = delete;
    ~ClipboardSession() { CloseClipboard(); }

  private:
    bool open_ = false;
};

// Puts a zero-terminated copy of `bytes` on the clipboard in `format`.
void SetClipboardBytes(UINT format, const void* bytes, std::size_t size) {
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!mem) return;
    if (void* p = GlobalLock(mem)) {
        memcpy(p, bytes, size);
        GlobalUnlock(mem);
        if (SetClipboardData(format, mem)) return; // the clipboard owns it now
    }
    GlobalFree(mem);
}

// Text of a clipboard handle, up to its first zero and never past its size.
template <class Char> std::basic_string<Char> ClipboardString(HANDLE h) {
    std::basic_string<Char> s;
    if (!h) return s;
    const auto* p = static_cast<const Char*>(GlobalLock(h));
    if (!p) return s;
    const std::size_t n = GlobalSize(h) / sizeof(Char);
    std::size_t len = 0;
    while (len < n && p[len])
        ++len;
    s.assign(p, len);
    GlobalUnlock(h);
    return s;
}

int Clamp16(int v) {
    return std::clamp(v, 0, 0xFFFF);
}

} // namespace

// --- Clipboard ----------------------------------------------------------------------------

void TCustomFlatEdit::PutClipboardText(const std::u16string& text) {
    ClipboardSession session(WindowHandle());
    EmptyClipboard();
    SetClipboardBytes(CF_UNICODETEXT, text.c_str(), (text.size() + 1) * sizeof(char16_t));
    const std::string ansi = WideToAnsi(text);
    SetClipboardBytes(CF_TEXT, ansi.c_str(), ansi.size() + 1);
}

std::u16string TCustomFlatEdit::GetClipboardText() {
    ClipboardSession session(WindowHandle());
    if (IsClipboardFormatAvailable(CF_UNICODETEXT)) {
        std::wstring w = ClipboardString<wchar_t>(GetClipboardData(CF_UNICODETEXT));
        return std::u16string(w.begin(), w.end());
    }
    if (IsClipboardFormatAvailable(CF_TEXT))
        return AnsiToWide(ClipboardString<char>(GetClipboardData(CF_TEXT)));
    return {};
}

std::u16string TCustomFlatEdit::ConvertCase(const std::u16string& text, bool upper) const {
    std::u16string s = text;
    if (s.empty()) return s;
    auto* w = reinterpret_cast<wchar_t*>(s.data());
    if (upper)
        CharUpperBuffW(w, DWORD(s.size()));
    else
        CharLowerBuffW(w, DWORD(s.size()));
    return s;
}

void TCustomFlatEdit::StoreText(const std::u16string& text) {
    if (HWND wnd = WindowHandle())
        SendMessageW(wnd, WM_SETTEXT, 1, reinterpret_cast<LPARAM>(text.c_str()));
    else
        ApplyText(text);
    DrawFrame();
}

// --- Text and edit messages ------------------------------------------------------------------

LRESULT TCustomFlatEdit::TextMessage(UINT msg, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = true;
    switch (msg) {
    case WM_SETTEXT:
        ApplyText(lParam ? FromWide(reinterpret_cast<const wchar_t*>(lParam)) : u"");
        return 1;
    case WM_GETTEXT: {
        if (PasswordChar() || wParam == 0 || !lParam) return 0;
        const std::u16string text = Text();
        const std::size_t n = std::min<std::size_t>(text.size(), wParam - 1);
        auto* out = reinterpret_cast<wchar_t*>(lParam);
        std::copy_n(text.begin(), n, out);
        out[n] = 0;
        return LRESULT(n);
    }
    case WM_GETTEXTLENGTH:
        return TextLength();
    case WM_CUT:
        ExecuteCommand(ecCut, 0, {});
        return 0;
    case WM_COPY:
        ExecuteCommand(ecCopy, 0, {});
        return 0;
    case WM_PASTE:
        ExecuteCommand(ecPaste, 0, {});
        return 0;
    case WM_CLEAR:
        SetSelText(u"");
        return 0;
    case EM_GETSEL: {
        const int start = SelStart(), end = start + SelLength();
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = DWORD(start);
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = DWORD(end);
        return MAKELRESULT(Clamp16(start), Clamp16(end));
    }
    case EM_SETSEL: {
        const int start = int(wParam), end = int(lParam);
        if (start == -1)
            Collapse();
        else if (start == 0 && end == -1)
            SelectAll();
        else
            SelectRange(start, end < 0 ? TextLength() : end);
        return 0;
    }
    case EM_REPLACESEL:
        SetSelText(lParam ? FromWide(reinterpret_cast<const wchar_t*>(lParam)) : u"");
        return 0;
    case EM_GETLINE: {
        const int line = int(wParam);
        if (line < 0 || line >= LinesCount() || !lParam || PasswordChar()) return 0;
        auto* buffer = reinterpret_cast<wchar_t*>(lParam);
        const std::size_t room = *reinterpret_cast<const WORD*>(buffer);
        const std::u16string& row = Lines().Line(line);
        const std::size_t n = std::min(room, row.size());
        std::copy_n(row.begin(), n, buffer);
        return LRESULT(n);
    }
    case EM_GETLINECOUNT:
        return LinesCount();
    case EM_LINEINDEX: {
        const int line = int(wParam) == -1 ? CaretY() : int(wParam);
        if (line < 0 || line >= LinesCount()) return -1;
        return CharFromCaret(0, line);
    }
    case EM_LINEFROMCHAR:
        return int(wParam) == -1 ? CaretY() : CaretFromChar(int(wParam)).Y;
    case EM_GETFIRSTVISIBLELINE:
        return TopLine();
    case EM_POSFROMCHAR: {
        const TEditPos at = CaretFromChar(int(wParam));
        const TPoint p = PosFromCaret(at.X, at.Y);
        return MAKELRESULT(WORD(short(p.X)), WORD(short(p.Y)));
    }
    case EM_SCROLL:
    case EM_LINESCROLL:
        return 0; // rows scroll only in multi-line use
    case EM_SCROLLCARET:
        ScrollCaretIntoView();
        PlaceCaret();
        return 0;
    case EM_CANUNDO:
        return CanUndo() ? TRUE : FALSE;
    case EM_UNDO:
        Undo();
        return TRUE;
    case EM_SETRECT:
    case EM_SETRECTNP: {
        if (!lParam) return 0;
        const RECT& r = *reinterpret_cast<const RECT*>(lParam);
        SetEditRect({r.left, r.top, r.right, r.bottom});
        if (msg == EM_SETRECT) Invalidate();
        return 0;
    }
    case WM_GETDLGCODE: {
        LRESULT code = DefaultHandler(msg, wParam, lParam) & ~LRESULT(DLGC_WANTALLKEYS);
        code |= DLGC_WANTARROWS | DLGC_HASSETSEL | DLGC_WANTCHARS;
        if (WantTabs()) code |= DLGC_WANTTAB;
        if (FHandleDialogKeys || (Multiline() && WantReturns())) code |= DLGC_WANTALLKEYS;
        return code;
    }
    case WM_CHAR:
        KeyPress(char16_t(wParam));
        return 0;
    }
    handled = false;
    return 0;
}

// --- Context menu ------------------------------------------------------------------------------

HMODULE TCustomFlatEdit::SystemMenuModule() const {
    return GetModuleHandleW(L"user32.dll");
}

TEditContextMenu TCustomFlatEdit::CreateContextMenu() {
    TEditContextMenu m = LoadPlatformEditMenu(SystemMenuModule());
    if (!m) m = BuiltInEditMenu(GetSystemDefaultLangID());
    if (!m) return m;
    const HMENU popup = m.Popup;
    if (FLocalizedSystemMenu) {
        const std::pair<UINT, const wchar_t*> captions[] = {
            {emUndo, L"&Undo"},   {emCut, L"Cu&t"},       {emCopy, L"&Copy"},
            {emPaste, L"&Paste"}, {emDelete, L"&Delete"}, {emSelectAll, L"&Select All"}};
        for (const auto& [id, text] : captions) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_STRING;
            info.dwTypeData = const_cast<wchar_t*>(text);
            SetMenuItemInfoW(popup, id, FALSE, &info);
        }
    }
    auto enable = [popup](UINT id, bool on) {
        EnableMenuItem(popup, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    const bool anyText =
        IsClipboardFormatAvailable(CF_TEXT) || IsClipboardFormatAvailable(CF_UNICODETEXT);
    enable(emUndo, CanUndo());
    enable(emCut, Selected());
    enable(emCopy, Selected());
    enable(emDelete, Selected());
    enable(emPaste, anyText && !ReadOnly());
    enable(emSelectAll, SelLength() != TextLength());
    return m;
}

void TCustomFlatEdit::ContextMenu(LPARAM lParam) {
    HWND wnd = WindowHandle();
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const bool keyboard = p.x == -1 && p.y == -1;
    if (keyboard) {
        p = {0, 0};
        ClientToScreen(wnd, &p);
    } else {
        POINT c = p;
        ScreenToClient(wnd, &c);
        RECT client;
        GetClientRect(wnd, &client);
        if (!PtInRect(&client, c)) {
            DefaultHandler(WM_CONTEXTMENU, WPARAM(wnd), lParam);
            return;
        }
    }
    bool handled = false;
    if (OnContextPopup) OnContextPopup(this, p, handled);
    if (handled) return;
    // A menu of the program's own (PopupMenu) takes the place of the edit menu.
    if (TPopupMenu* own = PopupMenu()) {
        if (!own->AutoPopup) return;
        own->PopupComponent = this;
        own->Popup(p.x, p.y, wnd);
    } else {
        if (!FUseSystemMenu) return;
        if (const TEditContextMenu menu = CreateContextMenu())
            TrackPopupMenu(menu.Popup, TPM_RIGHTBUTTON, p.x, p.y, 0, wnd, nullptr);
    }
    if (GetCapture() == wnd) ReleaseCapture();
    MouseRelease();
}

// The chosen entry runs its command directly, without the command callbacks.
void TCustomFlatEdit::MenuCommand(UINT id) {
    switch (id) {
    case emUndo:
        ExecuteCommand(ecUndo, 0, {});
        break;
    case emCut:
        ExecuteCommand(ecCut, 0, {});
        break;
    case emCopy:
        ExecuteCommand(ecCopy, 0, {});
        break;
    case emPaste:
        ExecuteCommand(ecPaste, 0, {});
        break;
    case emDelete:
        ExecuteCommand(ecDeleteSelection, 0, {});
        break;
    case emSelectAll:
    case emSelectAllAlt:
        ExecuteCommand(ecSelectAll, 0, {});
        break;
    }
}

// --- Mouse -----------------------------------------------------------------------------------

void TCustomFlatEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    HWND wnd = WindowHandle();
    const bool focusing = Enabled() && CanFocus() && !Focused();
    MousePress({x, y}, button == mbLeft, shift, focusing,
               button == mbLeft && (shift & ssDouble) != 0);
    if (focusing) {
        if (TForm* form = TForm::FormOf(wnd); form && form->ActiveControl() == this)
            form->SetActiveControl(nullptr);
        SetFocus();
    }
    SetCapture(wnd);
    TThemedControl::MouseDown(button, shift, x, y);
}

void TCustomFlatEdit::MouseMove(TShiftState shift, int x, int y) {
    if (shift & ssLeft) {
        StartDragAt({x, y}, GetSystemMetrics(SM_CXDRAG), GetSystemMetrics(SM_CYDRAG));
        MouseDrag({x, y}); // the caret follows the pointer
        if (TextDragging()) ShowDropCursor({x, y});
    }
    TThemedControl::MouseMove(shift, x, y);
}

void TCustomFlatEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && TextDragging()) DropDraggedText({x, y}, (shift & ssCtrl) != 0);
    if (GetCapture() == WindowHandle()) ReleaseCapture();
    MouseRelease();
    TThemedControl::MouseUp(button, shift, x, y);
}

// --- Text drag ---------------------------------------------------------------------------------

// The flat edit of this thread that takes drops at a point of this edit's client area, and the
// point in its own client area.
TCustomFlatEdit* TCustomFlatEdit::DropTargetAt(TPoint p, TPoint& targetPoint) const {
    POINT screen{p.X, p.Y};
    ClientToScreen(WindowHandle(), &screen);
    HWND wnd = WindowFromPoint(screen);
    // Only windows of this thread carry the framework's objects.
    if (!wnd || GetWindowThreadProcessId(wnd, nullptr) != GetCurrentThreadId()) return nullptr;
    auto* target = dynamic_cast<TCustomFlatEdit*>(TWinControl::FromHandle(wnd));
    if (!target || !target->DragAllowed()) return nullptr;
    ScreenToClient(wnd, &screen);
    targetPoint = {screen.x, screen.y};
    return target;
}

void TCustomFlatEdit::ShowDropCursor(TPoint p) {
    TPoint at;
    TCustomFlatEdit* target = DropTargetAt(p, at);
    const bool takes = target == this ? !ReadOnly() : target && target->CanTakeDrop(SelText());
    ::SetCursor(LoadCursorW(nullptr, takes ? IDC_ARROW : IDC_NO));
}

void TCustomFlatEdit::DropDraggedText(TPoint p, bool copy) {
    TPoint at;
    TCustomFlatEdit* target = DropTargetAt(p, at);
    if (!target) return;
    if (target == this) {
        MoveSelectionTo(at);
        return;
    }
    const std::u16string text = SelText();
    if (!target->CanTakeDrop(text)) return;
    target->DropText(at, text);
    if (!copy) RemoveDraggedText();
    target->SetFocus();
}

void TCustomFlatEdit::EndTextDrag() {
    if (!TextDragging()) return;
    CancelDrag();
    if (GetCapture() == WindowHandle()) ReleaseCapture();
}
