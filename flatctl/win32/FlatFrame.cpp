// DrawFlatFrame: resolves the frame's colours and paints the strokes of its geometry as
// opaque text-background fills.
#include "flatctl/win32/FlatFrame.h"

#include "framework/win32/Colors.h"

void DrawFlatFrame(HDC dc, RECT rect, TColor lineColor, TColor backColor, bool /*active*/,
                   bool /*enabled*/, TBorderSides sides, TFlatBorderType type, TColor face,
                   TColor dkShadow, TColor shadow, TColor highlight, TColor window) {
    const TRect bounds{rect.left, rect.top, rect.right, rect.bottom};
    const auto strokes = FlatFrameStrokes(bounds, sides, type);
    if (strokes.empty()) return;

    auto colorOf = [&](TFrameColorRole role) {
        switch (role) {
        case TFrameColorRole::Face:
            return face;
        case TFrameColorRole::DkShadow:
            return dkShadow;
        case TFrameColorRole::Shadow:
            return shadow;
        case TFrameColorRole::Highlight:
            return highlight;
        case TFrameColorRole::Window:
            return window;
        case TFrameColorRole::Line:
            return lineColor;
        case TFrameColorRole::Background:
            return backColor;
        }
        return clNone;
    };

    const COLORREF oldBk = GetBkColor(dc);
    for (const TFrameStroke& s : strokes) {
        const TColor color = colorOf(s.Role);
        if (color == clNone) continue;
        SetBkColor(dc, ColorToRGB(color));
        const RECT r{s.Rect.Left, s.Rect.Top, s.Rect.Right, s.Rect.Bottom};
        ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    }
    SetBkColor(dc, oldBk);
}
