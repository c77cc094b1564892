// TCustomFlatPanel: properties, the after-loading steps and the style manager, off-screen
// painting, the paint routine, the child area, theme and transparency handling, and sizing
// and moving with the mouse. The background kinds are in FlatPanelBackground.cpp.
#include "flatctl/win32/FlatPanel.h"

#include <vssym32.h>

#include <algorithm>

#include "flatctl/win32/ImageForm.h"
#include "framework/win32/Colors.h"
#include "framework/win32/Gdi.h"
#include "framework/win32/Themes.h"
#include "framework/win32/WinText.h"

namespace {

// Posted to itself when the platform's theme changed.
constexpr UINT kThemeChangedLater = WM_APP + 0x3F10;

// Width of the edge zone in which a resizable panel can be sized with the mouse.
constexpr int kSizingZone = 4;

// Opens the platform's theme data for a window and closes it on scope exit.
class ThemeData {
  public:
    ThemeData(HWND wnd, const wchar_t* classes) : h_(OpenThemeData(wnd, classes)) {}
    ThemeData(const ThemeData&) = delete;
    ThemeData& operator=(const ThemeData&) = delete;
    ~ThemeData() {
        if (h_) CloseThemeData(h_);
    }
    HTHEME get() const { return h_; }

  private:
    HTHEME h_;
};

void FillSpan(HDC dc, int left, int top, int right, int bottom, COLORREF rgb) {
    if (right <= left || bottom <= top) return;
    FillSolidRect(dc, RECT{left, top, right, bottom}, rgb);
}

// One 1-pixel rectangle of a 3-D frame: the left column and top row in the top colour,
// then the right column and bottom row in the bottom colour, which thus owns the
// top-right and bottom-left corners.
void Frame3DRing(HDC dc, const RECT& r, COLORREF top, COLORREF bottom) {
    FillSpan(dc, r.left, r.top, r.left + 1, r.bottom, top);
    FillSpan(dc, r.left, r.top, r.right, r.top + 1, top);
    FillSpan(dc, r.right - 1, r.top, r.right, r.bottom, bottom);
    FillSpan(dc, r.left, r.bottom - 1, r.right, r.bottom, bottom);
}

UINT AlignmentFlag(TAlignment a) {
    switch (a) {
    case taLeftJustify:
        return DT_LEFT;
    case taRightJustify:
        return DT_RIGHT;
    case taCenter:
        return DT_CENTER;
    }
    return DT_LEFT;
}

} // namespace

// ---- grab handles ----

void TFlatPanelGrabHandle::SetEnabled(bool v) {
    if (v == FEnabled) return;
    FEnabled = v;
    Changed();
}

void TFlatPanelGrabHandle::SetVisible(bool v) {
    if (v == FVisible) return;
    FVisible = v;
    Changed();
}

void TFlatPanelGrabHandle::SetSize(int v) {
    v = std::max(v, 0);
    if (v == FSize) return;
    FSize = v;
    Changed();
}

void TFlatPanelGrabHandle::SetBevelKind(TBevelStyle v) {
    if (v == FBevelKind) return;
    FBevelKind = v;
    Changed();
}

void TFlatPanelGrabHandle::Changed() {
    FPanel.GrabHandleChanged();
}

// ---- construction ----

TCustomFlatPanel::TCustomFlatPanel(TComponent* owner) : TCustomControl(owner) {
    FControlStyle |= csOpaque;
    FColor = clBtnFace;
    FParentColor = false;
    FBackground.OnChange = [this](TObject*) { Invalidate(); };
    // Linked now, styled once the layout has set the properties (Loaded).
    FStyleLink.SetManager(TStyleManager::ApplicationDefault());
}

TCustomFlatPanel::~TCustomFlatPanel() {
    // Children go while this object is still a panel (they may ask it to repaint).
    DestroyComponents();
    if (FImageForm) FImageForm->Unlink(this);
}

