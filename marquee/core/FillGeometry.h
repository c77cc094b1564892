// The decisions of the fill painter that need no drawing surface: opacities, how the area
// splits into halves, what a shadow leaves, rounding of halves, the effective gradient kind
// and where a picture goes.
#pragma once
#include <cstdint>

#include "framework/core/Color.h"
#include "marquee/core/FillTypes.h"
#include "marquee/core/GPRectF.h"

// An opacity argument of 255 stands for the fill's own setting; anything below is used as
// given.
constexpr std::uint8_t ResolveOpacity(std::uint8_t argument, std::uint8_t property) {
    return argument == 255 ? property : argument;
}

struct TFillHalves {
    TGPRectF Upper;
    TGPRectF Lower;
};
// Upper and lower half of R; they overlap by two pixels in the middle.
TFillHalves SplitHalves(const TGPRectF& r);

// The part of R left for the rest of the fill after a shadow of the given kind and size.
TGPRectF ShadowRemainder(const TGPRectF& r, TShadowType type, int offset);

// The rounding of the upper (lower) part when the area is painted with a mirror colour.
TFillRoundingType UpperRounding(TFillRoundingType t);
TFillRoundingType LowerRounding(TFillRoundingType t);

// Which corners a rounding type rounds.
struct TRoundedCorners {
    bool TopLeft, TopRight, BottomRight, BottomLeft;
};
TRoundedCorners CornersOf(TFillRoundingType t);

// The kind actually painted for a part: no start colour paints nothing, no end colour
// paints solid.
TGradientType EffectiveKind(TGradientType kind, TColor c1, TColor c2);

struct TPicturePlace {
    int X, Y, Width, Height;
    bool operator==(const TPicturePlace&) const = default;
};
// Where a picture of w x h goes in the whole-pixel rectangle `area` for the placements
// that put it at one spot (every position but ppTiled and ppStretched, for which the
// answer is the area itself).
TPicturePlace PlacePicture(TFillPicturePosition pos, const TPicturePlace& area, int offsetLeft,
                           int offsetTop, int w, int h);

// The largest w x h-proportioned rectangle inside `area`, centred in it.
TPicturePlace FitPicture(const TPicturePlace& area, int w, int h);
