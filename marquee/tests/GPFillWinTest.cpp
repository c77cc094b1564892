// The fill description under Wine: change notification, Assign, and what Fill paints for
// the cases whose painted result is fixed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/win32/GdiPlus.h"
#include "marquee/tests/MarqueeFixture.h"
#include "marquee/win32/GPFill.h"
#include "tests/support/TestPictures.h"
#include "tests/support/WinTestSupport.h"

namespace {

constexpr COLORREF kBack = RGB(0, 0, 255); // what the surface holds before the fill

class FillPaint : public testing::Test {
  protected:
    // Paints `fill` into R on a 40 x 40 surface of kBack, without anti-aliasing.
    TGPRectF Paint(TGPRectF r, std::uint8_t opacity = 255, std::uint8_t borderOpacity = 255) {
        dib.Fill(kBack);
        Gdiplus::Graphics g(dib.dc());
        return fill.Fill(&g, r, borderOpacity, opacity, 255, 255, 255);
    }
    ScopedGdiPlus gdiplus;
    DibSurface dib{40, 40};
    TGPFill fill;
};

// `color` at `alpha` over `under`.
COLORREF Over(COLORREF color, int alpha, COLORREF under) {
    auto mix = [&](int c, int u) { return (c * alpha + u * (255 - alpha) + 127) / 255; };
    return RGB(mix(GetRValue(color), GetRValue(under)), mix(GetGValue(color), GetGValue(under)),
               mix(GetBValue(color), GetBValue(under)));
}

bool Near(COLORREF a, COLORREF b, int tolerance = 2) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string Hex(COLORREF c) {
    char buf[16];
    snprintf(buf, sizeof buf, "%06lX", static_cast<unsigned long>(c));
    return buf;
}

} // namespace

TEST(GPFillNotify, ChangedValuesOnlyAndNotWhileUpdating) {
    TGPFill fill;
    int changes = 0;
    fill.OnChange = [&](TObject* sender) {
        EXPECT_EQ(sender, &fill);
        ++changes;
    };
    fill.SetColor(0xC0C0C0); // the initial value: no change
    fill.SetBorderWidth(1);
    EXPECT_EQ(changes, 0);
    fill.SetColor(0x123456);
    fill.SetGlow(gmRadial);
    EXPECT_EQ(changes, 2);

    fill.BeginUpdate();
    fill.BeginUpdate();
    fill.SetColor(1);
    fill.EndUpdate();
    fill.SetColor(2);
    fill.EndUpdate();
    fill.EndUpdate(); // an unmatched EndUpdate does nothing
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(fill.UpdateCount(), 0);
    fill.SetColor(3);
    EXPECT_EQ(changes, 3);
}

TEST(GPFillNotify, AssignCopiesSettingsAndNotifiesOnce) {
    ScopedGdiPlus gdiplus;
    TGPFill source;
    source.SetColor(0x010203);
    source.SetGradientMirrorType(gtHatch);
    source.SetRounding(7);
    source.SetShadowType(stSurround);
    source.SetPictureWidth(9);
    source.SetGlowRadialColor(0x0A0B0C);
    source.SetFocus(true);
    source.SetFocusColor(0x00FF00);
    {
        TGPFill target;
        int changes = 0;
        target.OnChange = [&](TObject*) { ++changes; };
        target.Assign(&source);
        EXPECT_EQ(changes, 1);
        EXPECT_EQ(target.Color(), 0x010203u);
        EXPECT_EQ(target.GradientMirrorType(), gtHatch);
        EXPECT_EQ(target.Rounding(), 7);
        EXPECT_EQ(target.ShadowType(), stSurround);
        EXPECT_EQ(target.PictureWidth(), 9);
        EXPECT_EQ(target.GlowRadialColor(), 0x0A0B0Cu);
        EXPECT_FALSE(target.Focus()); // not copied
        EXPECT_EQ(target.FocusColor(), clBlack);
        TObject other;
        target.Assign(&other); // ignored
        EXPECT_EQ(changes, 1);
    }
}

