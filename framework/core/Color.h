// Colour values shared by every control: 0x00BBGGRR, with system-colour and "no colour" codes.
#pragma once
#include <cstdint>

using TColor = std::uint32_t;

inline constexpr TColor clBlack = 0x00000000;
inline constexpr TColor clWhite = 0x00FFFFFF;
inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;
inline constexpr TColor clWindow = 0xFF000005;
inline constexpr TColor clWindowText = 0xFF000008;
inline constexpr TColor clHighlight = 0xFF00000D;
inline constexpr TColor clHighlightText = 0xFF00000E;
inline constexpr TColor clBtnFace = 0xFF00000F;
inline constexpr TColor clBtnShadow = 0xFF000010;
inline constexpr TColor clGrayText = 0xFF000011;
inline constexpr TColor clBtnHighlight = 0xFF000014;
inline constexpr TColor cl3DDkShadow = 0xFF000015;

// A value whose high byte is 0xFF names the system colour with the index in its low byte.
constexpr bool IsSystemColor(TColor c) {
    return (c >> 24) == 0xFF;
}
constexpr int SystemColorIndex(TColor c) {
    return static_cast<int>(c & 0xFF);
}

constexpr std::uint8_t RedOf(TColor rgb) {
    return rgb & 0xFF;
}
constexpr std::uint8_t GreenOf(TColor rgb) {
    return (rgb >> 8) & 0xFF;
}
constexpr std::uint8_t BlueOf(TColor rgb) {
    return (rgb >> 16) & 0xFF;
}

// Packs a plain RGB colour (0x00BBGGRR) and an opacity into GDI+'s ARGB layout.
constexpr std::uint32_t PackARGB(TColor rgb, std::uint8_t alpha) {
    return (std::uint32_t(alpha) << 24) | (std::uint32_t(RedOf(rgb)) << 16) |
           (std::uint32_t(GreenOf(rgb)) << 8) | BlueOf(rgb);
}
