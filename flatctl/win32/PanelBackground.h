// The flat panel's background kinds and the drawing they need: pictures placed, stretched
// or tiled from a GDI bitmap, and stepped gradients.
#pragma once
#include <windows.h>

#include <cstdint>

// How the background is painted: a colour fill; the Background picture centred, at the
// top-left corner, tiled or stretched over the client area; or a gradient from
// GradientStartColor to GradientEndColor in GradientSteps bands: left to right, top to
// bottom, or from the edge inwards as concentric rectangles (square) or ellipses.
enum TBackgroundType : std::uint8_t {
    bgtColorFill,
    bgtCenterBitmap,
    bgtTopLeftBitmap,
    bgtTileBitmap,
    bgtStretchBitmap,
    bgtHorzGradient,
    bgtVertGradient,
    bgtSquareGradient,
    bgtEllipticGradient,
};

// The kinds under which the erase fills the client area with the panel's colour first:
// they leave parts of it uncovered (a small picture, the corners outside an ellipse).
bool ErasesWithColor(TBackgroundType type);
bool IsPictureKind(TBackgroundType type);
bool IsGradientKind(TBackgroundType type);

// Copies a w x h bitmap to (x, y).
void DrawBitmapAt(HDC dc, HBITMAP bitmap, int w, int h, int x, int y);
// Stretches a w x h bitmap over `area`, smoothing as it scales.
void StretchBitmap(HDC dc, HBITMAP bitmap, int w, int h, const RECT& area);
// Fills `area` with copies of the bitmap laid edge to edge, one of them with its top-left
// corner at `origin` (logical coordinates of the DC).
void TileBitmap(HDC dc, HBITMAP bitmap, const RECT& area, POINT origin);

// `steps` bands from `from` to `to` over the client rectangle in the given gradient kind; the
// last band is `to`. Square and elliptic bands run from the edge to the centre, so an
// elliptic gradient leaves the corners as they were.
void PaintSteppedGradient(HDC dc, const RECT& client, TBackgroundType type, COLORREF from,
                          COLORREF to, int steps);
