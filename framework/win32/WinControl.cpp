// TWinControl: window creation and destruction, the window procedure, painting of windowless
// children, mouse routing and cursor, alignment and focus.
#include "framework/win32/WinControl.h"

#include <windowsx.h>

#include <algorithm>
#include <set>

#include "framework/win32/AccessibleObject.h"
#include "framework/win32/Application.h"
#include "framework/win32/WinText.h"

namespace {

const wchar_t* const kObjectProp = L"LvControlObject";

void RegisterOwnClass(const TCreateParams& p) {
    static std::set<std::wstring> registered;
    if (registered.count(p.WinClassName)) return;
    WNDCLASSEXW wc{sizeof(wc)};
    wc.style = p.ClassStyle;
    wc.lpfnWndProc = TWinControl::StaticWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // Only a top-level window shows its class icon. A class with an icon costs the platform
    // a small copy of it at registration, which is measurable at start-up for every child
    // control class.
    if (!(p.Style & WS_CHILD)) wc.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    wc.lpszClassName = p.WinClassName.c_str();
    RegisterClassExW(&wc);
    registered.insert(p.WinClassName);
}

} // namespace

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    FControlStyle |= csAcceptsControls;
}

TWinControl::~TWinControl() {
    // Those who refer to this control forget it before its window goes (which moves the
    // focus and may bring messages to them).
    NotifyFree();
    DestroyComponents();
    for (TControl* c : FControls)
        c->FParent = nullptr;
    FControls.clear();
    if (FHandle) {
        HWND wnd = FHandle;
        DestroyWindow(wnd); // WM_NCDESTROY detaches the object
        FHandle = nullptr;
    }
}

TWinControl* TWinControl::FromHandle(HWND wnd) {
    return wnd ? static_cast<TWinControl*>(GetPropW(wnd, kObjectProp)) : nullptr;
}

void TWinControl::SetParent(TWinControl* parent) {
    TControl::SetParent(parent);
    if (FHandle && parent && parent->FHandle) {
        ::SetParent(FHandle, parent->FHandle);
        PlaceInStackingOrder();
    } else if (parent && parent->FHandle)
        CreateWnd();
}

HWND TWinControl::Handle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (FHandle) return;
    if (FParent) FParent->HandleNeeded();
    if (!FHandle) CreateWnd();
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.WinClassName = L"LvWinControl";
    p.Caption = ToWString(FText);
    p.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (FParent) p.Style |= WS_CHILD;
    if (FVisible) p.Style |= WS_VISIBLE;
    if (!FEnabled) p.Style |= WS_DISABLED;
    if (FTabStop) p.Style |= WS_TABSTOP;
    p.X = FLeft;
    p.Y = FTop;
    p.Width = FWidth;
    p.Height = FHeight;
    p.WndParent = FParent ? FParent->FHandle : nullptr;
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    const wchar_t* cls = p.SysClassName;
    if (!cls) {
        RegisterOwnClass(p);
        cls = p.WinClassName.c_str();
    }
    FSubclassed = p.SysClassName != nullptr;
    HWND wnd = CreateWindowExW(p.ExStyle, cls, p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                               p.Height, p.WndParent, nullptr, GetModuleHandleW(nullptr), this);
    if (!wnd) throw std::runtime_error("Cannot create window");
    if (FSubclassed) {
        AttachHandle(wnd);
        FDefWndProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWndProc)));
        SendMessageW(wnd, WM_SETFONT, WPARAM(FFont.Handle()), FALSE);
    }
    PlaceInStackingOrder();
    CreateHandleDone();
    CreateChildHandles();
    AlignControls();
}

