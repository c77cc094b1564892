// Shared vocabulary of the markup renderer: item kinds, flag bits, fonts and font metrics.
#pragma once
#include <cstdint>
#include <string>

#include "framework/core/Color.h"
#include "framework/core/FontDesc.h"

enum THTMLItemType : std::uint8_t {
    hitChar,
    hitSoftBreak,
    hitBreak,
    hitPara,
    hitBitmap,
    hitHR,
    hitLI,
    hitUL,
    hitOL,
    hitIndent,
    hitInput,
    hitControl,
    hitVar,
};

enum THTMLInputType : std::uint8_t { itCheckBox, itRadioButton };

// Bits of THTMLItem::FBoolState.
inline constexpr std::uint32_t bsLink = 1;
inline constexpr std::uint32_t bsSub = 2;
inline constexpr std::uint32_t bsSuper = 4;
inline constexpr std::uint32_t bsAbsolute = 8;
inline constexpr std::uint32_t bsClosingPara = 0x80000000u;

// Marks a width cache that must be measured again.
inline constexpr std::uint16_t kWidthUnknown = 0xFFFF;

// The font part of the formatting state; style flags are kept on the run itself.
struct TFontSettings {
    std::u16string FontName;
    int Height = 0;
    TColor Color = 0;
    TColor BgColor = 0;
    // Set when the "font" tag that pushed this record raised the colour counter, so the
    // matching "/font" lowers it again exactly once.
    bool RaisedCount = false;
};

// A font as the measuring side sees it.
struct THTMLFont {
    std::u16string Name;
    int Height = 0;
    TFontStyles Style = 0;
    std::uint8_t Charset = 0;
    bool operator==(const THTMLFont&) const = default;
};

struct THTMLFontMetrics {
    int Height = 0;  // tmHeight
    int Descent = 0; // tmDescent
    int AveCharWidth = 0;
    int MaxCharWidth = 0;
};

struct TTextSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const TTextSize&) const = default;
};
