// The busy indicator's clock, wrap-around and bullet placement, checked against the values
// worked out for the assistant window (445 x 417, six 10-pixel bullets, spacing 3).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "marquee/core/BulletPlacement.h"
#include "marquee/core/MarqueeMotion.h"

namespace {

constexpr int kW = 445;
constexpr int kH = 417;
constexpr float kStretch = 1.7f;
const TBulletGeometry kWindowBullets{6, 10, 10, 3};

// Runs the clock as the control does: tick, the clock's leftward wrap, then store through the
// position's wrap-around.
float Tick(float p, int width = kW, float step = 10.0f, float factor = 3.0f) {
    const float row = RowWidth(6, 10, 3);
    std::optional<float> next = TickPosition(p, step, factor);
    return next ? WrapPosition(WrapLeftward(p, *next, width, row), width, row) : p;
}

} // namespace

TEST(MarqueeZone, WindowValues) {
    TBulletZone z = ComputeBulletZone(kWindowBullets, kStretch, kW, kH);
    EXPECT_EQ(z.RowWidth, 77.0f);
    EXPECT_NEAR(z.ZoneWidth, 130.9, 1e-4);
    EXPECT_NEAR(z.ZoneLeft, 156.55, 1e-4);
    EXPECT_EQ(z.Top, 203.0f);
    EXPECT_EQ(RightLimit(kW, z.RowWidth), 261.0f);
    EXPECT_EQ(WrapPosition(261.01f, kW, z.RowWidth), -261.0f);
    EXPECT_EQ(kStretch, 1.70000005f);
}

TEST(MarqueeZone, RowWidthOfNoBulletsIsMinusOne) {
    EXPECT_EQ(RowWidth(0, 10, 3), -1.0f);
    EXPECT_TRUE(PlaceBullets({0, 10, 10, 3}, kStretch, 0, kW, kH).empty());
}

TEST(MarqueeClock, WindowStepAndWrapCycle) {
    float p = Tick(0);
    EXPECT_NEAR(p, 3.3333333, 1e-6);

    // Wraps first on tick 79, then every 157 ticks.
    p = 0;
    std::vector<int> wraps;
    for (int tick = 1; tick <= 79 + 3 * 157; ++tick) {
        float next = Tick(p);
        if (next < p) wraps.push_back(tick);
        p = next;
    }
    EXPECT_EQ(wraps, (std::vector<int>{79, 79 + 157, 79 + 2 * 157, 79 + 3 * 157}));
}

TEST(MarqueeClock, StepLengthEdges) {
    struct Case {
        float step, factor, p;
        std::optional<float> expected; // nothing: the clock does not move
    };
    const Case cases[] = {
        {0.009f, 1.0f, 5.0f, std::nullopt},  // shorter than 0.01: never moves
        {-0.009f, 1.0f, 5.0f, std::nullopt}, // likewise backwards
        {0.0f, 3.0f, 5.0f, std::nullopt},    // no step at all
        {0.02f, 3.0f, 0.0f, 0.01f},          // 0.0067 raised to the 0.01 minimum
        {-0.02f, 3.0f, 0.0f, -0.01f},        // the minimum backwards
        {10.0f, 3.0f, 100.0f, 103.333336f},  // the window's step from 100
        {10.0f, 0.0f, 5.0f, std::nullopt},   // factor 0: stands still instead of jumping
        {10.0f, -2.0f, 5.0f, 5.01f},         // a negative factor moves by the minimum
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "step " << c.step << " factor " << c.factor);
        std::optional<float> got = TickPosition(c.p, c.step, c.factor);
        ASSERT_EQ(got.has_value(), c.expected.has_value());
        if (got) {
            EXPECT_FLOAT_EQ(*got, *c.expected);
        }
    }
}

TEST(MarqueePosition, OnlyTheRightEndWrapsAWrittenValue) {
    const float R = 77;
    EXPECT_EQ(WrapPosition(261.0f, kW, R), 261.0f);      // exactly the limit stays
    EXPECT_EQ(WrapPosition(261.00002f, kW, R), -261.0f); // just beyond restarts
    EXPECT_EQ(WrapPosition(10000.0f, kW, R), -261.0f);
    EXPECT_EQ(WrapPosition(-261.0f, kW, R), -261.0f); // the restart value itself stays
    EXPECT_EQ(WrapPosition(-100.0f, kW, R), -100.0f);
    EXPECT_EQ(WrapPosition(-261.5f, kW, R), -261.5f); // however far left: kept
    EXPECT_EQ(WrapPosition(-1e6f, kW, R), -1e6f);
}

