// TBusyMarquee: construction, properties, the animation clock, presets and painting.
#include "marquee/win32/BusyMarquee.h"

#include "framework/win32/Gdi.h"
#include "framework/win32/GdiPlus.h"
#include "marquee/core/MarqueeMotion.h"
#include "marquee/win32/GPDraw.h"

namespace gp = Gdiplus;

namespace {

constexpr unsigned kAnimationInterval = 10; // milliseconds
// How far a bullet's drawing may reach past its rectangle: the anti-aliased edge and the
// half of an outline that lies outside.
constexpr int kBulletInkMargin = 2;

// The upward triangle inscribed in a bullet's rectangle: apex at the middle of the top edge.
void AddTriangle(gp::GraphicsPath& path, const TGPRectF& r) {
    path.AddLine(r.X + r.Width / 2, r.Y, r.X + r.Width, r.Y + r.Height);
    path.AddLine(r.X + r.Width, r.Y + r.Height, r.X, r.Y + r.Height);
    path.CloseFigure();
}

// Whether a bullet at r can change any pixel of the area.
bool Touches(const TGPRectF& r, const RECT& area) {
    const std::optional<TPixelBox> box = BulletsBox({r}, kBulletInkMargin);
    if (!box) return true;
    const RECT ink{box->Left, box->Top, box->Right, box->Bottom};
    RECT common;
    return IntersectRect(&common, &ink, &area);
}

// Whether no pixel can be changed by two of the bullets. Then one path holding them all
// paints exactly what filling them one after the other paints: each pixel's coverage comes
// from one shape alone.
bool InkApart(const std::vector<TGPRectF>& rects) {
    std::vector<RECT> boxes;
    for (const TGPRectF& r : rects) {
        const std::optional<TPixelBox> box = BulletsBox({r}, kBulletInkMargin);
        if (!box) return false;
        const RECT ink{box->Left, box->Top, box->Right, box->Bottom};
        RECT common;
        for (const RECT& other : boxes)
            if (IntersectRect(&common, &ink, &other)) return false;
        boxes.push_back(ink);
    }
    return true;
}

} // namespace

void TBusyMarqueeBullets::Changed() {
    if (FOwner) FOwner->Invalidate();
}

void TBusyMarqueeBullets::Assign(const TObject* Source) {
    auto* s = dynamic_cast<const TBusyMarqueeBullets*>(Source);
    if (!s || s == this) return;
    FCount = s->FCount;
    FWidth = s->FWidth;
    FHeight = s->FHeight;
    FSpacing = s->FSpacing;
    FColor = s->FColor;
    FBorderColor = s->FBorderColor;
    FOpacity = s->FOpacity;
    FBorderOpacity = s->FBorderOpacity;
    FShape = s->FShape;
}

TBusyMarquee::TBusyMarquee(TComponent* AOwner) : TCustomControl(AOwner) {
    FFill = std::make_unique<TGPFill>();
    FFill->OnChange = [this](TObject*) { Invalidate(); };
    FBullets = std::make_unique<TBusyMarqueeBullets>(this);
    FControlStyle |= csOpaque;
    FWidth = 400;
    FHeight = 20;
    FAnimationTimer = new TTimer(this); // owned, and destroyed, as every owned component
    FAnimationTimer->SetEnabled(false);
    FAnimationTimer->SetInterval(kAnimationInterval);
    FAnimationTimer->OnTimer = [this](TObject*) { AnimationTick(); };
    SetTabStop(true);
    FPosition = 0;
    FAnimationTimer->SetEnabled(FAnimate);
    if (FDesignTime) ApplyDefaultStyle();
}

TBusyMarquee::~TBusyMarquee() {
    // No tick may come while the fill and the bullets go; the timer goes with the owned ones.
    FAnimationTimer->SetEnabled(false);
    FFill.reset();
    FBullets.reset();
}

void TBusyMarquee::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.WinClassName = L"LvBusyMarquee";
    // Redrawn whole on every size change: the geometry depends on width and height.
    params.ClassStyle = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
}

void TBusyMarquee::Assign(const TObject* Source) {
    auto* s = dynamic_cast<const TBusyMarquee*>(Source);
    if (!s || s == this) return;
    FBullets->Assign(s->FBullets.get());
    FFill->Assign(s->FFill.get());
    Invalidate();
}

void TBusyMarquee::SetAnimationStretchFactor(float v) {
    FAnimationStretchFactor = v;
    Invalidate();
}

void TBusyMarquee::SetTransparent(bool v) {
    FTransparent = v;
    Invalidate();
}

void TBusyMarquee::SetAnimate(bool v) {
    FAnimate = v;
    FAnimationTimer->SetEnabled(v);
    Invalidate();
    NotifyAccessible(EVENT_OBJECT_STATECHANGE); // busy or not
}

void TBusyMarquee::SetBullets(const TBusyMarqueeBullets& v) {
    FBullets->Assign(&v);
    Invalidate();
}

