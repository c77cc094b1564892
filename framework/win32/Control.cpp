// TControl: geometry, visibility, font and colour inheritance, anchors and mouse events.
#include "framework/win32/Control.h"

#include "framework/core/Accelerator.h"
#include "framework/win32/Application.h"
#include "framework/win32/WinControl.h"

bool IsAccel(char16_t ch, const std::u16string& caption) {
    std::optional<char16_t> accel = AcceleratorOf(caption);
    if (!accel) return false;
    wchar_t pair[2] = {wchar_t(ch), wchar_t(*accel)};
    CharUpperBuffW(pair, 2);
    return pair[0] == pair[1];
}

HCURSOR CursorHandle(TCursor c) {
    const wchar_t* id = nullptr;
    switch (c) {
    case crArrow:
        id = IDC_ARROW;
        break;
    case crCross:
        id = IDC_CROSS;
        break;
    case crIBeam:
        id = IDC_IBEAM;
        break;
    case crSizeNESW:
        id = IDC_SIZENESW;
        break;
    case crSizeNS:
        id = IDC_SIZENS;
        break;
    case crSizeNWSE:
        id = IDC_SIZENWSE;
        break;
    case crSizeWE:
        id = IDC_SIZEWE;
        break;
    case crHourGlass:
        id = IDC_WAIT;
        break;
    case crNo:
    case crNoDrop:
        id = IDC_NO;
        break;
    case crDrag: // the platform has no drag cursor of its own
        id = IDC_ARROW;
        break;
    case crAppStart:
        id = IDC_APPSTARTING;
        break;
    case crHandPoint:
        id = IDC_HAND;
        break;
    case crSizeAll:
        id = IDC_SIZEALL;
        break;
    default:
        return nullptr;
    }
    return LoadCursorW(nullptr, id);
}

TShiftState KeyboardShiftState() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TShiftState ShiftFromMouseKeys(WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
    FFont.OnChange = [this](TObject*) {
        FParentFont = false;
        FontChanged();
    };
}

TControl::~TControl() {
    NotifyFree();
    FAccessible.reset(); // before anything of the control goes
    if (Application) {
        Application->ForgetHintControl(this);
        Application->DragControl().Forget(this);
    }
    if (FParent) FParent->RemoveControl(this);
}

TBiDiMode TControl::BiDiMode() const {
    if (FParentBiDiMode && FParent) return FParent->BiDiMode();
    return FBiDiMode;
}

void TControl::SetBiDiMode(TBiDiMode v) {
    FBiDiMode = v;
    FParentBiDiMode = false;
    Invalidate();
}

void TControl::SetParentBiDiMode(bool v) {
    FParentBiDiMode = v;
    Invalidate();
}

UINT TControl::DrawTextBiDiModeFlags(UINT flags) const {
    if (UseRightToLeftAlignment()) {
        const UINT horizontal = flags & (DT_CENTER | DT_RIGHT);
        flags &= ~UINT(DT_CENTER | DT_RIGHT);
        if (horizontal == DT_CENTER) flags |= DT_CENTER;
        else if (horizontal == 0) flags |= DT_RIGHT; // left becomes right; right becomes left
    }
    if (UseRightToLeftReading()) flags |= DT_RTLREADING;
    return flags;
}

bool TControl::ShowHint() const {
    if (FParentShowHint && FParent) return FParent->ShowHint();
    return FShowHint;
}

void TControl::SetShowHint(bool v) {
    FShowHint = v;
    FParentShowHint = false;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == FParent) return;
    if (FParent) {
        Invalidate();
        FParent->RemoveControl(this);
    }
    FParent = parent;
    if (!FParent) return;
    FParent->InsertControl(this);
    if (FParentFont) ParentFontChanged();
    if (FParentColor) ParentColorChanged();
    RememberAnchorDistances();
    Invalidate();
}

int TSizeConstraints::ClampWidth(int w) const {
    if (MaxWidth > 0 && w > MaxWidth) w = MaxWidth;
    if (MinWidth > 0 && w < MinWidth) w = MinWidth;
    return w;
}

int TSizeConstraints::ClampHeight(int h) const {
    if (MaxHeight > 0 && h > MaxHeight) h = MaxHeight;
    if (MinHeight > 0 && h < MinHeight) h = MinHeight;
    return h;
}

void TControl::SetConstraints(const TSizeConstraints& c) {
    FConstraints = c;
    SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    width = FConstraints.ClampWidth(width);
    height = FConstraints.ClampHeight(height);
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    const bool resized = width != FWidth || height != FHeight;
    Invalidate();
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    UpdateWindowBounds();
    if (!FAnchoring) RememberAnchorDistances();
    BoundsChanged();
    Invalidate();
    if (FParent && FAlign != alNone) FParent->AlignControls();
    if (resized && !IsWindowed()) Resize();
}

void TControl::Resize() {
    // Windowed controls come here on every WM_SIZE and on moves made without a window.
    if (FWidth == FResizedWidth && FHeight == FResizedHeight) return;
    FResizedWidth = FWidth;
    FResizedHeight = FHeight;
    if (OnResize) OnResize(this);
}

int TControl::ClientWidth() const {
    RECT r = ClientRect();
    return r.right - r.left;
}

int TControl::ClientHeight() const {
    RECT r = ClientRect();
    return r.bottom - r.top;
}

void TControl::SetAlign(TAlign v) {
    if (v == FAlign) return;
    FAlign = v;
    if (FParent) FParent->AlignControls();
}

void TControl::SetAnchors(TAnchors v) {
    FAnchors = v;
    RememberAnchorDistances();
}

void TControl::RememberAnchorDistances() {
    if (!FParent) return;
    RECT pr = FParent->ClientRect();
    FAnchorRight = (pr.right - pr.left) - (FLeft + FWidth);
    FAnchorBottom = (pr.bottom - pr.top) - (FTop + FHeight);
}