TEST(MarqueePosition, ClockWrapsLeftwardMotionOnlyAndKeepsAHeldBackRow) {
    EXPECT_EQ(Tick(-260.0f, kW, -10.0f), 261.0f); // leaving on the left: back on the right
    EXPECT_FLOAT_EQ(Tick(-250.0f, kW, -10.0f), -253.33333f);
    // A row written far left moves right from there, tick by tick.
    EXPECT_FLOAT_EQ(Tick(-300.0f), -296.66667f);
    for (float p = -300; p < 0;) { // no jump on the way in
        const float next = Tick(p);
        ASSERT_NEAR(next - p, 10.0 / 3, 1e-3) << "from " << p;
        p = next;
    }
}

TEST(MarqueePlacement, WindowLeftEdges) {
    struct Case {
        float position;
        double lefts[6];
    };
    const Case cases[] = {
        {-100, {-78.28, -28.20, 16.03, 54.43, 86.98, 113.68}},
        {0, {156.55, 169.55, 182.55, 195.55, 208.55, 221.55}},
        {100, {256.55, 269.55, 282.55, 302.83, 332.26, 367.53}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "P = " << c.position);
        std::vector<TGPRectF> rects = PlaceBullets(kWindowBullets, kStretch, c.position, kW, kH);
        ASSERT_EQ(rects.size(), 6u);
        for (int i = 0; i < 6; ++i) {
            EXPECT_NEAR(rects[i].X, c.lefts[i], 0.005) << "bullet " << i;
            EXPECT_EQ(rects[i].Y, 203.0f);
            EXPECT_EQ(rects[i].Width, 10.0f);
            EXPECT_EQ(rects[i].Height, 10.0f);
        }
    }
    for (const TGPRectF& r : PlaceBullets(kWindowBullets, kStretch, 261, kW, kH))
        EXPECT_GE(r.X, kW);
}

TEST(MarqueePlacement, NoWidthPlacesNothing) {
    EXPECT_TRUE(PlaceBullets(kWindowBullets, kStretch, 0, 0, kH).empty());
    EXPECT_TRUE(PlaceBullets(kWindowBullets, kStretch, 50, 0, kH).empty());
}

TEST(MarqueePlacement, BulletsBoxCoversEveryTouchedPixelWithItsMargin) {
    const std::vector<TGPRectF> atZero = PlaceBullets(kWindowBullets, kStretch, 0, kW, kH);
    std::vector<TGPRectF> twoRows = atZero;
    for (const TGPRectF& r : PlaceBullets(kWindowBullets, kStretch, 100, kW, kH))
        twoRows.push_back(r);
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        const char* name;
        std::vector<TGPRectF> rects;
        int margin;
        std::optional<TPixelBox> expected;
    };
    const Case cases[] = {
        // 156.55 .. 231.55 x 203 .. 213
        {"the window's row at 0", atZero, 0, TPixelBox{156, 203, 232, 213}},
        {"with a margin of 2", atZero, 2, TPixelBox{154, 201, 234, 215}},
        // from 156.55 to the last bullet at 100: 367.53 + 10
        {"two rows", twoRows, 0, TPixelBox{156, 203, 378, 213}},
        {"whole-pixel edges stay", {{10, 20, 5, 5}}, 0, TPixelBox{10, 20, 15, 25}},
        {"no bullets", {}, 2, TPixelBox{}},
        {"far out is held within int",
         {{-3e38f, 0, 10, 10}},
         0,
         TPixelBox{-1000000000, 0, -1000000000, 10}},
        {"not a number", {{std::nanf(""), 0, 10, 10}}, 2, std::nullopt},
        {"infinite", {{0, 0, inf, 10}}, 2, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<TPixelBox> got = BulletsBox(c.rects, c.margin);
        ASSERT_EQ(got.has_value(), c.expected.has_value());
        if (got) {
            EXPECT_EQ(got->Left, c.expected->Left);
            EXPECT_EQ(got->Top, c.expected->Top);
            EXPECT_EQ(got->Right, c.expected->Right);
            EXPECT_EQ(got->Bottom, c.expected->Bottom);
        }
    }
}