bool TCustomFlatPanel::DialogChar(char16_t ch) {
    if (IsAccel(ch, Caption()) && CanFocus()) {
        SetFocus();
        return true;
    }
    return TCustomControl::DialogChar(ch);
}

void TCustomFlatPanel::Loaded() {
    ApplyStyle();
    if (FOwnerDraw) Invalidate();
    if (FTransparent) NotifyChildrenRepaint();
}

void TCustomFlatPanel::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.WinClassName = L"LvFlatPanel";
    if (FTransparent && !Themed()) params.ExStyle |= WS_EX_TRANSPARENT;
}

bool TCustomFlatPanel::Themed() const {
    return IsThemed(FTheme);
}

// ---- property setters ----

void TCustomFlatPanel::SetBackgroundType(TBackgroundType v) {
    if (v == FBackgroundType) return;
    FBackgroundType = v;
    Invalidate();
}

void TCustomFlatPanel::SetAlphaLevel(std::uint8_t v) {
    if (v == FAlphaLevel) return;
    FAlphaLevel = v;
    Invalidate();
}

void TCustomFlatPanel::SetImageForm(TImageForm* v) {
    if (v == FImageForm) return;
    if (FImageForm) FImageForm->Unlink(this);
    FImageForm = v;
    if (FImageForm) FImageForm->Link(this);
    Invalidate();
}

void TCustomFlatPanel::SetStyleManager(TStyleManager* v) {
    FStyleLink.SetManager(v);
    ApplyStyle();
}

void TCustomFlatPanel::ApplyStyle() {
    FStyleLink.Apply();
}

// The panel has no preset colours of its own: it records the style, and repaints for an
// OnPaint handler that draws by it.
void TCustomFlatPanel::SetComponentStyle(TStylePreset AStyle) {
    if (AStyle == FStyle) return;
    FStyle = AStyle;
    Invalidate();
}

void TCustomFlatPanel::SetGradientStartColor(TColor v) {
    if (v == FGradientStartColor) return;
    FGradientStartColor = v;
    Invalidate();
}

void TCustomFlatPanel::SetGradientEndColor(TColor v) {
    if (v == FGradientEndColor) return;
    FGradientEndColor = v;
    Invalidate();
}

void TCustomFlatPanel::SetGradientSteps(int v) {
    v = std::max(v, 1);
    if (v == FGradientSteps) return;
    FGradientSteps = v;
    Invalidate();
}

void TCustomFlatPanel::SetBevelOuter(TBevelStyle v) {
    if (v == FBevelOuter) return;
    FBevelOuter = v;
    ChildAreaChanged();
}

void TCustomFlatPanel::SetBevelInner(TBevelStyle v) {
    if (v == FBevelInner) return;
    FBevelInner = v;
    ChildAreaChanged();
}

void TCustomFlatPanel::SetBevelWidth(int v) {
    v = std::max(v, 0);
    if (v == FBevelWidth) return;
    FBevelWidth = v;
    ChildAreaChanged();
}

void TCustomFlatPanel::SetBevelSpaceColor(TColor v) {
    if (v == FBevelSpaceColor) return;
    FBevelSpaceColor = v;
    Invalidate();
}

void TCustomFlatPanel::SetBorderStyle(TBorderStyle v) {
    if (v == FBorderStyle) return;
    FBorderStyle = v;
    RecreateWnd();
    Invalidate();
}

void TCustomFlatPanel::SetBorderType(TFlatBorderType v) {
    if (v == FBorderType) return;
    FBorderType = v;
    Invalidate();
}

void TCustomFlatPanel::SetBorderSides(TBorderSides v) {
    v &= AllBorderSides;
    if (v == FBorderSides) return;
    FBorderSides = v;
    RecreateWnd();
    Invalidate();
}

void TCustomFlatPanel::SetBorderColor(TColor& field, TColor v) {
    if (v == field) return;
    field = v;
    Invalidate();
}

