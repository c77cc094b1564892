// Resolving Colour values (system colours included) to plain RGB for GDI and GDI+.
#pragma once
#include <windows.h>

#include "framework/core/Color.h"

// Plain 0x00BBGGRR for a Colour; system colours through GetSysColor. clNone/clDefault give
// black: callers test for clNone before painting with a colour.
inline COLORREF ColorToRGB(TColor c) {
    if (IsSystemColor(c)) return GetSysColor(SystemColorIndex(c));
    if (c == clNone || c == clDefault) return 0;
    return c & 0x00FFFFFF;
}
