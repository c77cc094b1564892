// TGPFill: settings, change notification and the GDI+ painting of a fill. Every brush, pen,
// path and region lives for one call only.
#include "marquee/win32/GPFill.h"

#include <cmath>
#include <memory>

#include "marquee/core/FillGeometry.h"
#include "marquee/win32/GPDraw.h"

namespace gp = Gdiplus;

namespace {

// The closed outline of r, clockwise from the top-left corner, with the corners that `type`
// names rounded by `radius` (no rounding at all when the radius is not positive).
void AddRoundedOutline(gp::GraphicsPath& path, const TGPRectF& r, int radius,
                       TFillRoundingType type) {
    const TRoundedCorners c = radius > 0 ? CornersOf(type) : TRoundedCorners{};
    const float d = 2.0f * radius;
    const float x = r.X, y = r.Y, right = r.X + r.Width, bottom = r.Y + r.Height;
    auto corner = [&](bool rounded, float ax, float ay, float start, float px, float py) {
        if (rounded)
            path.AddArc(ax, ay, d, d, start, 90);
        else
            path.AddLine(px, py, px, py);
    };
    corner(c.TopLeft, x, y, 180, x, y);
    corner(c.TopRight, right - d, y, 270, right, y);
    corner(c.BottomRight, right - d, bottom - d, 0, right, bottom);
    corner(c.BottomLeft, x, bottom - d, 90, x, bottom);
    path.CloseFigure();
}

gp::RectF Enlarged(const TGPRectF& r) {
    return gp::RectF(r.X - 1, r.Y - 1, r.Width + 2, r.Height + 2);
}

TPicturePlace WholePixels(const TGPRectF& r) {
    return {int(std::lround(r.X)), int(std::lround(r.Y)), int(std::lround(r.Width)),
            int(std::lround(r.Height))};
}

// Fills `area` with the image resized to w x h and repeated from the area's top-left corner.
void FillTiled(gp::Graphics& g, gp::Image& image, const gp::RectF& area, int w, int h,
               gp::GraphicsPath* shape = nullptr) {
    if (w <= 0 || h <= 0) return;
    gp::Bitmap tile(w, h, PixelFormat32bppARGB);
    {
        gp::Graphics tg(&tile);
        tg.DrawImage(&image, 0, 0, w, h);
    }
    gp::TextureBrush brush(&tile, gp::WrapModeTile);
    brush.TranslateTransform(area.X, area.Y);
    if (shape)
        g.FillPath(&brush, shape);
    else
        g.FillRectangle(&brush, area);
}

// Draws a picture at one of the placements.
void DrawPlaced(gp::Graphics& g, gp::Image& image, TFillPicturePosition pos,
                const TPicturePlace& area, int left, int top, int w, int h, bool keepAspect) {
    if (pos == ppTiled) {
        FillTiled(g, image, gp::RectF(area.X + left, area.Y + top, area.Width, area.Height), w, h);
        return;
    }
    TPicturePlace p = PlacePicture(pos, area, left, top, w, h);
    if (pos == ppStretched && keepAspect) p = FitPicture(p, w, h);
    g.DrawImage(&image, p.X, p.Y, p.Width, p.Height);
}

// The radial fill: the outline filled with one colour, then an elliptical path gradient
// clipped to the outline. Upward: the end colour shines from the middle of the top edge;
// downward: the start colour shines from the middle of the bottom edge.
void DrawRadial(gp::Graphics& g, const TGPRectF& q, gp::Color start, gp::Color end, bool upward,
                int radius, TFillRoundingType type) {
    gp::GraphicsPath outline(gp::FillModeAlternate);
    AddRoundedOutline(outline, q, radius, type);
    gp::SolidBrush base(upward ? start : end);
    g.FillPath(&base, &outline);

    ScopedGraphicsState state(g);
    gp::Region clip(&outline);
    g.SetClip(&clip, gp::CombineModeIntersect);
    gp::GraphicsPath ellipse;
    if (upward)
        ellipse.AddEllipse(q.X, q.Y - q.Height / 2, q.Width, 1.5f * q.Height);
    else
        ellipse.AddEllipse(q.X, q.Y, q.Width, 1.5f * q.Height);
    gp::PathGradientBrush brush(&ellipse);
    brush.SetCenterPoint(gp::PointF(q.X + q.Width / 2, upward ? q.Y : q.Y + q.Height));
    brush.SetCenterColor(upward ? end : start);
    gp::Color surround = upward ? start : end;
    INT count = 1;
    brush.SetSurroundColors(&surround, &count);
    g.FillRectangle(&brush, ToGPRect(q));
}

// A band of shine: a rectangle with a triangle at each end, filled with a vertical gradient.
void DrawShine(gp::Graphics& g, const TGPRectF& band, float inset, bool top, gp::Color from,
               gp::Color to) {
    const float x = band.X, y = band.Y, w = band.Width, h = band.Height;
    // The edge the triangles lean on: the band's top for the top shine, its bottom otherwise.
    const float edge = top ? y : y + h;
    const float inner = top ? y + h : y;
    gp::GraphicsPath path;
    path.AddRectangle(gp::RectF(x + inset, y, w - 2 * inset, h));
    const gp::PointF leftTriangle[] = {{x, edge}, {x + inset, edge}, {x + inset, inner}};
    const gp::PointF rightTriangle[] = {
        {x + w, edge}, {x + w - inset, edge}, {x + w - inset, inner}};
    path.AddPolygon(leftTriangle, 3);
    path.AddPolygon(rightTriangle, 3);
    gp::LinearGradientBrush brush(Enlarged(band), from, to, gp::LinearGradientModeVertical);
    g.FillPath(&brush, &path);
}

} // namespace