TEST(GPFillNotify, EndUpdateDoesNotRepaintTheIndicator) {
    MarqueeFixture fx;
    fx.form->Show();
    HWND wnd = fx.marquee->Handle();
    UpdateWindow(wnd);
    TGPFill& fill = fx.marquee->Fill();
    fill.BeginUpdate();
    fill.SetColor(0x00FF00);
    fill.SetBorderColor(0x0000FF);
    fill.EndUpdate();
    EXPECT_FALSE(GetUpdateRect(wnd, nullptr, FALSE));
    fill.SetColor(0x00FFFF);
    EXPECT_TRUE(GetUpdateRect(wnd, nullptr, FALSE));

    // Assigning a fill copies its settings into the indicator's own fill object.
    {
        TGPFill other;
        other.SetColor(0x654321);
        fx.marquee->SetFill(other);
    }
    EXPECT_EQ(fx.marquee->Fill().Color(), 0x654321u);
}

TEST_F(FillPaint, WindowFillIsWhiteWithWhiteBorder) {
    SetWindowFill(fill);
    EXPECT_EQ(Paint({0, 0, 30, 20}), (TGPRectF{0, 0, 30, 20}));
    EXPECT_EQ(dib.Pixel(15, 10), RGB(255, 255, 255));
    EXPECT_EQ(dib.Pixel(30, 10), RGB(255, 255, 255)); // the border's right edge
    EXPECT_EQ(dib.Pixel(35, 10), kBack);
    EXPECT_EQ(fill.FocusRect(), (TGPRectF{1, 1, 28, 18}));
}

TEST_F(FillPaint, NoStartColourPaintsNoBackgroundButTheBorder) {
    fill.SetColor(clNone);
    fill.SetColorTo(RGB(0, 255, 0));
    fill.SetBorderColor(RGB(255, 0, 0));
    for (TGradientType kind : {gtVertical, gtSolid, gtHatch, gtAngle, gtRadial}) {
        fill.SetGradientType(kind);
        Paint({5, 5, 20, 20});
        EXPECT_EQ(dib.Pixel(15, 15), kBack) << "kind " << int(kind);
        EXPECT_EQ(dib.Pixel(5, 15), RGB(255, 0, 0)) << "kind " << int(kind);
        EXPECT_EQ(dib.Pixel(25, 15), RGB(255, 0, 0)) << "kind " << int(kind);
    }
}

TEST_F(FillPaint, NoEndColourMakesAGradientSolid) {
    fill.SetColor(RGB(200, 0, 0));
    fill.SetColorTo(clNone);
    fill.SetGradientType(gtVertical);
    Paint({0, 0, 30, 30});
    EXPECT_EQ(dib.Pixel(10, 1), RGB(200, 0, 0));
    EXPECT_EQ(dib.Pixel(10, 28), RGB(200, 0, 0));

    fill.SetColorTo(RGB(0, 200, 0)); // a real gradient differs from top to bottom
    Paint({0, 0, 30, 30});
    EXPECT_NE(dib.Pixel(10, 1), dib.Pixel(10, 28));
}

TEST_F(FillPaint, MirrorPaintsTwoOverlappingHalves) {
    fill.SetColor(RGB(255, 0, 0));
    fill.SetGradientType(gtSolid);
    fill.SetColorMirror(RGB(0, 255, 0));
    fill.SetGradientMirrorType(gtSolid);
    Paint({0, 0, 20, 10}); // halves (0, 0, 20, 6) and (0, 4, 20, 6)
    EXPECT_EQ(dib.Pixel(10, 0), RGB(255, 0, 0));
    EXPECT_EQ(dib.Pixel(10, 3), RGB(255, 0, 0));
    EXPECT_EQ(dib.Pixel(10, 4), RGB(0, 255, 0)); // the lower half is painted last
    EXPECT_EQ(dib.Pixel(10, 9), RGB(0, 255, 0));
    EXPECT_EQ(dib.Pixel(10, 12), kBack);

    fill.SetGradientType(gtHatch); // a hatch is painted as one part
    fill.SetHatchStyle(HatchStyleHorizontal);
    Paint({0, 0, 20, 10});
    EXPECT_NE(dib.Pixel(10, 8), RGB(0, 255, 0));
}