void TControl::ParentResized(int parentWidth, int parentHeight) {
    if (FAlign != alNone) return;
    int left = FLeft, top = FTop, width = FWidth, height = FHeight;
    if (FAnchors & akRight) {
        if (FAnchors & akLeft)
            width = parentWidth - FAnchorRight - left;
        else
            left = parentWidth - FAnchorRight - width;
    }
    if (FAnchors & akBottom) {
        if (FAnchors & akTop)
            height = parentHeight - FAnchorBottom - top;
        else
            top = parentHeight - FAnchorBottom - height;
    }
    FAnchoring = true;
    SetBounds(left, top, width, height);
    FAnchoring = false;
}

void TControl::SetVisible(bool v) {
    if (v == FVisible) return;
    if (!v) Invalidate();
    FVisible = v;
    VisibleChanged();
    NotifyAccessible(v ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE);
}

void TControl::VisibleChanged() {
    Invalidate();
    if (FParent && FAlign != alNone) FParent->AlignControls();
}

void TControl::SetEnabled(bool v) {
    if (v == FEnabled) return;
    FEnabled = v;
    EnabledChanged();
    NotifyAccessible(EVENT_OBJECT_STATECHANGE);
}

bool TControl::Showing() const {
    for (const TControl* c = this; c; c = c->FParent)
        if (!c->FVisible) return false;
    return true;
}

void TControl::SetParentFont(bool v) {
    FParentFont = v;
    if (v) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!FParentFont || !FParent) return;
    FFont.Assign(FParent->Font());
    FParentFont = true; // the assignment's change notification cleared it
}

void TControl::SetColor(TColor v) {
    FParentColor = false;
    if (v == FColor) return;
    FColor = v;
    ColorChanged();
}

void TControl::SetParentColor(bool v) {
    FParentColor = v;
    if (v) ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!FParentColor || !FParent) return;
    if (FColor == FParent->Color()) return;
    FColor = FParent->Color();
    ColorChanged();
}

POINT TControl::OriginInWindow() const {
    POINT p{0, 0};
    for (const TControl* c = this; c && !c->IsWindowed(); c = c->FParent) {
        p.x += c->FLeft;
        p.y += c->FTop;
    }
    return p;
}

HWND TControl::WindowHandle() const {
    return FParent ? FParent->WindowHandle() : nullptr;
}

void TControl::Invalidate() {
    HWND wnd = WindowHandle();
    if (!wnd || !FParent) return;
    POINT o = OriginInWindow();
    RECT r{o.x, o.y, o.x + FWidth, o.y + FHeight};
    InvalidateRect(wnd, &r, (FControlStyle & csOpaque) ? FALSE : TRUE);
}

void TControl::Repaint() {
    Invalidate();
    if (HWND wnd = WindowHandle()) UpdateWindow(wnd);
}

void TControl::BeginDrag(bool immediate, int threshold) {
    if (Application) Application->DragControl().Begin(this, immediate, threshold);
}

bool TControl::Dragging() const {
    return Application && Application->DragControl().Source() == this;
}

bool TControl::DragOver(TControl* source, int x, int y, TDragState state) {
    bool accept = bool(OnDragOver);
    if (OnDragOver) OnDragOver(this, source, x, y, state, accept);
    return accept;
}

void TControl::DragDrop(TControl* source, int x, int y) {
    if (OnDragDrop) OnDragDrop(this, source, x, y);
}

void TControl::DoStartDrag() {
    if (FDragKind == dkDock) {
        if (OnStartDock) OnStartDock(this);
    } else if (OnStartDrag) {
        OnStartDrag(this);
    }
}

void TControl::DoEndDrag(TControl* target, int x, int y) {
    if (FDragKind == dkDock) {
        if (OnEndDock) OnEndDock(this, target, x, y);
    } else if (OnEndDrag) {
        OnEndDrag(this, target, x, y);
    }
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && FDragMode == dmAutomatic && !(shift & ssDouble)) BeginDrag(false);
    // A double click: the double-click event first, then the press itself. The first press
    // of the pair has clicked already, so the release of this one is no click.
    if (button == mbLeft && (FControlStyle & csClickEvents)) {
        if (shift & ssDouble) DblClick();
        FClicking = !(shift & ssDouble);
    }
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    bool click = button == mbLeft && FClicking;
    if (button == mbLeft) FClicking = false;
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
    if (click && x >= 0 && y >= 0 && x < FWidth && y < FHeight) Click();
}

void TControl::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}

void TControl::MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
}

void TControl::Click() {
    if (OnClick) OnClick(this);
}

bool TControl::AcceleratorsHidden() const {
    HWND wnd = WindowHandle();
    if (!wnd) return false;
    return SendMessageW(GetAncestor(wnd, GA_ROOT), WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL;
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

TMouseActivate TControl::MouseActivate(TMouseButton button, TShiftState shift, int x, int y,
                                       int hitTest) {
    TMouseActivate result = maDefault;
    if (OnMouseActivate) OnMouseActivate(this, button, shift, x, y, hitTest, result);
    return result;
}

bool TControl::ContextPopup(POINT screen) {
    bool handled = false;
    if (OnContextPopup) OnContextPopup(this, screen, handled);
    if (handled) return true;
    if (!FPopupMenu || !FPopupMenu->AutoPopup) return false;
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: at the control's top-left corner.
        screen = OriginInWindow();
        ClientToScreen(WindowHandle(), &screen);
    }
    FPopupMenu->PopupComponent = this;
    FPopupMenu->Popup(screen.x, screen.y, WindowHandle());
    return true;
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    FPopupMenu = menu;
}
