// TForm: creation styles, showing centred, closing, focus on activation and tab navigation.
#include "framework/win32/Form.h"

#include <algorithm>

#include "framework/win32/Application.h"
#include "framework/win32/StartupTrace.h"

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    FVisible = false;
    FParentFont = false;
    FParentColor = false;
    FFont.Assign(TFontDesc{});
    FLeft = CW_USEDEFAULT;
    FTop = CW_USEDEFAULT;
    FWidth = 320;
    FHeight = 240;
}

TForm::~TForm() {
    DestroyComponents();
}

void TForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.WinClassName = L"LvForm";
    p.Style &= ~(WS_CHILD | WS_VISIBLE);
    p.ExStyle |= WS_EX_CONTROLPARENT;
    if (Application && Application->MainFormOnTaskBar) p.ExStyle |= WS_EX_APPWINDOW;
    switch (FBorderStyle) {
    case bsNone:
        p.Style |= WS_POPUP;
        break;
    case bsSingle:
        p.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
        break;
    case bsSizeable:
        p.Style |= WS_OVERLAPPEDWINDOW;
        break;
    case bsDialog:
        p.Style |= WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        p.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    case bsToolWindow:
        p.Style |= WS_CAPTION | WS_SYSMENU;
        p.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case bsSizeToolWin:
        p.Style |= WS_OVERLAPPEDWINDOW;
        p.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    }
}

void TForm::SetBorderStyle(TFormBorderStyle v) {
    if (v == FBorderStyle) return;
    RECT client = ClientRect();
    FBorderStyle = v;
    RecreateWnd();
    if (HandleAllocated()) SetClientSize(client.right, client.bottom);
}

// The frame the window's style puts around a client area, known before the window exists.
RECT TForm::FrameOfStyle() const {
    TCreateParams p;
    const_cast<TForm*>(this)->CreateParams(p);
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, p.Style, FALSE, p.ExStyle);
    return r;
}

RECT TForm::ClientRect() const {
    if (HandleAllocated()) return TWinControl::ClientRect();
    RECT frame = FrameOfStyle();
    return {0, 0, std::max(0L, LONG(FWidth) - (frame.right - frame.left)),
            std::max(0L, LONG(FHeight) - (frame.bottom - frame.top))};
}

void TForm::SetClientSize(int width, int height) {
    if (!HandleAllocated()) {
        // Without a window the frame comes from the style; the window, once created,
        // measures again (a caption may wrap).
        RECT frame = FrameOfStyle();
        FClientSizeToCheck = {width, height};
        SetBounds(FLeft == CW_USEDEFAULT ? 0 : FLeft, FTop == CW_USEDEFAULT ? 0 : FTop,
                  width + frame.right - frame.left, height + frame.bottom - frame.top);
        return;
    }
    HWND wnd = Handle();
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, DWORD(GetWindowLongPtrW(wnd, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongPtrW(wnd, GWL_EXSTYLE)));
    SetBounds(FLeft == CW_USEDEFAULT ? 0 : FLeft, FTop == CW_USEDEFAULT ? 0 : FTop,
              r.right - r.left, r.bottom - r.top);
    // A caption that wraps (narrow window) changes the frame: measure once more.
    RECT got;
    GetClientRect(wnd, &got);
    if (got.right != width || got.bottom != height)
        SetBounds(FLeft, FTop, FWidth + width - got.right, FHeight + height - got.bottom);
}

void TForm::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    if (FClientSizeToCheck.cx > 0 || FClientSizeToCheck.cy > 0)
        SetClientSize(FClientSizeToCheck.cx, FClientSizeToCheck.cy);
    FClientSizeToCheck = {};
}

void TForm::CenterOnScreen() {
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    SetBounds((sw - FWidth) / 2, (sh - FHeight) / 2, FWidth, FHeight);
}