void TCustomFlatPanel::SetCaption(const std::u16string& v) {
    if (v == Text()) return;
    SetText(v);
    Invalidate();
}

void TCustomFlatPanel::SetAlignment(TAlignment v) {
    if (v == FAlignment) return;
    FAlignment = v;
    Invalidate();
}

void TCustomFlatPanel::SetLayout(TTextLayout v) {
    if (v == FLayout) return;
    FLayout = v;
    Invalidate();
}

void TCustomFlatPanel::SetWordWrap(bool v) {
    if (v == FWordWrap) return;
    FWordWrap = v;
    Invalidate();
}

void TCustomFlatPanel::SetShowFocus(bool v) {
    if (v == FShowFocus) return;
    FShowFocus = v;
    Invalidate();
}

void TCustomFlatPanel::SetOwnerDraw(bool v) {
    if (v == FOwnerDraw) return;
    FOwnerDraw = v;
    Invalidate();
}

void TCustomFlatPanel::SetAlwaysPaintBackground(bool v) {
    if (v == FAlwaysPaintBackground) return;
    FAlwaysPaintBackground = v;
    Invalidate();
}

void TCustomFlatPanel::SetTransparent(bool v) {
    if (v == FTransparent) return;
    FTransparent = v;
    if (v)
        FControlStyle &= ~csOpaque;
    else
        FControlStyle |= csOpaque;
    RecreateWnd();
    Invalidate();
}

void TCustomFlatPanel::SetTransparentXPThemes(bool v) {
    if (v == FTransparentXPThemes) return;
    FTransparentXPThemes = v;
    Invalidate();
}

void TCustomFlatPanel::SetThemeMode(TThemeMode v) {
    if (v == FTheme.ThemeMode) return;
    FTheme.ThemeMode = v;
    ThemeChanged();
}

void TCustomFlatPanel::SetThemeGlobalMode(bool v) {
    if (v == FTheme.ThemeGlobalMode) return;
    FTheme.ThemeGlobalMode = v;
    ThemeChanged();
}

void TCustomFlatPanel::SetUseXPThemes(bool v) {
    if (v == FTheme.UseXPThemes()) return;
    FTheme.SetUseXPThemes(v);
    ThemeChanged();
}

