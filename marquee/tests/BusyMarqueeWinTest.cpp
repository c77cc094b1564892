// The busy indicator under Wine: its pixels in the window's configuration and the bullet
// variants, painting through the off-screen buffer, the clock on its timer, and that no GDI
// object is left behind by painting.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "flatctl/win32/FlatPanel.h"
#include "marquee/tests/MarqueeFixture.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// Centre of bullet i at position 0 in the window's configuration (left 156.55 + 13 i,
// top 203, 10 x 10).
POINT BulletCentre(int i) {
    return {161 + 13 * i, 208};
}
// A pixel in the gap right of bullet i.
POINT GapAfter(int i) {
    return {168 + 13 * i, 208};
}

bool Near(COLORREF a, COLORREF b, int tolerance = 8) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

} // namespace

TEST(BusyMarqueeControl, ConstructionDefaults) {
    ScopedGdiPlus gdiplus;
    TComponent root(nullptr);
    auto* m = TComponent::Create<TBusyMarquee>(&root);
    EXPECT_EQ(m->Width(), 400);
    EXPECT_EQ(m->Height(), 20);
    EXPECT_TRUE(m->TabStop());
    EXPECT_TRUE(m->DoubleBuffered());
    EXPECT_EQ(m->AnimationStretchFactor(), 1.70000005f);
    EXPECT_EQ(m->AnimationFactor(), 3.0f);
    EXPECT_EQ(m->AnimationStep(), 10.0f);
    EXPECT_TRUE(m->Animate());
    EXPECT_FALSE(m->Transparent());
    EXPECT_EQ(m->Position(), 0.0f);
    EXPECT_EQ(m->AnimationTimer().Interval(), 10u);
    EXPECT_TRUE(m->AnimationTimer().Running());
    EXPECT_EQ(m->Bullets().Color(), 0xE16941u);
    EXPECT_EQ(m->Bullets().BorderColor(), clNone);
    EXPECT_EQ(m->Bullets().Count(), 6);
    EXPECT_EQ(m->Bullets().Shape(), bsEllipse);
    EXPECT_EQ(m->Fill().Color(), 0xC0C0C0u);
    EXPECT_EQ(m->Fill().GradientType(), gtVertical);
    EXPECT_EQ(m->GetComponentStyle(), tsOffice2003Blue);
}

TEST(BusyMarqueeControl, PositionWrapsAtTheRightLimit) {
    MarqueeFixture f;
    TBusyMarquee& m = *f.marquee;
    m.SetPosition(261);
    EXPECT_EQ(m.Position(), 261.0f);
    m.SetPosition(261.5f);
    EXPECT_EQ(m.Position(), -261.0f);
    m.SetPosition(255);
    m.Step(10);
    EXPECT_EQ(m.Position(), -261.0f);
    m.SetPosition(-100);
    m.AnimationTick();
    EXPECT_NEAR(m.Position(), -96.6667, 1e-3);
    // Only the right end wraps: a far-left value holds the row back, and the clock moves it
    // on from there.
    m.SetPosition(-300);
    EXPECT_EQ(m.Position(), -300.0f);
    m.Step(-1000);
    EXPECT_EQ(m.Position(), -1300.0f);
    m.SetPosition(-300);
    m.AnimationTick();
    EXPECT_NEAR(m.Position(), -296.6667, 1e-3);
    // Leftward motion of the clock comes back on the right.
    m.SetAnimationStep(-10);
    m.SetPosition(-260);
    m.AnimationTick();
    EXPECT_EQ(m.Position(), 261.0f);
}

