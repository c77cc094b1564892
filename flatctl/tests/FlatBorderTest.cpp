// Flat frame geometry: every stroke of every type stays inside the rectangle, for every set
// of sides and down to degenerate sizes.
#include <gtest/gtest.h>

#include "flatctl/core/FlatBorder.h"

namespace {

bool Inside(const TRect& inner, const TRect& outer) {
    return !inner.IsEmpty() && inner.Left >= outer.Left && inner.Top >= outer.Top &&
           inner.Right <= outer.Right && inner.Bottom <= outer.Bottom;
}

bool IsLine(const TRect& r) {
    return r.Width() == 1 || r.Height() == 1;
}

} // namespace

TEST(FlatBorder, EveryTypeAndSideSetStaysInsideTheRectangle) {
    const TRect rects[] = {
        {5, 7, 198, 31}, {0, 0, 1, 1}, {2, 2, 4, 4}, {3, 3, 6, 4}, {-4, -4, 3, 3}};
    for (int type = fbtFlat; type <= fbtColorLineBorder; ++type)
        for (int sides = 0; sides <= AllBorderSides; ++sides)
            for (const TRect& r : rects)
                for (const TFrameStroke& s :
                     FlatFrameStrokes(r, TBorderSides(sides), TFlatBorderType(type))) {
                    EXPECT_TRUE(Inside(s.Rect, r) && IsLine(s.Rect))
                        << "type " << type << " sides " << sides << " rect " << r.Left << ','
                        << r.Top << ',' << r.Right << ',' << r.Bottom << " stroke " << s.Rect.Left
                        << ',' << s.Rect.Top << ',' << s.Rect.Right << ',' << s.Rect.Bottom;
                }
}

TEST(FlatBorder, EmptyRectangleOrNoneTypeGivesNoStrokes) {
    EXPECT_TRUE(FlatFrameStrokes({0, 0, 0, 10}, AllBorderSides, fbtSunken).empty());
    EXPECT_TRUE(FlatFrameStrokes({4, 4, 10, 2}, AllBorderSides, fbtRaised).empty());
    EXPECT_TRUE(FlatFrameStrokes({0, 0, 50, 50}, AllBorderSides, fbtNone).empty());
    EXPECT_TRUE(FlatFrameStrokes({0, 0, 50, 50}, 0, fbtSunken).empty());
}