void TCustomFlatPanel::ThemeChanged() {
    // A themed window is made again (its creation style depends on the theme) and redrawn
    // with its frame; otherwise a repaint shows the change.
    if (Themed() && HandleAllocated() && Showing()) {
        RecreateWnd();
        if (HandleAllocated())
            RedrawWindow(WindowHandle(), nullptr, nullptr,
                         RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    } else {
        Invalidate();
    }
}

void TCustomFlatPanel::SetResizable(bool v) {
    if (v == FResizable) return;
    FResizable = v;
    Invalidate();
}

void TCustomFlatPanel::SetSizeGrip(bool v) {
    if (v == FSizeGrip) return;
    FSizeGrip = v;
    Invalidate();
}

void TCustomFlatPanel::GrabHandleChanged() {
    ChildAreaChanged();
}

void TCustomFlatPanel::ChildAreaChanged() {
    AlignControls();
    Invalidate();
}

// ---- child area, enabling, position ----

void TCustomFlatPanel::AdjustClientRect(RECT& r) const {
    TCustomControl::AdjustClientRect(r); // BorderWidth
    int bevel = 0;
    if (FBevelOuter != bvNone) bevel += FBevelWidth;
    if (FBevelInner != bvNone) bevel += FBevelWidth;
    InflateRect(&r, -bevel, -bevel);
    for (const TFlatPanelGrabHandle* h :
         {&FLeftGrabHandle, &FTopGrabHandle, &FRightGrabHandle, &FBottomGrabHandle}) {
        if (!h->Visible() || !h->Enabled()) continue;
        switch (h->Kind()) {
        case ghkLeft:
            r.left += h->Size();
            break;
        case ghkTop:
            r.top += h->Size();
            break;
        case ghkRight:
            r.right -= h->Size();
            break;
        case ghkBottom:
            r.bottom -= h->Size();
            break;
        }
    }
}

void TCustomFlatPanel::EnabledChanged() {
    TCustomControl::EnabledChanged();
    // Every direct child follows the panel, also one that was disabled on its own before.
    for (TControl* c : Controls())
        c->SetEnabled(FEnabled);
}

void TCustomFlatPanel::BoundsChanged() {
    TCustomControl::BoundsChanged();
    if (FTransparent || FTransparentXPThemes) {
        Invalidate();
        NotifyChildrenRepaint();
    } else if (FImageForm) {
        Invalidate(); // another part of the shared image lies under it now
    }
}

void TCustomFlatPanel::NotifyChildrenRepaint() {
    for (TControl* c : Controls())
        c->Invalidate();
}

void TCustomFlatPanel::DoPaint() {
    if (OnPaint) OnPaint(this);
}

void TCustomFlatPanel::DoMove() {
    if (OnMove) OnMove(this);
}

// ---- messages ----

LRESULT TCustomFlatPanel::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        PaintOffscreen();
        return 0;
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (!FDoubleBuffered || dc == FMemoryDC) EraseBackground(dc);
        return 1;
    }
    case WM_THEMECHANGED:
        // The window is not re-created inside one of its own messages.
        PostMessageW(WindowHandle(), kThemeChangedLater, 0, 0);
        break;
    case kThemeChangedLater:
        ThemeChanged();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (FShowFocus) Invalidate();
        break;
    case WM_PRINTCLIENT:
        PrintClient(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_NCHITTEST:
        return HitTest(lParam);
    case WM_WINDOWPOSCHANGED:
        SyncBoundsFromWindow();
        break;
    }
    return TCustomControl::WndProc(msg, wParam, lParam);
}

// Sizing zones for a resizable panel (the grip, then the edges) and the whole client area
// as a caption for a movable one; the platform then sizes or moves the window.
LRESULT TCustomFlatPanel::HitTest(LPARAM lParam) {
    LRESULT hit = DefaultHandler(WM_NCHITTEST, 0, lParam);
    if (hit != HTCLIENT || !(FResizable || FMovable)) return hit;
    POINT p{short(LOWORD(lParam)), short(HIWORD(lParam))};
    ScreenToClient(WindowHandle(), &p);
    if (FResizable) {
        if (FSizeGrip && PtInRect(&FSizeGripRect, p)) return HTBOTTOMRIGHT;
        RECT c = ClientRect();
        const bool left = p.x < c.left + kSizingZone, right = p.x >= c.right - kSizingZone;
        const bool top = p.y < c.top + kSizingZone, bottom = p.y >= c.bottom - kSizingZone;
        if (top && left) return HTTOPLEFT;
        if (top && right) return HTTOPRIGHT;
        if (bottom && left) return HTBOTTOMLEFT;
        if (bottom && right) return HTBOTTOMRIGHT;
        if (left) return HTLEFT;
        if (right) return HTRIGHT;
        if (top) return HTTOP;
        if (bottom) return HTBOTTOM;
    }
    if (FMovable && !ControlAtPos(p)) return HTCAPTION;
    return hit;
}

// Takes over bounds the platform gave the window (sizing or moving with the mouse), so the
// framework's geometry and anchors follow it.
void TCustomFlatPanel::SyncBoundsFromWindow() {
    HWND wnd = WindowHandle();
    if (!wnd) return;
    RECT w;
    GetWindowRect(wnd, &w);
    MapWindowPoints(HWND_DESKTOP, GetParent(wnd), reinterpret_cast<POINT*>(&w), 2);
    const bool moved = w.left != FLeft || w.top != FTop;
    const bool sized = w.right - w.left != FWidth || w.bottom - w.top != FHeight;
    if (!moved && !sized) return;
    FLeft = w.left;
    FTop = w.top;
    FWidth = w.right - w.left;
    FHeight = w.bottom - w.top;
    RememberAnchorDistances();
    BoundsChanged();
    if (moved) DoMove();
}