TEST(BusyMarqueeControl, BulletsAssignIsSilentAndTheSetterRepaintsWithEverySetting) {
    MarqueeFixture f;
    f.form->Show();
    HWND wnd = f.marquee->Handle();
    UpdateWindow(wnd);
    TBusyMarqueeBullets other(nullptr);
    other.SetCount(2);
    other.SetWidth(20);
    other.SetHeight(12);
    other.SetSpacing(5);
    other.SetColor(RGB(255, 0, 0));
    other.SetBorderColor(RGB(0, 0, 255));
    other.SetOpacity(254);
    other.SetBorderOpacity(253);
    other.SetShape(bsRectangle);

    f.marquee->Bullets().Assign(&other);
    EXPECT_FALSE(GetUpdateRect(wnd, nullptr, FALSE)) << "Assign tells nobody";
    const TBusyMarqueeBullets& b = f.marquee->Bullets();
    EXPECT_EQ(b.Count(), 2);
    EXPECT_EQ(b.Width(), 20);
    EXPECT_EQ(b.Height(), 12);
    EXPECT_EQ(b.Spacing(), 5);
    EXPECT_EQ(b.Color(), RGB(255, 0, 0));
    EXPECT_EQ(b.BorderColor(), RGB(0, 0, 255));
    EXPECT_EQ(b.Opacity(), 254);
    EXPECT_EQ(b.BorderOpacity(), 253);
    EXPECT_EQ(b.Shape(), bsRectangle);
    f.marquee->Bullets().Assign(&f.marquee->Fill()); // another class: ignored
    EXPECT_EQ(b.Count(), 2);

    // The Bullets setter copies and repaints: two red squares with blue outlines.
    TBusyMarqueeBullets fresh(nullptr);
    f.marquee->Bullets().Assign(&fresh);
    UpdateWindow(wnd);
    f.marquee->SetBullets(other);
    EXPECT_TRUE(GetUpdateRect(wnd, nullptr, FALSE));
    DibSurface dib(f.kW, f.kH);
    CaptureClient(wnd, dib);
    const std::vector<TGPRectF> rects = f.marquee->BulletRects();
    ASSERT_EQ(rects.size(), 2u);
    for (const TGPRectF& r : rects) {
        const int left = int(std::ceil(r.X)) + 1, right = int(r.X + r.Width) - 2;
        const int top = int(r.Y) + 2, bottom = int(r.Y + r.Height) - 2;
        for (POINT p : {POINT{left, top}, POINT{right, top}, POINT{left, bottom},
                        POINT{right, bottom}}) // every corner: a rectangle, not an ellipse
            EXPECT_TRUE(Near(dib.Pixel(p.x, p.y), RGB(255, 0, 0), 2))
                << "bullet at " << r.X << " pixel " << p.x << "," << p.y;
        const COLORREF outline = dib.Pixel((left + right) / 2, int(std::lround(r.Y)));
        EXPECT_GT(GetBValue(outline), 100) << "outline above bullet at " << r.X;
    }
}

TEST(BusyMarqueeControl, AssignCopiesBulletsAndFillOnly) {
    MarqueeFixture f;
    TComponent root(nullptr);
    auto* other = TComponent::Create<TBusyMarquee>(&root);
    other->SetAnimate(false);
    other->Bullets().SetCount(3);
    other->Bullets().SetShape(bsTriangle);
    other->Fill().SetColor(0x123456);
    other->SetPosition(42);
    other->SetAnimationStep(1);
    f.marquee->Assign(other);
    EXPECT_EQ(f.marquee->Bullets().Count(), 3);
    EXPECT_EQ(f.marquee->Bullets().Shape(), bsTriangle);
    EXPECT_EQ(f.marquee->Fill().Color(), 0x123456u);
    EXPECT_EQ(f.marquee->Position(), 0.0f);
    EXPECT_EQ(f.marquee->AnimationStep(), 10.0f);
    f.marquee->Assign(&f.marquee->Fill()); // a source of another class is ignored
    EXPECT_EQ(f.marquee->Bullets().Count(), 3);
}

TEST(BusyMarqueePaint, WindowConfigurationPixels) {
    MarqueeFixture f;
    DibSurface dib(f.kW, f.kH);
    f.PaintInto(dib);
    for (int i = 0; i < 6; ++i) {
        POINT c = BulletCentre(i), g = GapAfter(i);
        EXPECT_EQ(dib.Pixel(c.x, c.y), kBlack) << "bullet " << i;
        EXPECT_EQ(dib.Pixel(g.x, g.y), kWhite) << "gap after bullet " << i;
        EXPECT_EQ(dib.Pixel(c.x, 201), kWhite) << "above bullet " << i;
        EXPECT_EQ(dib.Pixel(c.x, 215), kWhite) << "below bullet " << i;
    }
    EXPECT_EQ(dib.Pixel(150, 208), kWhite);
    EXPECT_EQ(dib.Pixel(5, 5), kWhite);
    // The last column and row lie outside the fill: the parent's white shows there.
    EXPECT_EQ(dib.Pixel(f.kW - 1, f.kH - 1), kWhite);
}