void TBusyMarquee::SetPosition(float v) {
    std::vector<TGPRectF> moved = BulletRects();
    const TBulletGeometry b = FBullets->Geometry();
    FPosition = WrapPosition(v, FWidth, RowWidth(b.Count, b.Width, b.Spacing));
    const std::vector<TGPRectF> now = BulletRects();
    moved.insert(moved.end(), now.begin(), now.end());
    InvalidateBullets(moved);
}

// Asks for a repaint of the pixels the bullets covered and cover now: elsewhere the window
// already shows the kept background, which the paint checks first. When those pixels lie
// outside the window no paint would come, so the background is checked here. A custom shape
// may draw anywhere, and the unbuffered paint draws over the window's old picture; both
// repaint the whole control.
void TBusyMarquee::InvalidateBullets(const std::vector<TGPRectF>& rects) {
    const std::optional<TPixelBox> box = BulletsBox(rects, kBulletInkMargin);
    if (!FDoubleBuffered || FBullets->Shape() == bsCustom || !box || !HandleAllocated()) {
        Invalidate();
        return;
    }
    HWND wnd = WindowHandle();
    RECT client, band{box->Left, box->Top, box->Right, box->Bottom}, shown;
    GetClientRect(wnd, &client);
    if (IntersectRect(&shown, &band, &client))
        InvalidateRect(wnd, &shown, FALSE);
    else if (!FBuffers.HoldsBackground(BackgroundKeyOf(*this, FTransparent, FFill->Version())))
        Invalidate();
}

void TBusyMarquee::AnimationTick() {
    if (FDesignTime) return;
    std::optional<float> next = TickPosition(FPosition, FAnimationStep, FAnimationFactor);
    if (!next) return;
    const TBulletGeometry b = FBullets->Geometry();
    SetPosition(WrapLeftward(FPosition, *next, FWidth, RowWidth(b.Count, b.Width, b.Spacing)));
}

std::vector<TGPRectF> TBusyMarquee::BulletRects() const {
    return PlaceBullets(FBullets->Geometry(), FAnimationStretchFactor, FPosition, FWidth, FHeight);
}

void TBusyMarquee::ApplyDefaultStyle() {
    FFill->SetColor(0xFFFFFF);
    FFill->SetGradientType(gtSolid);
    FFill->SetBorderColor(0x908070);
    FBullets->SetColor(0x908070);
}

void TBusyMarquee::SetColorTones(const TColorTones& ATones) {
    FFill->SetColor(ATones.Background.BrushColor);
    FFill->SetColorTo(ATones.Background.BrushColor);
    FFill->SetColorMirror(ATones.Background.BrushColor);
    FFill->SetColorMirrorTo(ATones.Background.BrushColor);
    FFill->SetBorderColor(ATones.Background.BorderColor);
    FBullets->SetBorderColor(ATones.Background.BorderColor);
    FBullets->SetColor(ATones.Selected.BrushColor);
}

void TBusyMarquee::SetComponentStyle(TStylePreset AStyle) {
    FStylePreset = AStyle;
    const TStylePresetColors p = StylePresetColors(AStyle);
    if (p.FillColor) FFill->SetColor(*p.FillColor);
    if (p.FillColorTo) FFill->SetColorTo(*p.FillColorTo);
    if (p.FillColorMirror) FFill->SetColorMirror(*p.FillColorMirror);
    if (p.FillColorMirrorTo) FFill->SetColorMirrorTo(*p.FillColorMirrorTo);
    if (p.FillBorderColor) FFill->SetBorderColor(*p.FillBorderColor);
    if (p.GradientType) FFill->SetGradientType(*p.GradientType);
    if (p.GradientMirrorType) FFill->SetGradientMirrorType(*p.GradientMirrorType);
    if (p.BulletBorderColor) FBullets->SetBorderColor(*p.BulletBorderColor);
    if (p.BulletColor) FBullets->SetColor(*p.BulletColor);
}

LRESULT TBusyMarquee::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_PAINT:
        WMPaint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        // Painting covers every pixel; the only erase is the one the buffered paint asks
        // for itself (both parameters the buffer's DC).
        if (FDoubleBuffered && wParam != WPARAM(lParam)) return 1;
        break;
    }
    return TCustomControl::WndProc(msg, wParam, lParam);
}

void TBusyMarquee::PaintParentBackground(HDC dc) {
    TWinControl* parent = Parent();
    if (!parent || !parent->HandleAllocated()) return;
    HWND parentWnd = parent->WindowHandle();
    ScopedSaveDC save(dc);
    POINT origin{0, 0};
    ClientToScreen(WindowHandle(), &origin);
    ScreenToClient(parentWnd, &origin);
    POINT org;
    GetWindowOrgEx(dc, &org);
    SetWindowOrgEx(dc, org.x + origin.x, org.y + origin.y, nullptr);
    // The parent erases, then paints itself with its windowless children into the given DC.
    // WM_PRINTCLIENT is the request every parent of this framework answers without
    // BeginPaint (a WM_PAINT would make some parents validate and paint their own window).
    SendMessageW(parentWnd, WM_ERASEBKGND, WPARAM(dc), 0);
    SendMessageW(parentWnd, WM_PRINTCLIENT, WPARAM(dc), PRF_CLIENT);
}

