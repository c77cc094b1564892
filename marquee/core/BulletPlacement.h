// Where each bullet of the busy indicator stands for a given position: natural spacing
// inside a central zone, strung out to its left and right.
#pragma once
#include <optional>
#include <vector>

#include "marquee/core/GPRectF.h"

struct TBulletGeometry {
    int Count = 6;
    int Width = 10;
    int Height = 10;
    int Spacing = 3;
};

// The central zone and the row's vertical place for a control of W x H pixels.
struct TBulletZone {
    float RowWidth = 0;  // R
    float ZoneWidth = 0; // Z = R * k
    float ZoneLeft = 0;  // L = ((W - 1) - Z) / 2
    float Top = 0;       // T = ((H - 1) - h) / 2
};

TBulletZone ComputeBulletZone(const TBulletGeometry& bullets, float stretchFactor, int controlWidth,
                              int controlHeight);

// The rectangles of all bullets, leftmost first, at position P. A control without width
// shows no bullets (the stretching divides by the width).
std::vector<TGPRectF> PlaceBullets(const TBulletGeometry& bullets, float stretchFactor,
                                   float position, int controlWidth, int controlHeight);

// Whole pixels: left and top inclusive, right and bottom exclusive.
struct TPixelBox {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TPixelBox&) const = default;
};

// The pixels that bullets at these rectangles can touch, widened by `margin` on every side
// for anti-aliased edges and outlines; an empty box without rectangles, and nothing when a
// coordinate is not a finite number (the caller then repaints everything).
std::optional<TPixelBox> BulletsBox(const std::vector<TGPRectF>& rects, int margin);
