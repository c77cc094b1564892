// The fill description under Wine: change notification, Assign, and what Fill paints for
// the cases whose painted result is fixed.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "framework/win32/GdiPlus.h"
#include "marquee/tests/MarqueeFixture.h"
#include "marquee/win32/GPFill.h"
#include "tests/support/WinTestSupport.h"

namespace {

constexpr COLORREF kBack = RGB(0, 0, 255); // what the surface holds before the fill

class FillPaint : public testing::Test {
  protected:
    // Paints `fill` into R on a 40 x 40 surface of kBack, without anti-aliasing.
    TGPRectF Paint(TGPRectF r, std::uint8_t opacity = 255) {
        dib.Fill(kBack);
        Gdiplus::Graphics g(dib.dc());
        return fill.Fill(&g, r, 255, opacity, 255, 255, 255);
    }
    ScopedGdiPlus gdiplus;
    DibSurface dib{40, 40};
    TGPFill fill;
};

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
    fill.SetBorderColor(RGB(255, 0, 0));
    Paint({5, 5, 20, 20});
    EXPECT_EQ(dib.Pixel(15, 15), kBack);
    EXPECT_EQ(dib.Pixel(5, 15), RGB(255, 0, 0));
    EXPECT_EQ(dib.Pixel(25, 15), RGB(255, 0, 0));
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

TEST_F(FillPaint, OpacityArgumentBelow255OverridesTheProperty) {
    fill.SetColor(RGB(255, 0, 0));
    fill.SetGradientType(gtSolid);
    fill.SetOpacity(100);
    Paint({0, 0, 30, 30}, 255); // the property: alpha 100 of red over blue
    COLORREF c = dib.Pixel(10, 10);
    EXPECT_NEAR(GetRValue(c), 100, 2);
    EXPECT_NEAR(GetBValue(c), 155, 2);
    Paint({0, 0, 30, 30}, 50); // the argument: alpha 50
    c = dib.Pixel(10, 10);
    EXPECT_NEAR(GetRValue(c), 50, 2);
    EXPECT_NEAR(GetBValue(c), 205, 2);
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

namespace {

// A w x h 24-bit BMP file of one colour.
std::vector<std::uint8_t> SolidBmp(int w, int h, COLORREF c) {
    const int stride = (w * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + stride * h;
    std::vector<std::uint8_t> data(file.bfSize, 0);
    std::memcpy(data.data(), &file, sizeof(file));
    std::memcpy(data.data() + sizeof(file), &info, sizeof(info));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = data.data() + file.bfOffBits + y * stride + x * 3;
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    return data;
}

} // namespace

TEST_F(FillPaint, PicturesArePlacedAndTiled) {
    EXPECT_FALSE(fill.Picture().LoadFromData({1, 2, 3, 4}));
    EXPECT_TRUE(fill.Picture().Empty());

    fill.SetColor(clNone);
    ASSERT_TRUE(fill.Picture().LoadFromData(SolidBmp(4, 2, RGB(255, 0, 0))));
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
    ASSERT_TRUE(fill.BackGroundPicture().LoadFromData(SolidBmp(3, 3, RGB(0, 255, 0))));
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
    ASSERT_TRUE(source.Picture().LoadFromData(SolidBmp(3, 2, RGB(1, 2, 3))));
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
