// Colour adjustment of the painter: text colours are moved halfway toward black on a light
// reference colour and halfway toward white on a dark one (the disabled look).
#pragma once
#include "framework/core/Color.h"

// Lightness of a plain RGB colour on a 0-252 scale.
int ColorLightness(TColor rgb);
// `rgb` adjusted against the reference `fromRgb` (both plain 0x00BBGGRR values).
TColor AdjustColorFrom(TColor rgb, TColor fromRgb);
