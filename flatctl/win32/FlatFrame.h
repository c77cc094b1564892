// DrawFlatFrame: the sunken, raised, bumped or etched frame of the flat controls, in five
// free colours, on any subset of a rectangle's sides.
#pragma once
#include <windows.h>

#include "flatctl/core/FlatBorder.h"
#include "framework/core/Color.h"

// The five frame colours with the controls' defaults.
struct TFlatFrameColors {
    TColor Face = clBtnFace;
    TColor DkShadow = cl3DDkShadow;
    TColor Shadow = clBtnShadow;
    TColor Highlight = clBtnHighlight;
    TColor Window = clWindow;
};

// Paints the frame inside `rect` (exclusive right and bottom; taken by value, the caller's
// rectangle is not changed). `lineColor` serves the line types, `backColor` the flat and
// line-border types. Each line is an opaque fill; the DC's background colour is restored.
// Colours equal to clNone are not painted. The active and enabled flags are accepted for
// the controls' sake and do not change the drawing.
void DrawFlatFrame(HDC dc, RECT rect, TColor lineColor, TColor backColor, bool active, bool enabled,
                   TBorderSides sides, TFlatBorderType type, TColor face, TColor dkShadow,
                   TColor shadow, TColor highlight, TColor window);

// The same with the five colours in one value.
inline void DrawFlatFrame(HDC dc, RECT rect, TColor lineColor, TColor backColor, bool active,
                          bool enabled, TBorderSides sides, TFlatBorderType type,
                          const TFlatFrameColors& colors) {
    DrawFlatFrame(dc, rect, lineColor, backColor, active, enabled, sides, type, colors.Face,
                  colors.DkShadow, colors.Shadow, colors.Highlight, colors.Window);
}
