// DrawFlatFrame under Wine: pixel tables of the sunken types on a 193 x 24 rectangle with
// default, distinct and the edit's colours, a missing top side, and no GDI object left over.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "flatctl/win32/FlatFrame.h"
#include "framework/win32/Colors.h"
#include "tests/support/WinTestSupport.h"

namespace {

constexpr int kMargin = 3; // the rectangle sits this far inside the surface
constexpr int kW = 193, kH = 24;
constexpr COLORREF kSentinel = RGB(1, 2, 3);

struct Palette {
    const char* Name;
    TFlatFrameColors Colors;
};

const Palette kDefault{"default", {}};
const Palette kDistinct{
    "distinct",
    {RGB(200, 0, 0), RGB(0, 200, 0), RGB(0, 0, 200), RGB(200, 200, 0), RGB(0, 200, 200)}};

// What one pixel (relative to the rectangle) should be: a colour, or untouched.
using Expectation = std::function<TColor(int x, int y)>;

// Paints the frame on a sentinel-filled surface and compares every pixel of the surface;
// pixels outside the rectangle must stay untouched. Answers the first mismatch, or "".
std::string CheckFrame(TFlatBorderType type, TBorderSides sides, const TFlatFrameColors& c,
                       const Expectation& expected) {
    DibSurface s(kW + 2 * kMargin, kH + 2 * kMargin);
    s.Fill(kSentinel);
    SetBkColor(s.dc(), RGB(9, 9, 9));
    RECT r{kMargin, kMargin, kMargin + kW, kMargin + kH};
    const RECT before = r;
    DrawFlatFrame(s.dc(), r, clBlack, clWhite, true, true, sides, type, c);
    if (!EqualRect(&r, &before)) return "caller's rectangle changed";
    if (GetBkColor(s.dc()) != RGB(9, 9, 9)) return "background colour not restored";
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const int rx = x - kMargin, ry = y - kMargin;
            const bool inside = rx >= 0 && ry >= 0 && rx < kW && ry < kH;
            const TColor want = inside ? expected(rx, ry) : clNone;
            const COLORREF wantRgb = want == clNone ? kSentinel : ColorToRGB(want);
            if (s.Pixel(x, y) != wantRgb) {
                char buf[96];
                snprintf(buf, sizeof buf, "pixel (%d,%d) of the rectangle is %06lX, want %06lX", rx,
                         ry, s.Pixel(x, y), wantRgb);
                return buf;
            }
        }
    return "";
}

// fbtSunken on all sides: shadow/highlight outside, dark shadow/face inside.
Expectation Sunken(const TFlatFrameColors& c) {
    return [c](int x, int y) -> TColor {
        if (x == kW - 1 || y == kH - 1) return c.Highlight;
        if (x == 0 || y == 0) return c.Shadow;
        if (x == kW - 2 || y == kH - 2) return c.Face;
        if (x == 1 || y == 1) return c.DkShadow;
        return clNone;
    };
}

// fbtSunkenOuter on all sides: shadow top and left, window right and bottom, face inside.
Expectation SunkenOuter(const TFlatFrameColors& c) {
    return [c](int x, int y) -> TColor {
        if (x == kW - 1 || y == kH - 1) return c.Window;
        if (x == 0 || y == 0) return c.Shadow;
        if (x == 1 || y == 1 || x == kW - 2 || y == kH - 2) return c.Face;
        return clNone;
    };
}

} // namespace

TEST(DrawFlatFrame, SunkenTypesOnAllSidesPixelForPixel) {
    struct Case {
        TFlatBorderType Type;
        const Palette* Colors;
    };
    for (const Case& k : {Case{fbtSunken, &kDefault}, Case{fbtSunken, &kDistinct},
                          Case{fbtSunkenOuter, &kDefault}, Case{fbtSunkenOuter, &kDistinct}}) {
        const Expectation e =
            k.Type == fbtSunken ? Sunken(k.Colors->Colors) : SunkenOuter(k.Colors->Colors);
        EXPECT_EQ(CheckFrame(k.Type, AllBorderSides, k.Colors->Colors, e), "")
            << "type " << int(k.Type) << ", " << k.Colors->Name << " colours";
    }
}

TEST(DrawFlatFrame, WithoutTopSideTheLeftLinesStartAtTheTopRow) {
    const TFlatFrameColors c = kDistinct.Colors;
    const TBorderSides sides = ebsLeft | ebsRight | ebsBottom;
    // The rectangle is not shrunk at the top: the inner ring's side lines reach row 0.
    EXPECT_EQ(CheckFrame(fbtSunken, sides, c,
                         [&](int x, int y) -> TColor {
                             if (x == kW - 1 || y == kH - 1) return c.Highlight;
                             if (x == 0) return c.Shadow;
                             if (x == kW - 2 || y == kH - 2) return c.Face;
                             if (x == 1) return c.DkShadow;
                             return clNone;
                         }),
              "");
    // The window-coloured right line starts at the top row, not above the rectangle.
    EXPECT_EQ(CheckFrame(fbtSunkenOuter, sides, c,
                         [&](int x, int y) -> TColor {
                             if (x == kW - 1 || y == kH - 1) return c.Window;
                             if (x == 0) return c.Shadow;
                             if (x == 1 || x == kW - 2 || y == kH - 2) return c.Face;
                             return clNone;
                         }),
              "");
}

TEST(DrawFlatFrame, EditColoursGiveOneColouredOuterRingAndAWhiteInnerRing) {
    const TColor blue = 0x00BB6F00;
    const TFlatFrameColors edit{clWhite, clWhite, blue, blue, blue};
    auto rings = [&](int x, int y) -> TColor {
        if (x == 0 || y == 0 || x == kW - 1 || y == kH - 1) return blue;
        if (x == 1 || y == 1 || x == kW - 2 || y == kH - 2) return clWhite;
        return clNone;
    };
    EXPECT_EQ(CheckFrame(fbtSunken, AllBorderSides, edit, rings), "") << "fbtSunken";
    EXPECT_EQ(CheckFrame(fbtSunkenOuter, AllBorderSides, edit, rings), "") << "fbtSunkenOuter";
}

TEST(DrawFlatFrame, NoColourLeavesItsLinesUnpainted) {
    TFlatFrameColors c = kDistinct.Colors;
    c.Highlight = clNone;
    const Expectation full = Sunken(c);
    EXPECT_EQ(CheckFrame(fbtSunken, AllBorderSides, c, full), "");
}

TEST(DrawFlatFrame, LeavesNoGdiObjectBehind) {
    DibSurface s(64, 64);
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 200; ++i)
        for (int type = fbtFlat; type <= fbtColorLineBorder; ++type)
            DrawFlatFrame(s.dc(), RECT{0, 0, 64, 64}, TColor(RGB(255, 0, 0)), clWhite, true, true,
                          AllBorderSides, TFlatBorderType(type), TFlatFrameColors{});
    EXPECT_EQ(CountGdiObjects(), before);
}