// The platform puts a new child window at the bottom of its siblings. Among windowed
// siblings a later one lies above an earlier one, so the window goes directly beneath the
// first later sibling that has a window, or on top when there is none. A re-created window
// thereby returns to its old place.
void TWinControl::PlaceInStackingOrder() {
    if (!FHandle || !FParent) return;
    const std::vector<TControl*>& siblings = FParent->FControls;
    auto self = std::find(siblings.begin(), siblings.end(), this);
    HWND above = HWND_TOP;
    if (self != siblings.end()) {
        for (auto it = std::next(self); it != siblings.end(); ++it) {
            HWND wnd = (*it)->WindowHandle();
            if ((*it)->IsWindowed() && wnd) {
                above = wnd;
                break;
            }
        }
    }
    SetWindowPos(FHandle, above, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void TWinControl::AttachHandle(HWND wnd) {
    FHandle = wnd;
    FDefWndProc = DefWindowProcW;
    SetPropW(wnd, kObjectProp, this);
    // The window procedure finds the object in the window's own data: reading a property is
    // a round trip to the window server under Wine, at every message.
    SetWindowLongPtrW(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TWinControl::CreateChildHandles() {
    for (TControl* c : FControls)
        if (c->IsWindowed()) {
            auto* w = static_cast<TWinControl*>(c);
            if (!w->FHandle) w->CreateWnd();
        }
}

void TWinControl::RecreateWnd() {
    if (!FHandle) return;
    FText = Text();
    bool hadFocus = Focused();
    DestroyWindow(FHandle); // children's windows go with it
    CreateWnd();
    if (hadFocus) SetFocus();
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (!self && msg == WM_NCCREATE) {
        // Own window classes attach the object before any other message arrives.
        self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) self->AttachHandle(wnd);
    }
    if (!self) return DefWindowProcW(wnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        WNDPROC def = self->FDefWndProc;
        RemovePropW(wnd, kObjectProp);
        SetWindowLongPtrW(wnd, GWLP_USERDATA, 0);
        if (self->FSubclassed)
            SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(def));
        self->FHandle = nullptr;
        self->FCaptureControl = nullptr;
        self->FMouseControl = nullptr;
        self->FTrackingLeave = false;
        self->FMouseInside = false;
        return CallWindowProcW(def, wnd, msg, wParam, lParam);
    }
    if (msg == WM_PAINT && !wParam) ++self->FPaintCount;
    try {
        return self->WndProc(msg, wParam, lParam);
    } catch (const std::exception& e) {
        HandleEscapedException(e);
    } catch (...) {
        HandleEscapedException(std::runtime_error("Unknown error"));
    }
    return 0;
}

LRESULT TWinControl::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(FDefWndProc, FHandle, msg, wParam, lParam);
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        if (!FSubclassed) return EraseBackground(reinterpret_cast<HDC>(wParam)) ? 1 : 0;
        break;
    case WM_PRINTCLIENT:
    case WM_PAINT:
        if (!FSubclassed && (wParam || msg == WM_PRINTCLIENT)) {
            // Painting into a DC the sender supplies (a child drawing its parent underneath).
            HDC dc = reinterpret_cast<HDC>(wParam);
            if (!dc) return 0;
            PaintWindow(dc);
            PaintControls(dc);
            return 0;
        }
        if (!FSubclassed) {
            PaintDC dc(FHandle);
            PaintWindow(dc.get());
            PaintControls(dc.get());
            return 0;
        }
        break;
    case WM_SIZE:
        Resized();
        break;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == FHandle && SetCursorMessage(lParam)) return TRUE;
        break;
    case WM_COMMAND:
        if (lParam && FromHandle(reinterpret_cast<HWND>(lParam)))
            return SendMessageW(reinterpret_cast<HWND>(lParam), CN_COMMAND, wParam, lParam);
        break;
    case WM_NOTIFY: {
        HWND from = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        if (from != FHandle && FromHandle(from)) return SendMessageW(from, CN_NOTIFY, wParam, lParam);
        break;
    }
    case CN_COMMAND:
        CommandNotify(HIWORD(wParam));
        return 0;
    case CN_NOTIFY:
        return Notify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_GETOBJECT:
        if (LONG(lParam) == OBJID_CLIENT) return AccessibleObject().Answer(wParam);
        break;
    case CM_ACCESSIBLEACTION:
        TAccessibleObject::RunPendingActions();
        return 0;
    case WM_MOUSEACTIVATE:
        if (LRESULT r = MouseActivateMessage(wParam, lParam)) return r;
        break;
    case WM_GETMINMAXINFO:
        if (!FParent) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            if (FConstraints.MinWidth > 0) info->ptMinTrackSize.x = FConstraints.MinWidth;
            if (FConstraints.MinHeight > 0) info->ptMinTrackSize.y = FConstraints.MinHeight;
            if (FConstraints.MaxWidth > 0) info->ptMaxTrackSize.x = FConstraints.MaxWidth;
            if (FConstraints.MaxHeight > 0) info->ptMaxTrackSize.y = FConstraints.MaxHeight;
        }
        break;
    case WM_SETFOCUS:
        if (OnEnter) OnEnter(this);
        break;
    case WM_UPDATEUISTATE: {
        // Accelerator underlines appear or go: windowless children repaint with them.
        LRESULT r = DefaultHandler(msg, wParam, lParam);
        if (HIWORD(wParam) & UISF_HIDEACCEL) Invalidate();
        return r;
    }
    case WM_KILLFOCUS:
        if (OnExit) OnExit(this);
        break;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MBUTTONUP: {
        if (Application && Application->DragControl().Source()) {
            POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(FHandle, &screen);
            if (Application->DragControl().MouseMessage(msg, screen)) return 0;
        }
        LRESULT r = DefaultHandler(msg, wParam, lParam);
        MouseMessage(msg, wParam, lParam);
        return r;
    }
    case WM_CAPTURECHANGED:
        FCaptureControl = nullptr;
        if (Application) Application->DragControl().CaptureChanged(reinterpret_cast<HWND>(lParam));
        break;
    case WM_CONTEXTMENU: {
        // A request over this window's own area goes to the windowless child under the point;
        // one from the keyboard, or passed up from a child window, is this control's.
        const POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        TControl* target = this;
        if (reinterpret_cast<HWND>(wParam) == FHandle && (screen.x != -1 || screen.y != -1)) {
            POINT p = screen;
            ScreenToClient(FHandle, &p);
            if (TControl* child = ControlAtPos(p)) target = child;
        }
        if (target->ContextPopup(screen)) return 0;
        // Unhandled over a windowless child: the window it is drawn on comes next, then,
        // through the platform, the parent window.
        if (target != this && ContextPopup(screen)) return 0;
        break;
    }
    }
    return DefaultHandler(msg, wParam, lParam);
}

