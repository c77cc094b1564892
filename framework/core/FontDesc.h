// Font description shared by every control: face, pixel height, style bits, colour, charset.
#pragma once
#include <cstdint>
#include <string>

#include "framework/core/Color.h"

enum TFontStyle : std::uint8_t {
    fsBold = 1 << 0,
    fsItalic = 1 << 1,
    fsUnderline = 1 << 2,
    fsStrikeOut = 1 << 3,
};
using TFontStyles = std::uint8_t; // set of TFontStyle bits

inline constexpr std::uint8_t DEFAULT_CHARSET_VALUE = 1; // DEFAULT_CHARSET

struct TFontDesc {
    std::u16string Name = u"Tahoma";
    // Negative: character height without internal leading; positive: cell height; 0: default.
    int Height = -11;
    TFontStyles Style = 0;
    TColor Color = clWindowText;
    std::uint8_t Charset = DEFAULT_CHARSET_VALUE;

    bool operator==(const TFontDesc&) const = default;
};
