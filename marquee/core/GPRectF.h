// A rectangle of single-precision floats, the unit of all busy-indicator geometry.
#pragma once

struct TGPRectF {
    float X = 0;
    float Y = 0;
    float Width = 0;
    float Height = 0;
    bool operator==(const TGPRectF&) const = default;
};
