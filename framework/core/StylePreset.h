// Style presets: the preset numbers a style manager hands to its controls, the colour tones
// record, and the two interfaces through which a control takes a preset or tones.
#pragma once
#include <cstdint>

#include "framework/core/Color.h"

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