TEST_F(FillPaint, OpacityArgumentsBelow255OverrideTheProperties) {
    // A red area with a green border over blue. An argument of 255 stands for the property.
    struct Case {
        std::uint8_t Opacity, BorderOpacity; // the fill's own
        std::uint8_t Argument, BorderArgument;
        int Alpha, BorderAlpha; // what must show
    };
    const Case cases[] = {
        {100, 255, 255, 255, 100, 255}, {100, 255, 50, 255, 50, 255}, {200, 255, 0, 255, 0, 255},
        {10, 255, 254, 255, 254, 255},  {255, 60, 255, 255, 255, 60}, {255, 255, 255, 60, 255, 60},
        {255, 200, 255, 30, 255, 30},   {255, 255, 50, 255, 50, 255}, // the border keeps its own
    };
    fill.SetColor(RGB(255, 0, 0));
    fill.SetGradientType(gtSolid);
    fill.SetBorderColor(RGB(0, 255, 0));
    for (const Case& k : cases) {
        fill.SetOpacity(k.Opacity);
        fill.SetBorderOpacity(k.BorderOpacity);
        Paint({5, 5, 20, 20}, k.Argument, k.BorderArgument);
        const COLORREF area = Over(RGB(255, 0, 0), k.Alpha, kBack);
        const COLORREF border = Over(RGB(0, 255, 0), k.BorderAlpha, area);
        SCOPED_TRACE(testing::Message()
                     << "opacity " << int(k.Opacity) << "/" << int(k.Argument) << " border "
                     << int(k.BorderOpacity) << "/" << int(k.BorderArgument));
        EXPECT_TRUE(Near(dib.Pixel(15, 15), area)) << Hex(dib.Pixel(15, 15)) << " " << Hex(area);
        EXPECT_TRUE(Near(dib.Pixel(5, 15), border)) << Hex(dib.Pixel(5, 15)) << " " << Hex(border);
    }
}

TEST_F(FillPaint, LowerLinearHalfStartsWithAStripOfItsStartColour) {
    fill.SetColor(RGB(0, 255, 0));
    fill.SetGradientType(gtSolid);
    fill.SetColorMirror(RGB(255, 0, 0));
    fill.SetColorMirrorTo(RGB(0, 0, 0));
    fill.SetGradientMirrorType(gtVertical);
    Paint({0, 0, 30, 20}); // halves (0, 0, 30, 11) and (0, 9, 30, 11)
    EXPECT_EQ(dib.Pixel(15, 8), RGB(0, 255, 0));
    for (int x : {0, 15, 29})
        EXPECT_EQ(dib.Pixel(x, 9), RGB(255, 0, 0)) << "strip at x " << x;
    // Below the strip the gradient runs on towards black.
    const COLORREF next = dib.Pixel(15, 10), last = dib.Pixel(15, 19);
    EXPECT_LT(GetRValue(next), 255);
    EXPECT_GT(GetRValue(next), GetRValue(last));
    EXPECT_EQ(GetGValue(next), 0);
}

TEST_F(FillPaint, RadialFillsShineFromTheMiddleOfAnEdgeOverTheirBaseColour) {
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0);
    const COLORREF yellow = RGB(255, 255, 0), cyan = RGB(0, 255, 255);
    // Upward, one part: the start colour everywhere the ellipse (0, -20, 40, 60) leaves, the
    // end colour shining from the middle of the top edge.
    fill.SetColor(red);
    fill.SetColorTo(green);
    fill.SetGradientType(gtRadial);
    Paint({0, 0, 40, 40});
    EXPECT_EQ(dib.Pixel(1, 38), red);
    EXPECT_EQ(dib.Pixel(38, 38), red);
    EXPECT_TRUE(Near(dib.Pixel(20, 0), green, 40)) << Hex(dib.Pixel(20, 0));

    // Downward, the lower half (0, 19, 40, 21): the end colour outside the ellipse
    // (0, 19, 40, 31.5), the start colour shining from the middle of the bottom edge.
    fill.SetGradientType(gtSolid);
    fill.SetColorMirror(yellow);
    fill.SetColorMirrorTo(cyan);
    fill.SetGradientMirrorType(gtRadial);
    Paint({0, 0, 40, 40});
    EXPECT_EQ(dib.Pixel(20, 10), red);
    EXPECT_EQ(dib.Pixel(1, 20), cyan);
    EXPECT_EQ(dib.Pixel(38, 20), cyan);
    EXPECT_TRUE(Near(dib.Pixel(20, 39), yellow, 40)) << Hex(dib.Pixel(20, 39));
}

