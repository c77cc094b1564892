// Colour presets of the busy indicator: the preset numbers, the colour tones record, the
// interfaces that apply them and the table of colours each preset sets.
#pragma once
#include <cstdint>
#include <optional>

#include "framework/core/Color.h"
#include "marquee/core/FillTypes.h"

enum TStylePreset : std::uint8_t {
    tsOffice2003Blue,
    tsOffice2003Silver,
    tsOffice2003Olive,
    tsOffice2003Classic,
    tsOffice2007Luna,
    tsOffice2007Obsidian,
    tsWindowsXP,
    tsWhidbey,
    tsCustom,
    tsOffice2007Silver,
    tsWindowsVista,
    tsWindows7,
    tsTerminal,
    tsOffice2010Blue,
    tsOffice2010Silver,
    tsOffice2010Black,
    tsWindows8,
    tsOffice2013White,
    tsOffice2013LightGray,
    tsOffice2013Gray,
    tsWindows10,
    tsOffice2016White,
    tsOffice2016Gray,
    tsOffice2016Black
};
inline constexpr int kStylePresetCount = 24;

struct TColorTone {
    TColor BrushColor = clNone;
    TColor BorderColor = clNone;
    TColor TextColor = clNone;
};

struct TColorTones {
    TColorTone Background;
    TColorTone Foreground;
    TColorTone Selected;
    TColorTone Hover;
    TColorTone Disabled;
};

class IStylePreset {
  public:
    virtual void SetComponentStyle(TStylePreset AStyle) = 0;
    virtual TStylePreset GetComponentStyle() const = 0;

  protected:
    ~IStylePreset() = default;
};

class IToneable {
  public:
    virtual void SetColorTones(const TColorTones& ATones) = 0;

  protected:
    ~IToneable() = default;
};

// The settings one preset writes; an empty value leaves that setting as it is.
struct TStylePresetColors {
    std::optional<TColor> FillColor, FillColorTo, FillColorMirror, FillColorMirrorTo,
        FillBorderColor;
    std::optional<TGradientType> GradientType, GradientMirrorType;
    std::optional<TColor> BulletBorderColor, BulletColor;
};

// The row of a preset (all empty for tsCustom and for numbers outside the table).
TStylePresetColors StylePresetColors(TStylePreset style);
