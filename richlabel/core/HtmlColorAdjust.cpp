// Lightness and the halfway moves of the colour adjustment.
#include "richlabel/core/HtmlColorAdjust.h"

#include <algorithm>
#include <cmath>

int ColorLightness(TColor rgb) {
    const int r = RedOf(rgb), g = GreenOf(rgb), b = BlueOf(rgb);
    const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
    return ((mx + mn) * 252 + 255) / 510;
}

TColor AdjustColorFrom(TColor rgb, TColor fromRgb) {
    const bool towardBlack = ColorLightness(fromRgb) > 160;
    auto channel = [towardBlack](int c) {
        if (towardBlack) return std::max(0, c - int(std::lround((255 - c) * 0.5)));
        return c + (255 - c) * 50 / 100;
    };
    return TColor(channel(RedOf(rgb))) | TColor(channel(GreenOf(rgb))) << 8 |
           TColor(channel(BlueOf(rgb))) << 16;
}