TEST(BusyMarqueePaint, DoubleBufferedPaintShowsTheSameRow) {
    MarqueeFixture f;
    f.form->Show();
    DibSurface dib(f.kW, f.kH);
    CaptureClient(f.marquee->Handle(), dib);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(dib.Pixel(BulletCentre(i).x, BulletCentre(i).y), kBlack) << "bullet " << i;
        EXPECT_EQ(dib.Pixel(GapAfter(i).x, GapAfter(i).y), kWhite) << "gap " << i;
    }
}

// The program starts GDI+ on first use: its first window draws nothing with it.
TEST(BusyMarqueePaint, GdiPlusStartsWithTheFirstPaintThatNeedsIt) {
    MarqueeFixture f(clWhite, GdiPlusStart::OnFirstUse);
    f.marquee->SetVisible(false);
    f.form->Show();
    PumpFor(50);
    EXPECT_FALSE(GdiPlusRunning());
    f.marquee->SetVisible(true);
    DibSurface dib(f.kW, f.kH);
    CaptureClient(f.marquee->Handle(), dib);
    EXPECT_TRUE(GdiPlusRunning());
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(dib.Pixel(BulletCentre(i).x, BulletCentre(i).y), kBlack) << "bullet " << i;
}

TEST(BusyMarqueePaint, TransparentShowsParentAndBullets) {
    MarqueeFixture f(RGB(0, 160, 0));
    f.marquee->SetTransparent(true);
    DibSurface dib(f.kW, f.kH);
    f.PaintInto(dib);
    EXPECT_EQ(dib.Pixel(5, 5), RGB(0, 160, 0));
    EXPECT_EQ(dib.Pixel(GapAfter(0).x, GapAfter(0).y), RGB(0, 160, 0));
    EXPECT_EQ(dib.Pixel(BulletCentre(2).x, BulletCentre(2).y), kBlack);

    f.marquee->SetTransparent(false);
    f.PaintInto(dib);
    EXPECT_EQ(dib.Pixel(5, 5), kWhite);
}

TEST(BusyMarqueePaint, TransparentOnAFlatPanelShowsThePanel) {
    // The assistant's arrangement: the indicator fills a flat panel.
    MarqueeFixture f;
    auto* panel = TComponent::Create<TFlatPanel>(f.form);
    panel->SetParent(f.form);
    panel->SetBounds(5, 5, f.kW + 10, f.kH + 10);
    panel->SetColor(RGB(200, 100, 0));
    panel->SetThemeMode(ttmNone); // a themed panel would show its own parent instead
    f.marquee->SetParent(panel);
    f.marquee->SetBounds(5, 5, f.kW, f.kH);
    f.marquee->SetTransparent(true);
    f.form->Show();
    DibSurface dib(f.kW, f.kH);
    f.PaintInto(dib);
    EXPECT_EQ(dib.Pixel(20, 20), RGB(200, 100, 0));
    EXPECT_EQ(dib.Pixel(BulletCentre(1).x, BulletCentre(1).y), kBlack);
    CaptureClient(f.marquee->Handle(), dib); // the buffered path
    EXPECT_EQ(dib.Pixel(20, 20), RGB(200, 100, 0));
    EXPECT_EQ(dib.Pixel(BulletCentre(1).x, BulletCentre(1).y), kBlack);
}

