// Background drawing of the flat panel: bitmaps placed, stretched and tiled, and stepped
// gradients in four directions.
#include "flatctl/win32/PanelBackground.h"

#include <algorithm>

#include "framework/win32/Gdi.h"

namespace {

COLORREF Blend(COLORREF a, COLORREF b, int num, int den) {
    auto mix = [&](int ca, int cb) { return ca + (cb - ca) * num / den; };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)),
               mix(GetBValue(a), GetBValue(b)));
}

// A brush origin within 0 .. n - 1 that lines a pattern of size n up with `v`.
long PatternPhase(long v, long n) {
    return n > 0 ? (v % n + n) % n : 0;
}

// Band i of n of a gradient kind over the rectangle c.
RECT Band(const RECT& c, TBackgroundType type, int i, int n) {
    const int w = c.right - c.left, h = c.bottom - c.top;
    switch (type) {
    case bgtHorzGradient:
        return {c.left + w * i / n, c.top, c.left + w * (i + 1) / n, c.bottom};
    case bgtVertGradient:
        return {c.left, c.top + h * i / n, c.right, c.top + h * (i + 1) / n};
    default: { // concentric: band i and everything inside it
        const int dx = w * i / (2 * n), dy = h * i / (2 * n);
        return {c.left + dx, c.top + dy, c.right - dx, c.bottom - dy};
    }
    }
}

} // namespace

bool ErasesWithColor(TBackgroundType type) {
    switch (type) {
    case bgtTileBitmap:
    case bgtStretchBitmap:
    case bgtHorzGradient:
    case bgtVertGradient:
        return false; // these cover every pixel themselves
    default:
        return true;
    }
}

bool IsPictureKind(TBackgroundType type) {
    return type >= bgtCenterBitmap && type <= bgtStretchBitmap;
}

bool IsGradientKind(TBackgroundType type) {
    return type >= bgtHorzGradient;
}

void DrawBitmapAt(HDC dc, HBITMAP bitmap, int w, int h, int x, int y) {
    MemoryDC source(dc);
    ScopedSelect select(source.get(), bitmap);
    BitBlt(dc, x, y, w, h, source.get(), 0, 0, SRCCOPY);
}

void StretchBitmap(HDC dc, HBITMAP bitmap, int w, int h, const RECT& area) {
    MemoryDC source(dc);
    ScopedSelect select(source.get(), bitmap);
    ScopedSaveDC save(dc);
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr); // as HALFTONE asks
    StretchBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
               source.get(), 0, 0, w, h, SRCCOPY);
}

void TileBitmap(HDC dc, HBITMAP bitmap, const RECT& area, POINT origin) {
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info)) return;
    BrushHandle brush(CreatePatternBrush(bitmap));
    LPtoDP(dc, &origin, 1); // the brush origin is in device units
    ScopedSaveDC save(dc);
    SetBrushOrgEx(dc, PatternPhase(origin.x, info.bmWidth), PatternPhase(origin.y, info.bmHeight),
                  nullptr);
    FillRect(dc, &area, brush.get());
}

void PaintSteppedGradient(HDC dc, const RECT& c, TBackgroundType type, COLORREF from, COLORREF to,
                          int steps) {
    const int w = c.right - c.left, h = c.bottom - c.top;
    // Never more bands than pixels to show them in.
    const int extent = type == bgtHorzGradient   ? w
                       : type == bgtVertGradient ? h
                                                 : (std::max(w, h) + 1) / 2;
    steps = std::clamp(steps, 1, std::max(extent, 1));
    for (int i = 0; i < steps; ++i) {
        const COLORREF color = steps == 1 ? from : Blend(from, to, i, steps - 1);
        const RECT band = Band(c, type, i, steps);
        if (type == bgtEllipticGradient) {
            // An outline in the band's own colour: the ellipse then reaches the band's last
            // column and row, as a filled rectangle does (without a pen it would not).
            BrushHandle brush = MakeSolidBrush(color);
            PenHandle pen(CreatePen(PS_SOLID, 1, color));
            ScopedSelect selectBrush(dc, brush.get());
            ScopedSelect selectPen(dc, pen.get());
            Ellipse(dc, band.left, band.top, band.right, band.bottom);
        } else {
            FillSolidRect(dc, band, color);
        }
    }
}
