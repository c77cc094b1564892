// The colour presets applied to a busy indicator: every row of the preset table, the default
// style, colour tones, and a stored preset number that recolours nothing.
#include <gtest/gtest.h>

#include "marquee/tests/MarqueeFixture.h"

namespace {

constexpr TColor U = 0x0BADF00D; // "unchanged": the sentinel the test sets beforehand
constexpr TColor N = clNone;

struct Row {
    TStylePreset style;
    TColor color, colorTo, mirror, mirrorTo, border;
    int gradient, mirrorGradient; // -1: unchanged
    TColor bulletBorder, bullet;
};

// The colours every preset sets, written out independently of the code under test.
const Row kRows[] = {
    {tsOffice2003Blue, 0xFDEADA, 0xE4AE88, N, N, 0xDFD2C5, -1, -1, 0xDFD2C5, 0x94E6FB},
    {tsOffice2003Silver, 0xF7F3F3, 0xE6D8D8, N, N, 0x927476, -1, -1, 0x927476, 0x94E6FB},
    {tsOffice2003Olive, 0xCFF0EA, 0x8CC0B1, N, N, 0x6B7760, -1, -1, 0x6B7760, 0x94E6FB},
    {tsOffice2003Classic, 0xFFFFFF, 0xC9D1D5, N, N, 0x808080, -1, -1, 0x808080, 0xB59285},
    {tsOffice2007Luna, 0xFAF1E9, 0xEDD8C7, 0xEDD8C7, 0xFFF2E7, 0xE3B28D, gtVertical, gtVertical,
     0xE3B28D, 0xAAD9FF},
    {tsOffice2007Obsidian, 0xCFC6C1, 0xC5BBB4, 0xC5BBB4, 0xECECE5, 0x000000, -1, gtVertical,
     0x000000, 0xAAD9FF},
    {tsWindowsXP, 0xFF00000F, 0xFF00000F, N, N, 0x000000, -1, -1, 0x000000, 0xFF000003},
    {tsWhidbey, 0xFFFFFF, 0xD9E9EC, N, N, 0x828F92, -1, -1, 0x828F92, 0x94E6FB},
    {tsCustom, U, U, U, U, U, -1, -1, U, U},
    {tsOffice2007Silver, 0xF6F1EE, 0xE7DCD5, 0xE7DCD5, 0xF4F4EE, 0x74706F, -1, gtVertical, 0x74706F,
     0xAAD9FF},
    {tsWindowsVista, 0xFDF8F1, 0xFCEFD5, N, N, 0xFDDE99, -1, -1, 0xFDDE99, 0xFEF9F0},
    {tsWindows7, 0xFCEBDC, 0xFCDBC1, N, N, 0xCEA27D, -1, -1, 0xCEA27D, 0xFCEBDC},
    {tsTerminal, 0xFF00000F, 0xFF00000F, N, N, 0x000000, -1, -1, 0x000000, 0xFF00000D},
    {tsOffice2010Blue, 0xFDF6EF, 0xF0DAC7, N, N, 0xC7B29F, -1, -1, 0xC7B29F, 0x6CD0FF},
    {tsOffice2010Silver, 0xFFFFFF, 0xEDE5E0, N, N, 0xD2CDC8, -1, -1, 0xD2CDC8, 0x6CD0FF},
    {tsOffice2010Black, 0xBFBFBF, 0x919191, N, N, 0x6D6D6D, -1, -1, 0x6D6D6D, 0x6CD0FF},
    {tsWindows8, 0xFFFFFF, 0xFFFFFF, N, N, 0xE4E3E2, -1, -1, 0xE4E3E2, 0xF7E0C9},
    {tsOffice2013White, 0xFFFFFF, 0xFFFFFF, N, N, 0xD4D4D4, -1, -1, 0xD4D4D4, 0xFCE2C8},
    {tsOffice2013LightGray, 0xFFFFFF, 0xFFFFFF, N, N, 0xC6C6C6, -1, -1, 0xC6C6C6, 0xFCE2C8},
    {tsOffice2013Gray, 0xFFFFFF, 0xFFFFFF, N, N, 0xABABAB, -1, -1, 0xABABAB, 0xFCE2C8},
    {tsWindows10, 0xFFFFFF, 0xFFFFFF, N, N, 0xE4E3E2, -1, -1, 0xE4E3E2, 0xF7E0C9},
    {tsOffice2016White, 0xFFFFFF, 0xFFFFFF, N, N, 0xD4D4D4, -1, -1, 0xF2E1D5, 0xF2E1D5},
    {tsOffice2016Gray, 0xB2B2B2, 0xB2B2B2, N, N, 0x444444, -1, -1, 0xF2E1D5, 0xF2E1D5},
    {tsOffice2016Black, 0x363636, 0x363636, N, N, 0x444444, -1, -1, 0x6A6A6A, 0x6A6A6A},
};

void SetSentinels(TBusyMarquee& m) {
    TGPFill& f = m.Fill();
    f.SetColor(U);
    f.SetColorTo(U);
    f.SetColorMirror(U);
    f.SetColorMirrorTo(U);
    f.SetBorderColor(U);
    f.SetGradientType(gtHatch);
    f.SetGradientMirrorType(gtHatch);
    m.Bullets().SetBorderColor(U);
    m.Bullets().SetColor(U);
}

} // namespace