TEST_F(FillPaint, AngleTurnsTheGradient) {
    struct Case {
        int Angle;
        POINT Start, End;   // nearest the start colour, nearest the end colour
        POINT Same1, Same2; // across the gradient: one colour
    };
    const Case cases[] = {
        {0, {1, 20}, {38, 20}, {20, 1}, {20, 38}},
        {90, {20, 1}, {20, 38}, {1, 20}, {38, 20}},
        {180, {38, 20}, {1, 20}, {20, 1}, {20, 38}},
        {270, {20, 38}, {20, 1}, {1, 20}, {38, 20}},
    };
    fill.SetColor(RGB(255, 0, 0));
    fill.SetColorTo(RGB(0, 255, 0));
    fill.SetGradientType(gtAngle);
    for (const Case& k : cases) {
        fill.SetAngle(k.Angle);
        Paint({0, 0, 40, 40});
        SCOPED_TRACE(testing::Message() << "angle " << k.Angle);
        const COLORREF start = dib.Pixel(k.Start.x, k.Start.y);
        const COLORREF end = dib.Pixel(k.End.x, k.End.y);
        EXPECT_GT(GetRValue(start), 200) << Hex(start);
        EXPECT_LT(GetGValue(start), 80) << Hex(start);
        EXPECT_GT(GetGValue(end), 200) << Hex(end);
        EXPECT_LT(GetRValue(end), 80) << Hex(end);
        EXPECT_TRUE(Near(dib.Pixel(k.Same1.x, k.Same1.y), dib.Pixel(k.Same2.x, k.Same2.y), 3));
    }
}

TEST_F(FillPaint, ShadowWithoutColourTakesNothingOffTheRectangle) {
    fill.SetShadowOffset(4);
    fill.SetShadowColor(clNone);
    fill.SetColor(RGB(255, 255, 255));
    fill.SetGradientType(gtSolid);
    fill.SetBorderColor(RGB(255, 0, 0));
    for (TShadowType type : {stRightBottom, stBottom, stSurround}) {
        fill.SetShadowType(type);
        EXPECT_EQ(Paint({2, 2, 30, 30}), (TGPRectF{2, 2, 30, 30})) << "type " << int(type);
        EXPECT_EQ(dib.Pixel(2, 16), RGB(255, 0, 0)) << "type " << int(type);
        EXPECT_EQ(dib.Pixel(32, 16), RGB(255, 0, 0)) << "type " << int(type);
        EXPECT_EQ(dib.Pixel(16, 32), RGB(255, 0, 0)) << "type " << int(type);
        EXPECT_EQ(dib.Pixel(30, 30), RGB(255, 255, 255)) << "type " << int(type);
    }
}

TEST_F(FillPaint, FocusOutlineIsDotted) {
    fill.SetColor(RGB(255, 255, 255));
    fill.SetGradientType(gtSolid);
    fill.SetFocus(true);
    fill.SetFocusColor(RGB(255, 0, 0));
    Paint({2, 2, 30, 30}); // FocusRect (3, 3, 28, 28)
    int dots = 0, gaps = 0;
    for (int x = 5; x < 29; ++x) {
        const COLORREF c = dib.Pixel(x, 3);
        dots += c == RGB(255, 0, 0);
        gaps += c == RGB(255, 255, 255);
    }
    EXPECT_GE(dots, 8);
    EXPECT_GE(gaps, 8);
    EXPECT_EQ(dib.Pixel(16, 16), RGB(255, 255, 255));
}

TEST_F(FillPaint, SurroundShadowLeavesTheInnerRectangle) {
    fill.SetShadowOffset(4);
    fill.SetShadowType(stSurround);
    fill.SetColor(RGB(255, 255, 255));
    fill.SetGradientType(gtSolid);
    EXPECT_EQ(Paint({2, 2, 30, 30}), (TGPRectF{6, 6, 22, 22}));
    EXPECT_EQ(dib.Pixel(16, 16), RGB(255, 255, 255));
}