TGPFill::TGPFill() {
    FPicture.OnChange = [this](TObject*) { Changed(); };
    FBackGroundPicture.OnChange = [this](TObject*) { Changed(); };
}

void TGPFill::Changed() {
    ++FVersion;
    if (FUpdateCount > 0 || !OnChange) return;
    OnChange(this);
}

void TGPFill::Assign(const TObject* Source) {
    auto* s = dynamic_cast<const TGPFill*>(Source);
    if (!s || s == this) return;
    // Copy quietly, then notify once.
    ++FUpdateCount;
    FColor = s->FColor;
    FColorTo = s->FColorTo;
    FColorMirror = s->FColorMirror;
    FColorMirrorTo = s->FColorMirrorTo;
    FGradientType = s->FGradientType;
    FGradientMirrorType = s->FGradientMirrorType;
    FHatchStyle = s->FHatchStyle;
    FHatchStyleMirror = s->FHatchStyleMirror;
    FBackGroundPictureAspectRatio = s->FBackGroundPictureAspectRatio;
    FBackGroundPictureMode = s->FBackGroundPictureMode;
    FBackGroundPicture.Assign(s->FBackGroundPicture);
    FBackGroundPicturePosition = s->FBackGroundPicturePosition;
    FBackGroundPictureLeft = s->FBackGroundPictureLeft;
    FBackGroundPictureTop = s->FBackGroundPictureTop;
    FBackGroundPictureAspectMode = s->FBackGroundPictureAspectMode;
    FPicture.Assign(s->FPicture);
    FPicturePosition = s->FPicturePosition;
    FPictureLeft = s->FPictureLeft;
    FPictureTop = s->FPictureTop;
    FpictureSize = s->FpictureSize;
    FpictureWidth = s->FpictureWidth;
    FpictureHeight = s->FpictureHeight;
    FPictureAspectRatio = s->FPictureAspectRatio;
    FPictureAspectMode = s->FPictureAspectMode;
    FOpacity = s->FOpacity;
    FOpacityTo = s->FOpacityTo;
    FOpacityMirror = s->FOpacityMirror;
    FOpacityMirrorTo = s->FOpacityMirrorTo;
    FBorderColor = s->FBorderColor;
    FBorderOpacity = s->FBorderOpacity;
    FBorderWidth = s->FBorderWidth;
    FRounding = s->FRounding;
    FRoundingType = s->FRoundingType;
    FShadowColor = s->FShadowColor;
    FShadowOffset = s->FShadowOffset;
    FShadowType = s->FShadowType;
    FAngle = s->FAngle;
    FGlow = s->FGlow;
    FGlowGradientColor = s->FGlowGradientColor;
    FGlowRadialColor = s->FGlowRadialColor;
    --FUpdateCount;
    Changed();
}