LRESULT TWinControl::MouseMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (msg == WM_MOUSELEAVE) {
        FTrackingLeave = false;
        SetMouseControl(nullptr);
        if (FMouseInside) {
            FMouseInside = false;
            MouseLeave();
        }
        if (Application) Application->HintWindowLeft(FHandle);
        return 0;
    }
    if (msg == WM_MOUSEMOVE && !FMouseInside) {
        TrackMouseLeave();
        FMouseInside = true;
        MouseEnter();
    }
    TControl* target = FCaptureControl;
    if (!target) target = ControlAtPos(p);
    if (!target) target = this;
    TShiftState shift = ShiftFromMouseKeys(wParam);
    int x = p.x, y = p.y;
    if (target != this) {
        POINT o = target->OriginInWindow();
        x -= o.x;
        y -= o.y;
    }
    if (msg == WM_MOUSEMOVE) {
        if (!FCaptureControl) SetMouseControl(target);
        if (Application) Application->HintMouseOver(target);
        target->MouseMove(shift, x, y);
        return 0;
    }
    TMouseButton button = mbLeft;
    bool down = false;
    switch (msg) {
    case WM_LBUTTONDBLCLK:
        shift |= ssDouble;
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        down = true;
        break;
    case WM_RBUTTONDBLCLK:
        shift |= ssDouble;
        [[fallthrough]];
    case WM_RBUTTONDOWN:
        button = mbRight;
        down = true;
        break;
    case WM_MBUTTONDBLCLK:
        shift |= ssDouble;
        [[fallthrough]];
    case WM_MBUTTONDOWN:
        button = mbMiddle;
        down = true;
        break;
    case WM_RBUTTONUP:
        button = mbRight;
        break;
    case WM_MBUTTONUP:
        button = mbMiddle;
        break;
    default:
        break;
    }
    if (Application) Application->CancelHint();
    if (down) {
        if (target != this) {
            FCaptureControl = target;
            SetCapture(FHandle);
        }
        target->MouseDown(button, shift, x, y);
    } else {
        if (FCaptureControl && !(shift & (ssLeft | ssRight | ssMiddle))) {
            FCaptureControl = nullptr;
            if (GetCapture() == FHandle) ReleaseCapture();
        }
        target->MouseUp(button, shift, x, y);
    }
    return 0;
}