TEST_F(FillPaint, ThinRectangleIsOneLineInTheBorderColour) {
    fill.SetColor(RGB(255, 255, 255));
    fill.SetGradientType(gtSolid);
    fill.SetBorderColor(RGB(255, 0, 0));
    Paint({2, 10, 30, 1});
    EXPECT_EQ(dib.Pixel(15, 10), RGB(255, 0, 0));
    EXPECT_EQ(dib.Pixel(15, 12), kBack);
    fill.SetBorderColor(clNone);
    Paint({2, 10, 30, 1});
    EXPECT_EQ(dib.Pixel(15, 10), kBack);
}

TEST_F(FillPaint, EveryKindPaintsWithoutLeavingObjects) {
    fill.SetColor(RGB(255, 0, 0));
    fill.SetColorTo(RGB(0, 255, 0));
    fill.SetBorderColor(RGB(0, 0, 0));
    fill.SetRounding(5);
    fill.SetShadowOffset(3);
    fill.SetFocus(true);
    Paint({0, 0, 30, 30}); // warm-up
    const int before = CountGdiObjects();
    for (int kind = gtSolid; kind <= gtNone; ++kind)
        for (int glow = gmNone; glow <= gmRadialGradient; ++glow)
            for (int shadow = stRightBottom; shadow <= stSurround; ++shadow) {
                fill.SetGradientType(TGradientType(kind));
                fill.SetGradientMirrorType(TGradientType(kind));
                fill.SetColorMirror(kind % 2 ? clNone : RGB(0, 0, 128));
                fill.SetColorMirrorTo(RGB(128, 128, 0));
                fill.SetGlow(TGlowMode(glow));
                fill.SetShadowType(TShadowType(shadow));
                fill.SetRoundingType(TFillRoundingType(kind % 6));
                Paint({0, 0, 30, 30});
            }
    EXPECT_LE(CountGdiObjects() - before, 1);
}

TEST_F(FillPaint, PicturesArePlacedAndTiled) {
    EXPECT_FALSE(fill.Picture().LoadFromData({1, 2, 3, 4}));
    EXPECT_TRUE(fill.Picture().Empty());

    fill.SetColor(clNone);
    ASSERT_TRUE(fill.Picture().LoadFromData(SolidPng(4, 2, RGB(255, 0, 0))));
    EXPECT_EQ(fill.Picture().Width(), 4);
    fill.SetPicturePosition(ppCenterCenter);
    Paint({0, 0, 30, 30}); // at (13, 14), 4 x 2
    EXPECT_EQ(dib.Pixel(14, 14), RGB(255, 0, 0));
    EXPECT_EQ(dib.Pixel(14, 17), kBack);
    EXPECT_EQ(dib.Pixel(10, 14), kBack);

    fill.SetPicturePosition(ppBottomRight);
    fill.SetPictureSize(psCustom);
    fill.SetPictureWidth(10);
    fill.SetPictureHeight(6);
    Paint({0, 0, 30, 30}); // stretched to (20, 24), 10 x 6
    EXPECT_EQ(dib.Pixel(25, 27), RGB(255, 0, 0));
    EXPECT_EQ(dib.Pixel(18, 27), kBack);

    // A tiled background picture under a texture fill covers the whole area.
    fill.Picture().Clear();
    fill.SetColor(RGB(255, 255, 255));
    fill.SetGradientType(gtTexture);
    fill.SetBackGroundPicturePosition(ppTiled);
    ASSERT_TRUE(fill.BackGroundPicture().LoadFromData(SolidPng(3, 3, RGB(0, 255, 0))));
    Paint({0, 0, 30, 30});
    EXPECT_EQ(dib.Pixel(1, 1), RGB(0, 255, 0));
    EXPECT_EQ(dib.Pixel(28, 28), RGB(0, 255, 0));
    EXPECT_EQ(dib.Pixel(34, 34), kBack);
}