TGPRectF TGPFill::Fill(gp::Graphics* Graphics, TGPRectF R, std::uint8_t ABorderOpacity,
                       std::uint8_t AOpacity, std::uint8_t AOpacityTo, std::uint8_t AOpacityMirror,
                       std::uint8_t AOpacityMirrorTo) {
    const std::uint8_t O = ResolveOpacity(AOpacity, FOpacity);
    const std::uint8_t OT = ResolveOpacity(AOpacityTo, FOpacityTo);
    const std::uint8_t OM = ResolveOpacity(AOpacityMirror, FOpacityMirror);
    const std::uint8_t OMT = ResolveOpacity(AOpacityMirrorTo, FOpacityMirrorTo);
    const std::uint8_t OB = ResolveOpacity(ABorderOpacity, FBorderOpacity);
    if (!Graphics) return R;
    gp::Graphics& g = *Graphics;
    const bool hasBorder = FBorderWidth > 0 && FBorderColor != clNone;

    if (R.Width == 1 || R.Height == 1) {
        // Too thin for an area: a single line in the border colour.
        if (hasBorder) {
            gp::Pen pen(MakeGPColor(FBorderColor, OB), float(FBorderWidth));
            g.DrawLine(&pen, R.X, R.Y, R.X + R.Width, R.Y + R.Height);
        }
    } else {
        if (FShadowOffset > 0 && FShadowColor != clNone) {
            DrawShadow(g, R);
            R = ShadowRemainder(R, FShadowType, FShadowOffset);
        }
        DrawBackground(g, R, O, OT, OM, OMT);
        if (FBackGroundPictureMode == pmInsideFill) DrawBackGroundPicture(g, R, true);
        if (hasBorder) {
            gp::GraphicsPath outline(gp::FillModeAlternate);
            AddRoundedOutline(outline, R, FRounding, FRoundingType);
            gp::Pen pen(MakeGPColor(FBorderColor, OB), float(FBorderWidth));
            pen.SetDashStyle(gp::DashStyleSolid);
            g.DrawPath(&pen, &outline);
        }
    }

    DrawGlow(g, R);

    const float b = float(FBorderWidth);
    FFocusRect = {R.X + b, R.Y + b, R.Width - 2 * b, R.Height - 2 * b};
    if (FFocus) {
        gp::GraphicsPath outline(gp::FillModeAlternate);
        AddRoundedOutline(outline, FFocusRect, FRounding - FBorderWidth, FRoundingType);
        gp::Pen pen(MakeGPColor(FFocusColor, O), 1.0f);
        pen.SetDashStyle(gp::DashStyleDot);
        ScopedSmoothing smoothing(g, gp::SmoothingModeDefault);
        g.DrawPath(&pen, &outline);
    }

    if (FBackGroundPictureMode == pmOutsideFill) DrawBackGroundPicture(g, R, false);
    DrawForegroundPicture(g, R);
    return R;
}

void TGPFill::DrawShadow(gp::Graphics& g, const TGPRectF& r) {
    const int s = FShadowOffset;
    if (FShadowType == stBottom) {
        const TGPRectF band{r.X, r.Y + r.Height - 2.0f * s, r.Width, 2.0f * s};
        DrawRadial(g, band, MakeGPColor(FShadowColor, 0), MakeGPColor(FShadowColor, 255), true,
                   FRounding, rtBottom);
        return;
    }
    gp::GraphicsPath outline(gp::FillModeAlternate);
    if (FShadowType == stSurround)
        AddRoundedOutline(outline, r, s, rtBoth);
    else
        AddRoundedOutline(outline, r, FRounding, FRoundingType);
    gp::PathGradientBrush brush(&outline);
    brush.SetWrapMode(gp::WrapModeClamp);
    const gp::Color shadow = MakeGPColor(FShadowColor, 180);
    const gp::Color colors[] = {gp::Color(0, 0, 0, 0), shadow, shadow};
    float positions[] = {0.0f, 0.1f, 1.0f};
    brush.SetInterpolationColors(colors, positions, 3);
    g.FillPath(&brush, &outline);
}