// ---- painting ----

void TCustomFlatPanel::PaintOffscreen() {
    HWND wnd = WindowHandle();
    PaintDC paint(wnd);
    RECT client;
    GetClientRect(wnd, &client);
    RECT clip;
    if (GetClipBox(paint.get(), &clip) == NULLREGION) return;

    OffscreenBuffer buffer(paint.get(), client.right, client.bottom);
    RegionHandle region(CreateRectRgnIndirect(&clip));
    SelectClipRgn(buffer.get(), region.get());

    FMemoryDC = buffer.get();
    struct Reset {
        HDC& dc;
        ~Reset() { dc = nullptr; }
    } reset{FMemoryDC};
    SendMessageW(wnd, WM_ERASEBKGND, WPARAM(buffer.get()), LPARAM(buffer.get()));
    {
        TCanvas canvas(buffer.get());
        PaintPanel(canvas, clip);
    }
    PaintControls(buffer.get());
    buffer.Present(clip);
}

// Paints the whole panel with its windowless children into a context of the caller's (a
// transparent child asking for what lies beneath it).
void TCustomFlatPanel::PrintClient(HDC dc) {
    RECT client;
    GetClientRect(WindowHandle(), &client);
    ScopedSaveDC save(dc);
    IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
    EraseBackground(dc);
    {
        TCanvas canvas(dc);
        PaintPanel(canvas, client);
    }
    PaintControls(dc);
}