TEST(BusyMarqueePaint, NoColoursDrawNoBulletsAndSkipTheCustomShape) {
    MarqueeFixture f;
    int calls = 0;
    std::vector<int> indices;
    f.marquee->OnCustomBulletShape = [&](TObject* sender, Gdiplus::Graphics&, const TGPRectF& r,
                                         int index) {
        ++calls;
        indices.push_back(index);
        EXPECT_EQ(sender, f.marquee);
        EXPECT_EQ(r.Width, 10.0f);
    };
    f.marquee->Bullets().SetShape(bsCustom);
    f.marquee->Bullets().SetColor(clNone);
    DibSurface dib(f.kW, f.kH);
    f.PaintInto(dib);
    EXPECT_EQ(calls, 0);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(dib.Pixel(BulletCentre(i).x, BulletCentre(i).y), kWhite);

    // With a colour the event draws every bullet, in order, and nothing else is drawn.
    f.marquee->Bullets().SetColor(clBlack);
    f.PaintInto(dib);
    EXPECT_EQ(indices, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(dib.Pixel(BulletCentre(0).x, BulletCentre(0).y), kWhite);
}

TEST(BusyMarqueePaint, BorderColourOnlyDrawsOutlines) {
    MarqueeFixture f;
    f.marquee->Bullets().SetColor(clNone);
    f.marquee->Bullets().SetBorderColor(RGB(255, 0, 0));
    f.marquee->Bullets().SetShape(bsRectangle);
    f.marquee->SetPosition(0.95f); // bullet 0 spans x 157.5 .. 167.5, y 203 .. 213
    DibSurface dib(f.kW, f.kH);
    f.PaintInto(dib);
    EXPECT_EQ(dib.Pixel(162, 208), kWhite); // inside: no fill
    COLORREF edge = dib.Pixel(162, 203);
    EXPECT_GT(GetRValue(edge), 200);
    EXPECT_LT(GetGValue(edge), 160);
    EXPECT_LT(GetBValue(edge), 160);

    // A fully transparent fill draws nothing over the outline's inside.
    f.marquee->Bullets().SetColor(clBlack);
    f.marquee->Bullets().SetOpacity(0);
    f.PaintInto(dib);
    EXPECT_EQ(dib.Pixel(162, 208), kWhite);
    EXPECT_GT(GetRValue(dib.Pixel(162, 203)), 200);
}

TEST(BusyMarqueePaint, SystemColourIsResolvedAtPaint) {
    MarqueeFixture f;
    f.marquee->Bullets().SetColor(clHighlight);
    DibSurface dib(f.kW, f.kH);
    f.PaintInto(dib);
    EXPECT_TRUE(
        Near(dib.Pixel(BulletCentre(3).x, BulletCentre(3).y), GetSysColor(COLOR_HIGHLIGHT), 1));
}

TEST(BusyMarqueePaint, FillStopsOnePixelShortOfTheRightAndBottomEdges) {
    const COLORREF parent = RGB(0, 160, 0), red = RGB(255, 0, 0);
    MarqueeFixture f(parent);
    f.marquee->Fill().SetColor(red);
    f.marquee->Fill().SetBorderColor(clNone);
    DibSurface dib(f.kW, f.kH);
    f.PaintInto(dib);
    const int right = f.kW - 1, bottom = f.kH - 1;
    EXPECT_EQ(dib.Pixel(right - 2, 100), red);
    EXPECT_EQ(dib.Pixel(100, bottom - 2), red);
    // The last column and row are at most half covered: the parent shows through.
    for (POINT p : {POINT{right, 100}, POINT{100, bottom}, POINT{right, bottom}}) {
        const COLORREF c = dib.Pixel(p.x, p.y);
        EXPECT_GE(GetGValue(c), 70) << p.x << "," << p.y;
        EXPECT_LE(GetRValue(c), 140) << p.x << "," << p.y;
    }
}

TEST(BusyMarqueePaint, ShapesCoverTheirCornersAsTheirOutlineSays) {
    // Bullet 0 at position 0.95 spans x 157.5 .. 167.5 and y 203 .. 213; these pixels lie
    // wholly inside that rectangle near its corners, outside the inscribed ellipse.
    const POINT topLeft{158, 204}, topRight{166, 204}, bottomLeft{158, 212}, bottomRight{166, 212};
    struct Case {
        TBusyMarqueeBulletShape Shape;
        bool Top, Bottom; // corners filled
    };
    const Case cases[] = {
        {bsRectangle, true, true}, {bsEllipse, false, false}, {bsTriangle, false, true}};
    MarqueeFixture f;
    f.marquee->SetPosition(0.95f);
    DibSurface dib(f.kW, f.kH);
    for (const Case& k : cases) {
        f.marquee->Bullets().SetShape(k.Shape);
        f.PaintInto(dib);
        SCOPED_TRACE(testing::Message() << "shape " << int(k.Shape));
        EXPECT_EQ(dib.Pixel(162, 208), kBlack);
        for (POINT p : {topLeft, topRight})
            EXPECT_EQ(dib.Pixel(p.x, p.y), k.Top ? kBlack : kWhite) << p.x << "," << p.y;
        for (POINT p : {bottomLeft, bottomRight})
            EXPECT_EQ(dib.Pixel(p.x, p.y), k.Bottom ? kBlack : kWhite) << p.x << "," << p.y;
    }
}

TEST(BusyMarqueePaint, TrianglesPointUp) {
    MarqueeFixture f;
    f.marquee->Bullets().SetShape(bsTriangle);
    DibSurface dib(f.kW, f.kH);
    f.PaintInto(dib);
    // Bullet 0: 156.55 .. 166.55 x 203 .. 213, apex at (161.55, 203).
    EXPECT_EQ(dib.Pixel(161, 206), kBlack); // under the apex
    EXPECT_EQ(dib.Pixel(159, 211), kBlack); // bottom-left, above the base
    EXPECT_EQ(dib.Pixel(164, 211), kBlack); // bottom-right, above the base
    EXPECT_EQ(dib.Pixel(157, 204), kWhite); // top-left corner is outside
    EXPECT_EQ(dib.Pixel(165, 204), kWhite); // top-right corner is outside
}

// The bullets, however they are drawn, look exactly as if each were filled and outlined on
// its own, one after the other: at every place along the row (wrapping included), for each
// shape with and without an outline, opaque and translucent, and with bullets so close that
// their edges share pixels.
TEST(BusyMarqueePaint, BulletsLookAsIfDrawnOneByOne) {
    namespace gp = Gdiplus;
    struct Case {
        TBusyMarqueeBulletShape Shape;
        TColor Border;
        std::uint8_t Opacity;
        int Spacing;
    };
    const Case cases[] = {
        {bsEllipse, clNone, 255, 3},          {bsEllipse, RGB(0, 0, 160), 255, 3},
        {bsEllipse, clNone, 128, 3},          {bsEllipse, RGB(0, 0, 160), 128, -4},
        {bsEllipse, clNone, 255, 0},          {bsTriangle, clNone, 255, 3},
        {bsTriangle, RGB(0, 0, 160), 200, 3}, {bsTriangle, clNone, 128, -3},
        {bsRectangle, clNone, 128, -2},
    };
    MarqueeFixture f;
    TBusyMarquee& m = *f.marquee;
    m.SetTransparent(true); // Paint then draws the bullets alone
    m.SetAnimationStretchFactor(1.7f);
    DibSurface shown(f.kW, f.kH), expected(f.kW, f.kH);
    for (const Case& k : cases) {
        m.Bullets().SetShape(k.Shape);
        m.Bullets().SetBorderColor(k.Border);
        m.Bullets().SetOpacity(k.Opacity);
        m.Bullets().SetSpacing(k.Spacing);
        for (float position = 0; position < f.kW + 60; position += 11.3f) {
            m.SetPosition(position);
            SCOPED_TRACE(testing::Message() << "shape " << int(k.Shape) << ", spacing "
                                            << k.Spacing << ", opacity " << int(k.Opacity)
                                            << ", position " << m.Position());
            shown.Fill(kWhite);
            expected.Fill(kWhite);
            {
                TCanvas canvas(shown.dc());
                m.Paint(canvas);
            }
            {
                gp::Graphics g(expected.dc());
                g.SetSmoothingMode(gp::SmoothingModeAntiAlias);
                gp::SolidBrush brush(gp::Color(k.Opacity, 0, 0, 0));
                gp::Pen pen(gp::Color(255, 0, 0, 160), 1.0f);
                for (const TGPRectF& r : m.BulletRects()) {
                    const gp::RectF rf(r.X, r.Y, r.Width, r.Height);
                    gp::GraphicsPath triangle(gp::FillModeAlternate);
                    triangle.AddLine(r.X + r.Width / 2, r.Y, r.X + r.Width, r.Y + r.Height);
                    triangle.AddLine(r.X + r.Width, r.Y + r.Height, r.X, r.Y + r.Height);
                    triangle.CloseFigure();
                    if (k.Shape == bsEllipse)
                        g.FillEllipse(&brush, rf);
                    else if (k.Shape == bsRectangle)
                        g.FillRectangle(&brush, rf);
                    else
                        g.FillPath(&brush, &triangle);
                    if (k.Border == clNone) continue;
                    if (k.Shape == bsEllipse)
                        g.DrawEllipse(&pen, rf);
                    else if (k.Shape == bsRectangle)
                        g.DrawRectangle(&pen, rf);
                    else
                        g.DrawPath(&pen, &triangle);
                }
            }
            int differing = 0;
            POINT first{-1, -1};
            for (int y = 0; y < f.kH; ++y)
                for (int x = 0; x < f.kW; ++x)
                    if (shown.Pixel(x, y) != expected.Pixel(x, y) && differing++ == 0) first = {x, y};
            ASSERT_EQ(differing, 0) << "first at " << first.x << "," << first.y;
        }
    }
}

TEST(BusyMarqueeClock, TicksMoveTheRowWhileHiddenAndStopWithAnimate) {
    MarqueeFixture f; // the form is never shown
    f.marquee->SetAnimate(true);
    EXPECT_TRUE(f.marquee->AnimationTimer().Running());
    ASSERT_TRUE(PumpUntil([&] { return f.marquee->Position() > 20; }));
    // Every step of the window's clock is 10/3 pixel.
    float steps = f.marquee->Position() / (10.0f / 3);
    EXPECT_NEAR(steps, std::round(steps), 1e-3);

    f.marquee->SetAnimate(false);
    EXPECT_FALSE(f.marquee->AnimationTimer().Running());
    float frozen = f.marquee->Position();
    PumpFor(100);
    EXPECT_EQ(f.marquee->Position(), frozen);
    f.marquee->SetPosition(5);
    EXPECT_EQ(f.marquee->Position(), 5.0f);
}

TEST(BusyMarqueeClock, TinyStepRequestsNoRepaint) {
    MarqueeFixture f;
    f.form->Show();
    HWND wnd = f.marquee->Handle();
    UpdateWindow(wnd);
    f.marquee->SetAnimationStep(0.005f);
    f.marquee->AnimationTick();
    EXPECT_FALSE(GetUpdateRect(wnd, nullptr, FALSE));
    EXPECT_EQ(f.marquee->Position(), 0.0f);
    f.marquee->SetAnimationStep(0.02f);
    f.marquee->AnimationTick();
    EXPECT_TRUE(GetUpdateRect(wnd, nullptr, FALSE));
    EXPECT_FLOAT_EQ(f.marquee->Position(), 0.01f);
}

TEST(BusyMarqueePaint, NoGdiObjectLeftAfterTenThousandPaints) {
    MarqueeFixture f;
    f.form->Show();
    HWND wnd = f.marquee->Handle();
    DibSurface dib(f.kW, f.kH);
    for (int i = 0; i < 50; ++i) { // warm-up: caches of the platform fill up once
        InvalidateRect(wnd, nullptr, FALSE);
        UpdateWindow(wnd);
        f.PaintInto(dib);
    }
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 10000; ++i) {
        f.marquee->Step(3.3333333f);
        InvalidateRect(wnd, nullptr, FALSE);
        UpdateWindow(wnd);                 // the buffered path: memory DC, bitmap, BitBlt
        if (i % 10 == 0) f.PaintInto(dib); // the path with a given DC
    }
    EXPECT_LE(CountGdiObjects() - before, 2);
}
