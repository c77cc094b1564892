// Where each bullet of the busy indicator stands for a given position: natural spacing
// inside a central zone, strung out to its left and right.
#pragma once
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