void TGPFill::DrawBackground(gp::Graphics& g, const TGPRectF& r, std::uint8_t o, std::uint8_t ot,
                             std::uint8_t om, std::uint8_t omt) {
    auto radialUpper = [&](const TGPRectF& part, TFillRoundingType type) {
        if (FColor == clNone) return;
        const TColor to = FColorTo != clNone ? FColorTo : FColor;
        DrawRadial(g, part, MakeGPColor(FColor, o), MakeGPColor(to, ot), true, FRounding, type);
    };
    const bool onePart =
        FColorMirror == clNone || FGradientType == gtHatch || FGradientType == gtTexture;
    if (onePart) {
        if (FGradientType == gtRadial)
            radialUpper(r, FRoundingType);
        else
            DrawGradientBackGround(g, r, false, o, ot, om, omt);
        return;
    }
    const TFillHalves halves = SplitHalves(r);
    if (FGradientType == gtRadial)
        radialUpper(halves.Upper, rtTop);
    else
        DrawGradientBackGround(g, halves.Upper, false, o, ot, om, omt);
    if (FGradientMirrorType == gtRadial) {
        // ColorMirror is set here: a single part is painted otherwise.
        const TColor to = FColorMirrorTo != clNone ? FColorMirrorTo : FColorMirror;
        DrawRadial(g, halves.Lower, MakeGPColor(FColorMirror, om), MakeGPColor(to, omt), false,
                   FRounding, rtBottom);
    } else {
        DrawGradientBackGround(g, halves.Lower, true, o, ot, om, omt);
    }
}

void TGPFill::DrawGradientBackGround(gp::Graphics& g, const TGPRectF& P, bool Mirror,
                                     std::uint8_t oc, std::uint8_t octo, std::uint8_t ocmr,
                                     std::uint8_t ocmrto) {
    const TColor c1 = Mirror ? FColorMirror : FColor;
    const TColor c2 = Mirror ? FColorMirrorTo : FColorTo;
    const std::uint8_t o1 = Mirror ? ocmr : oc;
    const std::uint8_t o2 = Mirror ? ocmrto : octo;
    const THatchStyle hatch = Mirror ? FHatchStyleMirror : FHatchStyle;
    const TGradientType kind = EffectiveKind(Mirror ? FGradientMirrorType : FGradientType, c1, c2);
    if (kind == gtNone || kind == gtRadial || kind == gtPath) return;

    const bool rounded = FRounding > 0;
    TFillRoundingType type = FRoundingType;
    if (FColorMirror != clNone)
        type = Mirror ? LowerRounding(FRoundingType) : UpperRounding(FRoundingType);
    gp::GraphicsPath shape(gp::FillModeAlternate);
    if (rounded) AddRoundedOutline(shape, P, FRounding, type);
    auto fillShape = [&](gp::Brush& brush) {
        if (rounded) {
            ScopedSmoothing smoothing(g, gp::SmoothingModeAntiAlias);
            g.FillPath(&brush, &shape);
        } else {
            g.FillRectangle(&brush, ToGPRect(P));
        }
    };

    switch (kind) {
    case gtSolid: {
        gp::SolidBrush brush(MakeGPColor(c1, o1));
        fillShape(brush);
        break;
    }
    case gtVertical:
    case gtHorizontal:
    case gtForwardDiagonal:
    case gtBackwardDiagonal: {
        const gp::LinearGradientMode mode =
            kind == gtVertical          ? gp::LinearGradientModeVertical
            : kind == gtHorizontal      ? gp::LinearGradientModeHorizontal
            : kind == gtForwardDiagonal ? gp::LinearGradientModeForwardDiagonal
                                        : gp::LinearGradientModeBackwardDiagonal;
        gp::LinearGradientBrush brush(Enlarged(P), MakeGPColor(c1, o1), MakeGPColor(c2, o2), mode);
        brush.SetWrapMode(gp::WrapModeTile);
        brush.SetGammaCorrection(TRUE);
        fillShape(brush);
        if (Mirror) {
            // The lower part starts with a clean line of its start colour where it meets the
            // upper part.
            gp::SolidBrush strip(MakeGPColor(c1, o1));
            g.FillRectangle(&strip, gp::RectF(P.X, P.Y, P.Width, 1));
        }
        break;
    }
    case gtAngle: {
        gp::LinearGradientBrush brush(Enlarged(P), MakeGPColor(c1, o1), MakeGPColor(c2, o2),
                                      gp::REAL(FAngle), TRUE);
        brush.SetWrapMode(gp::WrapModeTile);
        brush.SetGammaCorrection(TRUE);
        fillShape(brush);
        break;
    }
    case gtHatch: {
        gp::HatchBrush brush(static_cast<gp::HatchStyle>(hatch), MakeGPColor(c1, o1),
                             MakeGPColor(c2, o2));
        fillShape(brush);
        break;
    }
    case gtTexture: {
        if (FBackGroundPicturePosition != ppTiled) break;
        std::unique_ptr<TDecodedPicture> picture = FBackGroundPicture.Decode();
        if (!picture) break;
        gp::Image& image = *picture->Image();
        if (rounded) {
            ScopedSmoothing smoothing(g, gp::SmoothingModeAntiAlias);
            FillTiled(g, image, ToGPRect(P), FBackGroundPicture.Width(),
                      FBackGroundPicture.Height(), &shape);
        } else {
            FillTiled(g, image, ToGPRect(P), FBackGroundPicture.Width(),
                      FBackGroundPicture.Height());
        }
        break;
    }
    default:
        break;
    }
}