TEST(BusyMarqueePresets, EveryRowAppliesExactlyItsValues) {
    ASSERT_EQ(std::size(kRows), std::size_t(kStylePresetCount));
    MarqueeFixture fx;
    TBusyMarquee& m = *fx.marquee;
    for (const Row& r : kRows) {
        SCOPED_TRACE(testing::Message() << "preset " << int(r.style));
        SetSentinels(m);
        m.SetComponentStyle(r.style);
        EXPECT_EQ(m.GetComponentStyle(), r.style);
        EXPECT_EQ(m.Fill().Color(), r.color);
        EXPECT_EQ(m.Fill().ColorTo(), r.colorTo);
        EXPECT_EQ(m.Fill().ColorMirror(), r.mirror);
        EXPECT_EQ(m.Fill().ColorMirrorTo(), r.mirrorTo);
        EXPECT_EQ(m.Fill().BorderColor(), r.border);
        EXPECT_EQ(m.Fill().GradientType(), r.gradient < 0 ? gtHatch : r.gradient);
        EXPECT_EQ(m.Fill().GradientMirrorType(), r.mirrorGradient < 0 ? gtHatch : r.mirrorGradient);
        EXPECT_EQ(m.Bullets().BorderColor(), r.bulletBorder);
        EXPECT_EQ(m.Bullets().Color(), r.bullet);
    }
}

TEST(BusyMarqueePresets, PresetsRepaintThroughTheSetters) {
    MarqueeFixture fx;
    fx.form->Show();
    HWND wnd = fx.marquee->Handle();
    UpdateWindow(wnd);
    ASSERT_FALSE(GetUpdateRect(wnd, nullptr, FALSE));
    fx.marquee->SetComponentStyle(tsWindows10);
    EXPECT_TRUE(GetUpdateRect(wnd, nullptr, FALSE));
}

TEST(BusyMarqueePresets, StoredPresetNumberChangesNoColour) {
    MarqueeFixture fx;
    TBusyMarquee& m = *fx.marquee;
    SetSentinels(m);
    for (int stored : {0, 4, 8, 23, 200}) {
        m.ReadStylePreset(stored);
        EXPECT_EQ(m.StoredStylePreset(), stored);
        EXPECT_EQ(m.Fill().Color(), U);
        EXPECT_EQ(m.Fill().BorderColor(), U);
        EXPECT_EQ(m.Bullets().Color(), U);
        EXPECT_EQ(m.Fill().GradientType(), gtHatch);
    }
}

TEST(BusyMarqueePresets, DefaultStyleAndColourTones) {
    MarqueeFixture fx;
    TBusyMarquee& m = *fx.marquee;
    SetSentinels(m);
    m.ApplyDefaultStyle();
    EXPECT_EQ(m.Fill().Color(), 0xFFFFFFu);
    EXPECT_EQ(m.Fill().GradientType(), gtSolid);
    EXPECT_EQ(m.Fill().BorderColor(), 0x908070u);
    EXPECT_EQ(m.Bullets().Color(), 0x908070u);
    EXPECT_EQ(m.Fill().ColorTo(), U);

    TColorTones tones;
    tones.Background = {0x111111, 0x222222, 0x333333};
    tones.Selected = {0x444444, 0x555555, 0x666666};
    tones.Hover = {0x777777, 0x888888, 0x999999};
    m.SetColorTones(tones);
    EXPECT_EQ(m.Fill().Color(), 0x111111u);
    EXPECT_EQ(m.Fill().ColorTo(), 0x111111u);
    EXPECT_EQ(m.Fill().ColorMirror(), 0x111111u);
    EXPECT_EQ(m.Fill().ColorMirrorTo(), 0x111111u);
    EXPECT_EQ(m.Fill().BorderColor(), 0x222222u);
    EXPECT_EQ(m.Bullets().BorderColor(), 0x222222u);
    EXPECT_EQ(m.Bullets().Color(), 0x444444u);
}