// WM_MOUSEACTIVATE: the control under the pointer (a windowless child or this one) may say
// how the press activates; 0 leaves it to the platform.
LRESULT TWinControl::MouseActivateMessage(WPARAM, LPARAM lParam) {
    const int hitTest = short(LOWORD(lParam));
    TMouseButton button;
    switch (HIWORD(lParam)) {
    case WM_LBUTTONDOWN:
        button = mbLeft;
        break;
    case WM_RBUTTONDOWN:
        button = mbRight;
        break;
    case WM_MBUTTONDOWN:
        button = mbMiddle;
        break;
    default:
        return 0;
    }
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(FHandle, &p);
    TControl* target = this;
    if (hitTest == HTCLIENT)
        if (TControl* child = ControlAtPos(p)) target = child;
    if (target != this) {
        POINT o = target->OriginInWindow();
        p.x -= o.x;
        p.y -= o.y;
    }
    switch (target->MouseActivate(button, KeyboardShiftState(), p.x, p.y, hitTest)) {
    case maActivate:
        return MA_ACTIVATE;
    case maActivateAndEat:
        return MA_ACTIVATEANDEAT;
    case maNoActivate:
        return MA_NOACTIVATE;
    case maNoActivateAndEat:
        return MA_NOACTIVATEANDEAT;
    default:
        return 0;
    }
}

void TWinControl::TrackMouseLeave() {
    if (FTrackingLeave) return;
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, FHandle, 0};
    FTrackingLeave = TrackMouseEvent(&tme) != FALSE;
}

// The windowless child under the pointer; the window's own enter and leave are MouseMessage's.
void TWinControl::SetMouseControl(TControl* control) {
    if (control) TrackMouseLeave();
    if (control == FMouseControl) return;
    TControl* old = FMouseControl;
    FMouseControl = control;
    if (old && old != this) old->MouseLeave();
    if (control && control != this) control->MouseEnter();
}

bool TWinControl::SetCursorMessage(LPARAM lParam) {
    if (LOWORD(lParam) != HTCLIENT) return false;
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(FHandle, &p);
    TControl* c = ControlAtPos(p);
    TCursor cursor = c && c->Cursor() != crDefault ? c->Cursor() : Cursor();
    HCURSOR h = CursorHandle(cursor);
    if (!h) return false;
    ::SetCursor(h);
    return true;
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled) const {
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (c->IsWindowed() || !c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
        if (p.x >= c->Left() && p.y >= c->Top() && p.x < c->Left() + c->Width() &&
            p.y < c->Top() + c->Height())
            return c;
    }
    return nullptr;
}

bool TWinControl::EraseBackground(HDC dc) {
    RECT r;
    GetClientRect(FHandle, &r);
    FillSolidRect(dc, r, ColorToRGB(FColor));
    return true;
}

void TWinControl::PaintControls(HDC dc) {
    RECT clip;
    GetClipBox(dc, &clip);
    for (TControl* c : FControls) {
        if (c->IsWindowed() || !c->Visible()) continue;
        RECT b = c->BoundsRect(), hit;
        if (!IntersectRect(&hit, &b, &clip)) continue;
        ScopedSaveDC save(dc);
        POINT org;
        GetViewportOrgEx(dc, &org);
        SetViewportOrgEx(dc, org.x + b.left, org.y + b.top, nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        TCanvas canvas(dc);
        c->Paint(canvas);
    }
}

void TCustomControl::PaintWindow(HDC dc) {
    TCanvas canvas(dc);
    Paint(canvas);
}

RECT TWinControl::ClientRect() const {
    RECT r{0, 0, FWidth, FHeight};
    if (FHandle) GetClientRect(FHandle, &r);
    return r;
}

void TWinControl::AdjustClientRect(RECT& r) const {
    InflateRect(&r, -FBorderWidth, -FBorderWidth);
}

void TWinControl::SetBorderWidth(int v) {
    if (v == FBorderWidth) return;
    FBorderWidth = v;
    AlignControls();
    Invalidate();
}

void TWinControl::AlignControls() {
    RECT area = ClientRect();
    AdjustClientRect(area);
    auto place = [&](TAlign which) {
        for (TControl* c : FControls) {
            if (c->Align() != which || !c->Visible()) continue;
            int l = area.left, t = area.top, w = c->Width(), h = c->Height();
            switch (which) {
            case alTop:
                w = area.right - area.left;
                area.top += h;
                break;
            case alBottom:
                w = area.right - area.left;
                t = area.bottom - h;
                area.bottom -= h;
                break;
            case alLeft:
                h = area.bottom - area.top;
                area.left += w;
                break;
            case alRight:
                h = area.bottom - area.top;
                l = area.right - w;
                area.right -= w;
                break;
            case alClient:
                w = area.right - area.left;
                h = area.bottom - area.top;
                break;
            default:
                break;
            }
            c->FAnchoring = true;
            c->SetBounds(l, t, std::max(w, 0), std::max(h, 0));
            c->FAnchoring = false;
        }
    };
    for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient})
        place(a);
}