void TCustomFlatPanel::PaintPanel(TCanvas& canvas, RECT clip) {
    HDC dc = canvas.Handle();
    RECT client;
    GetClientRect(WindowHandle(), &client);
    if (IsRectEmpty(&clip)) clip = client;

    // 1. Background.
    if (Themed()) {
        if (FTransparentXPThemes)
            DrawThemeParentBackground(WindowHandle(), dc, &clip);
        else
            canvas.FillRect(clip, FColor);
    } else if (!FOwnerDraw || FAlwaysPaintBackground) {
        if (!FTransparent)
            PaintBackground(dc, clip);
        else if (FAlphaLevel > 0)
            BlendBackground(dc, clip);
    }

    // 2.-3. The working rectangle is the client area; the flat frame does not narrow it.
    RECT r = client;
    if (FBorderStyle == bsSingle)
        DrawFlatFrame(dc, client, FBorderColors.Face, FColor, Focused(), FEnabled, FBorderSides,
                      FBorderType, FBorderColors);

    // 4.-5. Bevels.
    if (FBevelOuter != bvNone) PaintBevel(dc, r, FBevelOuter);
    if (FBevelInner != bvNone) PaintBevel(dc, r, FBevelInner);

    // 6. Grab handles.
    PaintGrabHandles(dc, r);

    // 7. Content.
    if (!FOwnerDraw) {
        PaintCaption(canvas, r);
    } else {
        FCanvas = &canvas;
        struct Reset {
            TCanvas*& c;
            ~Reset() { c = nullptr; }
        } reset{FCanvas};
        DoPaint();
    }

    // 8. Size grip, in the bottom-right corner of the working rectangle.
    FSizeGripRect = RECT{};
    if (FSizeGrip && FResizable) {
        FSizeGripRect = RECT{r.right - GetSystemMetrics(SM_CXVSCROLL),
                             r.bottom - GetSystemMetrics(SM_CYHSCROLL), r.right, r.bottom};
        DrawFrameControl(dc, &FSizeGripRect, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    }
}

void TCustomFlatPanel::PaintBevel(HDC dc, RECT& r, TBevelStyle style) {
    if (Themed()) {
        // The platform's raised or sunken edge; it decides how much it takes off.
        if (style != bvLowered && style != bvRaised) return;
        ThemeData theme(WindowHandle(), L"BUTTON");
        if (theme.get()) {
            RECT content = r;
            DrawThemeEdge(theme.get(), dc, BP_PUSHBUTTON, PBS_NORMAL, &r,
                          style == bvLowered ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST,
                          &content);
            r = content;
            return;
        }
    }
    COLORREF top, bottom;
    switch (style) {
    case bvLowered:
        top = ColorToRGB(clBtnShadow);
        bottom = ColorToRGB(clBtnHighlight);
        break;
    case bvSpace:
        top = bottom = ColorToRGB(FBevelSpaceColor);
        break;
    default:
        top = ColorToRGB(clBtnHighlight);
        bottom = ColorToRGB(clBtnShadow);
        break;
    }
    for (int i = 0; i < FBevelWidth; ++i) {
        Frame3DRing(dc, r, top, bottom);
        InflateRect(&r, -1, -1);
    }
}

// Visible, enabled grab handles with a bevel kind take their size off their edge and show
// a strip with a two-line groove along its middle.
void TCustomFlatPanel::PaintGrabHandles(HDC dc, RECT& r) {
    for (const TFlatPanelGrabHandle* h :
         {&FLeftGrabHandle, &FTopGrabHandle, &FRightGrabHandle, &FBottomGrabHandle}) {
        if (!h->Visible() || !h->Enabled() || h->BevelKind() == bvNone || h->Size() <= 0) continue;
        RECT strip = r;
        switch (h->Kind()) {
        case ghkLeft:
            strip.right = r.left = std::min(r.left + h->Size(), r.right);
            break;
        case ghkTop:
            strip.bottom = r.top = std::min(r.top + h->Size(), r.bottom);
            break;
        case ghkRight:
            strip.left = r.right = std::max(r.right - h->Size(), r.left);
            break;
        case ghkBottom:
            strip.top = r.bottom = std::max(r.bottom - h->Size(), r.top);
            break;
        }
        const bool lowered = h->BevelKind() == bvLowered;
        const COLORREF first = ColorToRGB(lowered ? clBtnShadow : clBtnHighlight);
        const COLORREF second = ColorToRGB(lowered ? clBtnHighlight : clBtnShadow);
        const bool vertical = h->Kind() == ghkLeft || h->Kind() == ghkRight;
        if (vertical) {
            const int x = (strip.left + strip.right) / 2 - 1;
            FillSpan(dc, x, strip.top + 2, x + 1, strip.bottom - 2, first);
            FillSpan(dc, x + 1, strip.top + 2, x + 2, strip.bottom - 2, second);
        } else {
            const int y = (strip.top + strip.bottom) / 2 - 1;
            FillSpan(dc, strip.left + 2, y, strip.right - 2, y + 1, first);
            FillSpan(dc, strip.left + 2, y + 1, strip.right - 2, y + 2, second);
        }
    }
}

void TCustomFlatPanel::PaintCaption(TCanvas& canvas, const RECT& r) {
    const std::u16string caption = Caption();
    HDC dc = canvas.Handle();
    canvas.SelectFont(Font());
    SetBkMode(dc, TRANSPARENT);
    const UINT align = AlignmentFlag(FAlignment);
    RECT text = r;
    if (FLayout != tlTop) {
        RECT calc = r;
        DrawTextW(dc, AsWide(caption), int(caption.size()), &calc,
                  DT_CALCRECT | DT_EXPANDTABS | align);
        // Wrapped lines are measured in the rectangle they are drawn in.
        if (FWordWrap && calc.right - calc.left > r.right - r.left) {
            calc = r;
            DrawTextW(dc, AsWide(caption), int(caption.size()), &calc,
                      DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK | align);
        }
        const int free = (r.bottom - r.top) - (calc.bottom - calc.top);
        OffsetRect(&text, 0, FLayout == tlBottom ? free : free / 2);
    }
    DrawTextW(dc, AsWide(caption), int(caption.size()), &text,
              align | DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0));
    if (FShowFocus && Focused()) DrawFocusRect(dc, &text);
}
