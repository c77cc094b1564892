// The busy indicator's clock and wrap-around.
#include "marquee/core/MarqueeMotion.h"

#include <algorithm>
#include <cmath>

float RowWidth(int count, int width, int spacing) {
    return static_cast<float>(double(count) * width + (double(count) * spacing - 1));
}

float RightLimit(int controlWidth, float rowWidth) {
    return static_cast<float>(controlWidth / 2.0 + rowWidth / 2.0);
}

std::optional<float> TickPosition(float p, float animationStep, float animationFactor) {
    const float t = p + animationStep;
    const float d = static_cast<float>(std::fabs(double(p) - t) / animationFactor);
    if (t - 0.01 < p && p < t + 0.01) return std::nullopt;
    // A factor of 0 (or one that overflows the step) would fling the row by an infinite
    // distance; such a clock stands still instead.
    if (!std::isfinite(d)) return std::nullopt;
    const double m = std::max(0.01, double(d));
    return static_cast<float>(p < t ? p + m : p - m);
}

float WrapPosition(float v, int controlWidth, float rowWidth) {
    const float limit = RightLimit(controlWidth, rowWidth);
    return v > limit ? -limit : v;
}

float WrapLeftward(float previous, float next, int controlWidth, float rowWidth) {
    const float limit = RightLimit(controlWidth, rowWidth);
    return next < previous && next < -limit ? limit : next;
}
