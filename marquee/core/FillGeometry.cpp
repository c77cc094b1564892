// Fill decisions that need no drawing surface.
#include "marquee/core/FillGeometry.h"

TFillHalves SplitHalves(const TGPRectF& r) {
    const float h = r.Height / 2;
    return {{r.X, r.Y, r.Width, r.Height - h + 1}, {r.X, r.Y + h - 1, r.Width, r.Height - h + 1}};
}

TGPRectF ShadowRemainder(const TGPRectF& r, TShadowType type, int s) {
    if (s <= 0) return r;
    switch (type) {
    case stRightBottom:
        return {r.X, r.Y, r.Width - s, r.Height - s};
    case stSurround:
        return {r.X + s, r.Y + s, r.Width - 2.0f * s, r.Height - 2.0f * s};
    case stBottom:
        return {r.X, r.Y, r.Width, r.Height - s};
    }
    return r;
}

TFillRoundingType UpperRounding(TFillRoundingType t) {
    switch (t) {
    case rtTop:
    case rtBoth:
        return rtTop;
    case rtLeft:
        return rtLeft;
    case rtRight:
        return rtRight;
    default:
        return rtNone;
    }
}

TFillRoundingType LowerRounding(TFillRoundingType t) {
    switch (t) {
    case rtBottom:
    case rtBoth:
        return rtBottom;
    case rtLeft:
        return rtLeft;
    case rtRight:
        return rtRight;
    default:
        return rtNone;
    }
}

TRoundedCorners CornersOf(TFillRoundingType t) {
    switch (t) {
    case rtTop:
        return {true, true, false, false};
    case rtBottom:
        return {false, false, true, true};
    case rtBoth:
        return {true, true, true, true};
    case rtLeft:
        return {true, false, false, true};
    case rtRight:
        return {false, true, true, false};
    default:
        return {false, false, false, false};
    }
}

TGradientType EffectiveKind(TGradientType kind, TColor c1, TColor c2) {
    if (c1 == clNone) return gtNone;
    if (c2 == clNone) return gtSolid;
    return kind;
}

TPicturePlace PlacePicture(TFillPicturePosition pos, const TPicturePlace& a, int ol, int ot, int w,
                           int h) {
    if (pos == ppCustom) return {ol, ot, w, h};
    const int x = a.X + ol, y = a.Y + ot;
    const int left = x, centre = x + (a.Width - w) / 2, right = x + a.Width - w;
    const int top = y, middle = y + (a.Height - h) / 2, bottom = y + a.Height - h;
    switch (pos) {
    case ppTopLeft:
        return {left, top, w, h};
    case ppTopCenter:
        return {centre, top, w, h};
    case ppTopRight:
        return {right, top, w, h};
    case ppCenterLeft:
        return {left, middle, w, h};
    case ppCenterCenter:
        return {centre, middle, w, h};
    case ppCenterRight:
        return {right, middle, w, h};
    case ppBottomLeft:
        return {left, bottom, w, h};
    case ppBottomCenter:
        return {centre, bottom, w, h};
    case ppBottomRight:
        return {right, bottom, w, h};
    default:
        return {x, y, a.Width, a.Height};
    }
}

TPicturePlace FitPicture(const TPicturePlace& a, int w, int h) {
    if (w <= 0 || h <= 0 || a.Width <= 0 || a.Height <= 0) return a;
    // Compare a.Width / w with a.Height / h without rounding.
    int fw, fh;
    if (static_cast<long long>(a.Width) * h <= static_cast<long long>(a.Height) * w) {
        fw = a.Width;
        fh = static_cast<int>(static_cast<long long>(h) * a.Width / w);
    } else {
        fh = a.Height;
        fw = static_cast<int>(static_cast<long long>(w) * a.Height / h);
    }
    return {a.X + (a.Width - fw) / 2, a.Y + (a.Height - fh) / 2, fw, fh};
}
