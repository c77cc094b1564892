// Colour presets of the busy indicator: the table of colours each preset sets (the preset
// numbers and the interfaces that apply them are the framework's).
#pragma once
#include <optional>

#include "framework/core/Color.h"
#include "framework/core/StylePreset.h"
#include "marquee/core/FillTypes.h"

// The settings one preset writes; an empty value leaves that setting as it is.
struct TStylePresetColors {
    std::optional<TColor> FillColor, FillColorTo, FillColorMirror, FillColorMirrorTo,
        FillBorderColor;
    std::optional<TGradientType> GradientType, GradientMirrorType;
    std::optional<TColor> BulletBorderColor, BulletColor;
};

// The row of a preset (all empty for tsCustom and for numbers outside the table).
TStylePresetColors StylePresetColors(TStylePreset style);
