// Flat frame geometry: rings of up to four lines whose right and bottom lines own the
// corners, nested by type, plus the extra strokes of the sunken-outer type.
#include "flatctl/core/FlatBorder.h"

#include <algorithm>

namespace {

enum class RingKind { None, Sunken, Raised };

struct RingPair {
    RingKind Outer;
    RingKind Inner;
};

RingPair RingsOf(TFlatBorderType type) {
    switch (type) {
    case fbtSunken:
        return {RingKind::Sunken, RingKind::Sunken};
    case fbtSunkenInner:
        return {RingKind::None, RingKind::Sunken};
    case fbtSunkenOuter:
        return {RingKind::Sunken, RingKind::None};
    case fbtRaised:
        return {RingKind::Raised, RingKind::Raised};
    case fbtRaisedInner:
        return {RingKind::None, RingKind::Raised};
    case fbtRaisedOuter:
        return {RingKind::Raised, RingKind::None};
    case fbtBump:
    case fbtBigBump:
    case fbtFramed:
        return {RingKind::Raised, RingKind::Sunken};
    case fbtEtched:
        return {RingKind::Sunken, RingKind::Raised};
    default:
        return {RingKind::None, RingKind::None};
    }
}

struct RingColors {
    TFrameColorRole TopLeft;
    TFrameColorRole BottomRight;
};

RingColors ColorsOf(RingKind kind, bool outer) {
    using R = TFrameColorRole;
    if (outer)
        return kind == RingKind::Sunken ? RingColors{R::Shadow, R::Highlight}
                                        : RingColors{R::Face, R::DkShadow};
    return kind == RingKind::Sunken ? RingColors{R::DkShadow, R::Face}
                                    : RingColors{R::Highlight, R::Shadow};
}

class StrokeList {
  public:
    explicit StrokeList(const TRect& bounds) : bounds_(bounds) {}

    // Adds the inclusive span of pixels [x0, x1] × [y0, y1], clipped to the bounds.
    void Add(int x0, int y0, int x1, int y1, TFrameColorRole role) {
        TRect r{std::max(x0, bounds_.Left), std::max(y0, bounds_.Top),
                std::min(x1 + 1, bounds_.Right), std::min(y1 + 1, bounds_.Bottom)};
        if (!r.IsEmpty()) strokes_.push_back({r, role});
    }

    // A ring: top, left, right, bottom, so that the right and bottom lines own the
    // corners they share with the others.
    void Ring(const TRect& r, TBorderSides sides, RingColors colors) {
        if (r.IsEmpty()) return;
        const int x = r.Left, y = r.Top, w = r.Width(), h = r.Height();
        if (sides & ebsTop)
            Add(x, y, (sides & ebsRight) ? x + w - 2 : x + w - 1, y, colors.TopLeft);
        if (sides & ebsLeft)
            Add(x, y, x, (sides & ebsBottom) ? y + h - 2 : y + h - 1, colors.TopLeft);
        if (sides & ebsRight) Add(x + w - 1, y, x + w - 1, y + h - 1, colors.BottomRight);
        if (sides & ebsBottom) Add(x, y + h - 1, x + w - 1, y + h - 1, colors.BottomRight);
    }

    std::vector<TFrameStroke> Take() { return std::move(strokes_); }

  private:
    TRect bounds_;
    std::vector<TFrameStroke> strokes_;
};

// Shrinks the rectangle by one pixel on each given side.
void Shrink(TRect& r, TBorderSides sides) {
    if (sides & ebsLeft) ++r.Left;
    if (sides & ebsTop) ++r.Top;
    if (sides & ebsRight) --r.Right;
    if (sides & ebsBottom) --r.Bottom;
}

// The sunken-outer type turns the ring inside the outer one into a face-coloured ring and
// gives the right and bottom of the outer ring the window colour.
void SunkenOuterStrokes(StrokeList& out, const TRect& r, TBorderSides sides) {
    using R = TFrameColorRole;
    const int L = r.Left, T = r.Top, Rt = r.Right, B = r.Bottom;
    if (sides & ebsLeft) out.Add(L, T, L, B - 2, R::Face);
    if (sides & ebsTop) out.Add(L, T, Rt - 2, T, R::Face);
    if (sides & ebsRight) out.Add(Rt - 1, T, Rt - 1, B - 1, R::Face);
    if (sides & ebsBottom) out.Add(L, B - 1, Rt - 1, B - 1, R::Face);
    if (sides & ebsRight) out.Add(Rt, T - 1, Rt, B, R::Window);
    if (sides & ebsBottom) out.Add(L - 1, B, Rt, B, R::Window);
}

} // namespace

std::vector<TFrameStroke> FlatFrameStrokes(const TRect& bounds, TBorderSides sides,
                                           TFlatBorderType type) {
    StrokeList out(bounds);
    if (bounds.IsEmpty()) return out.Take();
    TRect r = bounds;
    using R = TFrameColorRole;
    switch (type) {
    case fbtNone:
        break;
    case fbtFlat:
        // A plain shadow line with the background colour inside it.
        out.Ring(r, sides, {R::Shadow, R::Shadow});
        Shrink(r, sides);
        out.Ring(r, sides, {R::Background, R::Background});
        break;
    case fbtLine:
        out.Ring(r, sides, {R::Line, R::Line});
        break;
    case fbtLineBorder:
    case fbtColorLineBorder:
        out.Ring(r, sides, {R::Line, R::Line});
        Shrink(r, sides);
        out.Ring(r, sides,
                 type == fbtLineBorder ? RingColors{R::Background, R::Background}
                                       : RingColors{R::Window, R::Window});
        break;
    default: {
        const RingPair rings = RingsOf(type);
        if (rings.Outer != RingKind::None) out.Ring(r, sides, ColorsOf(rings.Outer, true));
        if (rings.Inner != RingKind::None) {
            if (rings.Outer != RingKind::None) Shrink(r, sides);
            out.Ring(r, sides, ColorsOf(rings.Inner, false));
        }
        Shrink(r, sides);
        if (type == fbtSunkenOuter) SunkenOuterStrokes(out, r, sides);
        break;
    }
    }
    return out.Take();
}