TEST_F(FillPaint, GlowAndFocusWithoutBackground) {
    fill.SetColor(clNone);
    fill.SetGlow(gmGradient);
    fill.SetGlowGradientColor(RGB(255, 255, 255));
    fill.SetFocus(true);
    fill.SetFocusColor(RGB(255, 0, 0));
    fill.SetRounding(4);
    dib.Fill(kBack);
    Gdiplus::Graphics g(dib.dc());
    g.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
    fill.Fill(&g, {0, 0, 30, 30});
    // The focus outline is drawn without smoothing and the caller's mode comes back.
    EXPECT_EQ(g.GetSmoothingMode(), Gdiplus::SmoothingModeAntiAlias);
    EXPECT_EQ(fill.FocusRect(), (TGPRectF{1, 1, 28, 28}));
    // The top shine lightens the top band; the middle keeps the surface's colour.
    COLORREF shine = dib.Pixel(15, 2);
    EXPECT_GT(GetRValue(shine), 60);
    EXPECT_EQ(dib.Pixel(15, 15), kBack);
}

namespace {

void WriteBytes(const wchar_t* path, const std::vector<std::uint8_t>& bytes) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_EQ(written, bytes.size());
}

} // namespace

TEST(FillPictureFile, LoadsAnImageFileAndRefusesWhatItCannotRead) {
    ScopedGdiPlus gdiplus;
    wchar_t dir[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"pic", 0, path);
    const std::vector<std::uint8_t> bmp = SolidPng(5, 3, RGB(9, 8, 7));
    WriteBytes(path, bmp);
    TFillPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    ASSERT_TRUE(picture.LoadFromFile(path));
    EXPECT_EQ(picture.Data(), bmp);
    EXPECT_EQ(picture.Width(), 5);
    EXPECT_EQ(picture.Height(), 3);
    EXPECT_EQ(changes, 1);

    // A file GDI+ cannot decode, a folder and a missing file leave the picture as it was.
    WriteBytes(path, {1, 2, 3, 4});
    EXPECT_FALSE(picture.LoadFromFile(path));
    EXPECT_FALSE(picture.LoadFromFile(dir));
    DeleteFileW(path);
    EXPECT_FALSE(picture.LoadFromFile(path));
    EXPECT_EQ(picture.Data(), bmp);
    EXPECT_EQ(changes, 1);
}

TEST(GPFillFile, RoundTripThroughAnIniSection) {
    ScopedGdiPlus gdiplus;
    wchar_t dir[MAX_PATH], path[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"fil", 0, path);
    TGPFill source;
    source.SetColor(clNone);
    source.SetColorMirror(clBtnFace);
    source.SetGradientType(gtHatch);
    source.SetHatchStyle(HatchStyleSolidDiamond);
    source.SetAngle(-45);
    source.SetOpacityTo(7);
    source.SetRoundingType(rtLeft);
    source.SetPictureAspectRatio(true);
    ASSERT_TRUE(source.Picture().LoadFromData(SolidPng(3, 2, RGB(1, 2, 3))));
    source.SaveToFile(path, L"Fill");
    source.SaveToFile(path, L"Other");

    TGPFill target;
    int changes = 0;
    target.OnChange = [&](TObject*) { ++changes; };
    target.LoadFromFile(path, L"Fill");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(target.Color(), clNone);
    EXPECT_EQ(target.ColorMirror(), clBtnFace);
    EXPECT_EQ(target.GradientType(), gtHatch);
    EXPECT_EQ(target.HatchStyle(), HatchStyleSolidDiamond);
    EXPECT_EQ(target.Angle(), -45);
    EXPECT_EQ(target.OpacityTo(), 7);
    EXPECT_EQ(target.RoundingType(), rtLeft);
    EXPECT_TRUE(target.PictureAspectRatio());
    EXPECT_EQ(target.Picture().Data(), source.Picture().Data());
    EXPECT_TRUE(target.BackGroundPicture().Empty());
    EXPECT_EQ(target.ColorTo(), 0x808080u); // saved at its initial value

    TGPFill untouched;
    untouched.LoadFromFile(path, L"Missing"); // an absent section changes nothing
    EXPECT_EQ(untouched.Color(), 0xC0C0C0u);
    DeleteFileW(path);
}
