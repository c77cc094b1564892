// Decisions of the fill painter: halves, shadow remainders, rounding of halves and picture
// placement. (Opacities and the effective gradient kind are checked by what they paint.)
#include <gtest/gtest.h>

#include "marquee/core/FillGeometry.h"

TEST(FillHalves, OverlapByTwoPixels) {
    TFillHalves h = SplitHalves({3, 7, 20, 10});
    EXPECT_EQ(h.Upper, (TGPRectF{3, 7, 20, 6}));
    EXPECT_EQ(h.Lower, (TGPRectF{3, 11, 20, 6}));
}

TEST(FillShadow, Remainders) {
    const TGPRectF r{10, 20, 100, 50};
    EXPECT_EQ(ShadowRemainder(r, stSurround, 4), (TGPRectF{14, 24, 92, 42}));
    EXPECT_EQ(ShadowRemainder(r, stRightBottom, 4), (TGPRectF{10, 20, 96, 46}));
    EXPECT_EQ(ShadowRemainder(r, stBottom, 4), (TGPRectF{10, 20, 100, 46}));
    EXPECT_EQ(ShadowRemainder(r, stSurround, 0), r);
}

TEST(FillRounding, HalvesAndCorners) {
    struct Case {
        TFillRoundingType type, upper, lower;
    };
    const Case cases[] = {
        {rtNone, rtNone, rtNone},  {rtTop, rtTop, rtNone},   {rtBottom, rtNone, rtBottom},
        {rtBoth, rtTop, rtBottom}, {rtLeft, rtLeft, rtLeft}, {rtRight, rtRight, rtRight},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UpperRounding(c.type), c.upper) << int(c.type);
        EXPECT_EQ(LowerRounding(c.type), c.lower) << int(c.type);
    }
    TRoundedCorners left = CornersOf(rtLeft);
    EXPECT_TRUE(left.TopLeft && left.BottomLeft && !left.TopRight && !left.BottomRight);
    TRoundedCorners right = CornersOf(rtRight);
    EXPECT_TRUE(!right.TopLeft && !right.BottomLeft && right.TopRight && right.BottomRight);
}

TEST(FillPicture, Placement) {
    const TPicturePlace area{10, 20, 101, 51};
    struct Case {
        TFillPicturePosition pos;
        int x, y;
    };
    // 21 x 11 picture, offsets (2, 3); centring truncates the free space's half.
    const Case cases[] = {
        {ppTopLeft, 12, 23},    {ppTopCenter, 52, 23},    {ppTopRight, 92, 23},
        {ppCenterLeft, 12, 43}, {ppCenterCenter, 52, 43}, {ppCenterRight, 92, 43},
        {ppBottomLeft, 12, 63}, {ppBottomCenter, 52, 63}, {ppBottomRight, 92, 63},
        {ppCustom, 2, 3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlacePicture(c.pos, area, 2, 3, 21, 11), (TPicturePlace{c.x, c.y, 21, 11}))
            << int(c.pos);
    EXPECT_EQ(FitPicture({0, 0, 100, 100}, 50, 25), (TPicturePlace{0, 25, 100, 50}));
    EXPECT_EQ(FitPicture({0, 0, 100, 100}, 10, 40), (TPicturePlace{37, 0, 25, 100}));
}