void TWinControl::Resized() {
    RECT r = ClientRect();
    for (TControl* c : FControls)
        c->ParentResized(r.right - r.left, r.bottom - r.top);
    AlignControls();
    Resize();
}

void TWinControl::UpdateWindowBounds() {
    if (FHandle)
        SetWindowPos(FHandle, nullptr, FLeft, FTop, FWidth, FHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    else
        Resized();
}

void TWinControl::InsertControl(TControl* control) {
    FControls.push_back(control);
}

void TWinControl::RemoveControl(TControl* control) {
    std::erase(FControls, control);
    if (FCaptureControl == control) FCaptureControl = nullptr;
    if (FMouseControl == control) FMouseControl = nullptr;
}

std::u16string TWinControl::Text() const {
    if (!FHandle) return FText;
    int n = GetWindowTextLengthW(FHandle);
    std::wstring buf(n + 1, L'\0');
    GetWindowTextW(FHandle, buf.data(), n + 1);
    return FromWide(buf.c_str());
}

void TWinControl::SetText(const std::u16string& text) {
    FText = text;
    if (!FHandle) return;
    SetWindowTextW(FHandle, AsWide(text));
    NotifyAccessible(EVENT_OBJECT_NAMECHANGE);
}

void TWinControl::SetTabOrder(int v) {
    FTabOrder = v;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
    std::vector<TWinControl*> children;
    for (TControl* c : FControls)
        if (c->IsWindowed()) children.push_back(static_cast<TWinControl*>(c));
    std::stable_sort(children.begin(), children.end(),
                     [](TWinControl* a, TWinControl* b) { return a->FTabOrder < b->FTabOrder; });
    for (TWinControl* c : children) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return FHandle != nullptr;
}

bool TWinControl::DialogChar(char16_t ch) {
    for (TControl* c : FControls)
        if (c->Visible() && c->Enabled() && c->DialogChar(ch)) return true;
    return false;
}

bool TWinControl::Focused() const {
    return FHandle && GetFocus() == FHandle;
}

void TWinControl::SetFocus() {
    if (HWND wnd = Handle()) ::SetFocus(wnd);
}

void TWinControl::Invalidate() {
    if (FHandle) InvalidateRect(FHandle, nullptr, (FControlStyle & csOpaque) ? FALSE : TRUE);
}

void TWinControl::SetVisible(bool v) {
    TControl::SetVisible(v);
}

void TWinControl::VisibleChanged() {
    if (FHandle) {
        ShowWindow(FHandle, FVisible ? SW_SHOWNA : SW_HIDE);
        if (FVisible) InvalidateRect(FHandle, nullptr, TRUE);
    }
    if (FParent && FAlign != alNone) FParent->AlignControls();
}

void TWinControl::SetEnabled(bool v) {
    TControl::SetEnabled(v);
}

void TWinControl::EnabledChanged() {
    if (FHandle) EnableWindow(FHandle, FEnabled);
    Invalidate();
}

void TWinControl::FontChanged() {
    if (FHandle && FSubclassed) SendMessageW(FHandle, WM_SETFONT, WPARAM(FFont.Handle()), TRUE);
    for (TControl* c : FControls)
        c->ParentFontChanged();
    Invalidate();
}

void TWinControl::ColorChanged() {
    for (TControl* c : FControls)
        c->ParentColorChanged();
    Invalidate();
}