void TForm::Show() {
    HWND wnd = Handle();
    startup_trace::Mark("windows created");
    if (!FShownOnce) {
        FShownOnce = true;
        bool center =
            FPosition == poScreenCenter || FPosition == poDesktopCenter ||
            (FPosition == poMainFormCenter && (!Application || Application->MainForm() == this));
        if (center) CenterOnScreen();
    }
    FVisible = true;
    ShowWindow(wnd, SW_SHOW);
    SetForegroundWindow(wnd);
    startup_trace::Mark("window shown");
    UpdateWindow(wnd);
}

void TForm::Close() {
    if (HandleAllocated()) PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

void TForm::DoCreate() {
    LoadedAll(this);
    startup_trace::Mark("controls loaded");
    if (OnCreate) OnCreate(this);
}

// Every control built by the layout hears that its stored properties are all set, parents
// before their children.
void TForm::LoadedAll(TWinControl* parent) {
    for (TControl* c : parent->Controls()) {
        c->Loaded();
        if (c->IsWindowed()) LoadedAll(static_cast<TWinControl*>(c));
    }
}

void TForm::SetActiveControl(TWinControl* control) {
    FActiveControl = control;
    if (control && HandleAllocated() && GetActiveWindow() == Handle() && control->CanFocus())
        control->SetFocus();
}

std::vector<TWinControl*> TForm::TabStops() {
    std::vector<TWinControl*> all, stops;
    GetTabOrderList(all);
    std::copy_if(all.begin(), all.end(), std::back_inserter(stops),
                 [](TWinControl* c) { return c->TabStop() && c->CanFocus(); });
    return stops;
}

void TForm::SelectNext(bool forward) {
    std::vector<TWinControl*> stops = TabStops();
    if (stops.empty()) return;
    TWinControl* current = FromHandle(GetFocus());
    auto it = std::find(stops.begin(), stops.end(), current);
    std::size_t i;
    if (it == stops.end())
        i = forward ? 0 : stops.size() - 1;
    else {
        std::size_t at = std::size_t(it - stops.begin());
        i = forward ? (at + 1) % stops.size() : (at + stops.size() - 1) % stops.size();
    }
    FActiveControl = stops[i];
    stops[i]->SetFocus();
}

TForm* TForm::FormOf(HWND wnd) {
    for (HWND w = wnd; w; w = GetParent(w))
        if (auto* form = dynamic_cast<TForm*>(FromHandle(w))) return form;
    return nullptr;
}

void TForm::RememberFocus() {
    HWND focus = GetFocus();
    if (focus && focus != Handle() && IsChild(Handle(), focus))
        if (TWinControl* c = FromHandle(focus)) FActiveControl = c;
}

LRESULT TForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            RememberFocus();
        } else {
            // The focus goes back to the last focused control, first to the first tab stop.
            TWinControl* target = FActiveControl;
            if (!target || !target->CanFocus()) {
                std::vector<TWinControl*> stops = TabStops();
                target = stops.empty() ? nullptr : stops.front();
            }
            if (target) {
                FActiveControl = target;
                target->SetFocus();
                return 0;
            }
        }
        break;
    case WM_CLOSE:
        // Closing the main form asks the loop to end; the window stays as it is until
        // then (a nested loop that consumes the request leaves it open). Other forms hide.
        if (Application && Application->MainForm() == this) {
            Application->Terminate(0);
        } else {
            ShowWindow(Handle(), SW_HIDE);
            FVisible = false;
        }
        return 0;
    case WM_CHANGEUISTATE:
    case WM_UPDATEUISTATE:
        // The form keeps the accelerator cue itself (this Wine's windows keep no UI state)
        // and repaints every control with it.
        if (HIWORD(wParam) & UISF_HIDEACCEL) {
            const bool hide = LOWORD(wParam) == UIS_SET;
            if (hide != FHideAccelerators) {
                FHideAccelerators = hide;
                RedrawWindow(Handle(), nullptr, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            }
        }
        break;
    case WM_QUERYUISTATE: {
        LRESULT state = TWinControl::WndProc(msg, wParam, lParam) & ~LRESULT(UISF_HIDEACCEL);
        return FHideAccelerators ? state | UISF_HIDEACCEL : state;
    }
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}
