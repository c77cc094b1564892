// Flat border description and the geometry of a flat frame: which 1-pixel strokes of which
// colour role a frame type paints on which sides of a rectangle.
#pragma once
#include <cstdint>
#include <vector>

#include "framework/core/Geometry.h"

enum TFlatBorderType : std::uint8_t {
    fbtFlat,
    fbtSunken,
    fbtSunkenInner,
    fbtSunkenOuter,
    fbtRaised,
    fbtRaisedInner,
    fbtRaisedOuter,
    fbtBump,
    fbtBigBump,
    fbtEtched,
    fbtFramed,
    fbtLine,
    fbtLineBorder,
    fbtNone,
    fbtColorLineBorder,
};

enum TBorderSide : std::uint8_t { ebsLeft = 1, ebsRight = 2, ebsTop = 4, ebsBottom = 8 };
using TBorderSides = std::uint8_t; // set of TBorderSide bits
inline constexpr TBorderSides AllBorderSides = ebsLeft | ebsRight | ebsTop | ebsBottom;

// Which of the frame's colours a stroke is painted in.
enum class TFrameColorRole : std::uint8_t {
    Face,
    DkShadow,
    Shadow,
    Highlight,
    Window,
    Line,       // the caller's line colour
    Background, // the caller's background colour
};

// One opaque 1-pixel-wide (or -high) fill.
struct TFrameStroke {
    TRect Rect;
    TFrameColorRole Role;
    bool operator==(const TFrameStroke&) const = default;
};

// The strokes of one frame, in painting order (later strokes cover earlier ones). Every
// stroke lies inside `bounds`; an empty rectangle gives no strokes.
std::vector<TFrameStroke> FlatFrameStrokes(const TRect& bounds, TBorderSides sides,
                                           TFlatBorderType type);
