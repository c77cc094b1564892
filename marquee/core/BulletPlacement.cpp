// Bullet placement: each intermediate is kept in single precision.
#include "marquee/core/BulletPlacement.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "marquee/core/MarqueeMotion.h"

TBulletZone ComputeBulletZone(const TBulletGeometry& b, float k, int W, int H) {
    TBulletZone z;
    z.RowWidth = RowWidth(b.Count, b.Width, b.Spacing);
    z.ZoneWidth = z.RowWidth * k;
    z.ZoneLeft = static_cast<float>(((W - 1) - double(z.ZoneWidth)) / 2);
    z.Top = static_cast<float>(((H - 1) - double(b.Height)) / 2);
    return z;
}

std::vector<TGPRectF> PlaceBullets(const TBulletGeometry& b, float k, float P, int W, int H) {
    std::vector<TGPRectF> rects;
    if (b.Count <= 0 || W <= 0) return rects;
    const TBulletZone z = ComputeBulletZone(b, k, W, H);
    const float L = z.ZoneLeft;
    const float Z = z.ZoneWidth;
    const float X0 = L + P;
    const double stretch = double(P) / W;
    const int n = b.Count;
    rects.reserve(n);
    for (int i = 0; i < n; ++i) {
        const float x = static_cast<float>(double(i) * b.Width + X0 + double(i) * b.Spacing);
        float placed = x;
        if (x < L)
            placed = static_cast<float>(x + std::fabs(double(x) - L) * stretch * (n - i));
        else if (x > L + Z)
            placed = static_cast<float>(x + std::fabs(double(x) - L - Z) * stretch * (i + 1));
        rects.push_back({placed, z.Top, float(b.Width), float(b.Height)});
    }
    return rects;
}

namespace {

// Far beyond any window, yet well inside int: positions written far out stay countable.
constexpr double kFarOut = 1e9;

int ToPixel(double v) {
    return static_cast<int>(std::clamp(v, -kFarOut, kFarOut));
}

} // namespace

std::optional<TPixelBox> BulletsBox(const std::vector<TGPRectF>& rects, int margin) {
    if (rects.empty()) return TPixelBox{};
    double left = std::numeric_limits<double>::infinity(), top = left;
    double right = -left, bottom = -left;
    for (const TGPRectF& r : rects) {
        if (!std::isfinite(r.X) || !std::isfinite(r.Y) || !std::isfinite(r.Width) ||
            !std::isfinite(r.Height))
            return std::nullopt;
        left = std::min(left, double(r.X));
        top = std::min(top, double(r.Y));
        right = std::max(right, double(r.X) + r.Width);
        bottom = std::max(bottom, double(r.Y) + r.Height);
    }
    return TPixelBox{ToPixel(std::floor(left) - margin), ToPixel(std::floor(top) - margin),
                     ToPixel(std::ceil(right) + margin), ToPixel(std::ceil(bottom) + margin)};
}