void TBusyMarquee::WMPaint(HDC dc) {
    HWND wnd = WindowHandle();
    if (dc) {
        PaintParentBackground(dc);
        TCanvas canvas(dc);
        Paint(canvas);
        return;
    }
    if (!FDoubleBuffered) {
        PaintDC paintDc(wnd);
        TCanvas canvas(paintDc.get());
        Paint(canvas);
        return;
    }
    PaintBuffered(wnd);
}

void TBusyMarquee::PaintBuffered(HWND wnd) {
    RECT client;
    GetClientRect(wnd, &client);
    TMarqueeBackgroundKey key = BackgroundKeyOf(*this, FTransparent, FFill->Version());
    if (!FBuffers.Fit(client.right, client.bottom, key)) {
        // A new background shows everywhere, not only where the bullets moved.
        InvalidateRect(wnd, nullptr, FALSE);
        PaintBackground(FBuffers.Background());
        FBuffers.BackgroundPainted(std::move(key));
    }
    PaintDC paintDc(wnd);
    const RECT& area = paintDc.PaintRect();
    HDC frame = FBuffers.StartFrame(area);
    {
        GdiPlusNeeded();
        gp::Graphics g(frame);
        g.SetSmoothingMode(gp::SmoothingModeAntiAlias);
        PaintBullets(g, &area);
    }
    FBuffers.Present(paintDc.get(), area);
}

// What stays from one frame to the next: the erase with the control's colour (the
// framework's erase, asked for with the buffer as both parameters), the parents' painting
// and the fill.
void TBusyMarquee::PaintBackground(HDC dc) {
    SendMessageW(WindowHandle(), WM_ERASEBKGND, WPARAM(dc), LPARAM(dc));
    PaintParentBackground(dc);
    GdiPlusNeeded();
    gp::Graphics g(dc);
    g.SetSmoothingMode(gp::SmoothingModeAntiAlias);
    PaintFill(g);
}

void TBusyMarquee::Paint(TCanvas& canvas) {
    GdiPlusNeeded();
    gp::Graphics g(canvas.Handle());
    g.SetSmoothingMode(gp::SmoothingModeAntiAlias);
    PaintFill(g);
    PaintBullets(g);
}

void TBusyMarquee::PaintFill(gp::Graphics& g) {
    if (!FTransparent)
        FFill->Fill(&g, {0, 0, float(FWidth - 1), float(FHeight - 1)}, 255, 255, 255, 255, 255);
}

void TBusyMarquee::PaintBullets(gp::Graphics& g, const RECT* area) {
    std::unique_ptr<gp::SolidBrush> brush;
    std::unique_ptr<gp::Pen> pen;
    if (FBullets->Color() != clNone)
        brush =
            std::make_unique<gp::SolidBrush>(MakeGPColor(FBullets->Color(), FBullets->Opacity()));
    if (FBullets->BorderColor() != clNone)
        pen = std::make_unique<gp::Pen>(
            MakeGPColor(FBullets->BorderColor(), FBullets->BorderOpacity()), 1.0f);
    if (!brush && !pen) return;

    const TBusyMarqueeBulletShape shape = FBullets->Shape();
    const std::vector<TGPRectF> rects = BulletRects();
    if (shape == bsCustom) {
        for (int i = 0; i < int(rects.size()); ++i)
            if (OnCustomBulletShape) OnCustomBulletShape(this, g, rects[i], i);
        return;
    }
    std::vector<TGPRectF> drawn;
    for (const TGPRectF& r : rects) {
        // The platform's drawing costs as much outside the area as in it.
        if (!area || Touches(r, *area)) drawn.push_back(r);
    }
    // Each call into GDI+ costs far more than the shape it fills: apart, the round and
    // triangular bullets are filled as one path (rectangles keep the platform's own fill).
    const bool together = brush && shape != bsRectangle && drawn.size() > 1 && InkApart(drawn);
    if (together) {
        gp::GraphicsPath path(gp::FillModeAlternate);
        for (const TGPRectF& r : drawn) {
            if (shape == bsEllipse)
                path.AddEllipse(ToGPRect(r));
            else
                AddTriangle(path, r);
        }
        g.FillPath(brush.get(), &path);
    }
    for (const TGPRectF& r : drawn) {
        const gp::RectF rf = ToGPRect(r);
        if (brush && !together) {
            if (shape == bsEllipse) {
                g.FillEllipse(brush.get(), rf);
            } else if (shape == bsRectangle) {
                g.FillRectangle(brush.get(), rf);
            } else {
                gp::GraphicsPath path(gp::FillModeAlternate);
                AddTriangle(path, r);
                g.FillPath(brush.get(), &path);
            }
        }
        if (pen) {
            if (shape == bsEllipse) {
                g.DrawEllipse(pen.get(), rf);
            } else if (shape == bsRectangle) {
                g.DrawRectangle(pen.get(), rf);
            } else {
                gp::GraphicsPath path(gp::FillModeAlternate);
                AddTriangle(path, r);
                g.DrawPath(pen.get(), &path);
            }
        }
    }
}