void TGPFill::DrawGlow(gp::Graphics& g, const TGPRectF& R) {
    if (FGlow == gmNone) return;
    ScopedGraphicsState state(g);
    g.SetClip(ToGPRect(R), gp::CombineModeIntersect);
    const TGPRectF I{R.X + 1, R.Y + 1, R.Width - 2, R.Height - 2};
    if (FGlow == gmGradient || FGlow == gmRadialGradient) {
        gp::GraphicsPath outline(gp::FillModeAlternate);
        AddRoundedOutline(outline, I, FRounding, FRoundingType);
        gp::Pen pen(MakeGPColor(FGlowGradientColor, 200), 1.0f);
        g.DrawPath(&pen, &outline);
        DrawShine(g, {I.X, I.Y, I.Width, 4}, 5, true, MakeGPColor(FGlowGradientColor, 175),
                  MakeGPColor(FGlowGradientColor, 0));
        DrawShine(g, {I.X, I.Y + I.Height - 7, I.Width, 7}, 5, false,
                  MakeGPColor(FGlowGradientColor, 0), MakeGPColor(FGlowGradientColor, 220));
    }
    if (FGlow == gmRadial || FGlow == gmRadialGradient) {
        gp::GraphicsPath ellipse;
        const gp::RectF e(I.X + 10, I.Y - I.Height / 2, I.Width - 20, 3 * I.Height);
        ellipse.AddEllipse(e);
        gp::PathGradientBrush brush(&ellipse);
        brush.SetCenterPoint(gp::PointF(e.X + e.Width / 2, e.Y + e.Height / 2));
        brush.SetCenterColor(MakeGPColor(FGlowRadialColor, 150));
        gp::Color surround = FColor != clNone ? MakeGPColor(FColor, 0) : gp::Color(0, 0, 0, 0);
        INT count = 1;
        brush.SetSurroundColors(&surround, &count);
        g.FillPath(&brush, &ellipse);
    }
}

void TGPFill::DrawBackGroundPicture(gp::Graphics& g, const TGPRectF& r, bool clipped) {
    if (FBackGroundPicture.Empty() || FGradientType != gtTexture) return;
    std::unique_ptr<TDecodedPicture> picture = FBackGroundPicture.Decode();
    if (!picture) return;
    ScopedGraphicsState state(g);
    if (clipped) {
        gp::GraphicsPath outline(gp::FillModeAlternate);
        AddRoundedOutline(outline, r, FRounding, FRoundingType);
        gp::Region clip(&outline);
        g.SetClip(&clip, gp::CombineModeIntersect);
    }
    DrawPlaced(g, *picture->Image(), FBackGroundPicturePosition, WholePixels(r),
               FBackGroundPictureLeft, FBackGroundPictureTop, FBackGroundPicture.Width(),
               FBackGroundPicture.Height(), FBackGroundPictureAspectRatio);
}

void TGPFill::DrawForegroundPicture(gp::Graphics& g, const TGPRectF& r) {
    if (FPicture.Empty()) return;
    std::unique_ptr<TDecodedPicture> picture = FPicture.Decode();
    if (!picture) return;
    const bool custom = FpictureSize == psCustom;
    DrawPlaced(g, *picture->Image(), FPicturePosition, WholePixels(r), FPictureLeft, FPictureTop,
               custom ? FpictureWidth : FPicture.Width(),
               custom ? FpictureHeight : FPicture.Height(), FPictureAspectRatio);
}
