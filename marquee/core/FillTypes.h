// The enumerations of the fill description.
#pragma once
#include <cstdint>

enum TGradientType : std::uint8_t {
    gtSolid,
    gtRadial,
    gtVertical,
    gtHorizontal,
    gtForwardDiagonal,
    gtBackwardDiagonal,
    gtAngle,
    gtHatch,
    gtPath,
    gtTexture,
    gtNone
};

enum TFillRoundingType : std::uint8_t { rtNone, rtTop, rtBottom, rtBoth, rtLeft, rtRight };

enum TShadowType : std::uint8_t { stRightBottom, stBottom, stSurround };

enum TGlowMode : std::uint8_t { gmNone, gmGradient, gmRadial, gmRadialGradient };

enum TFillPictureMode : std::uint8_t { pmInsideFill, pmOutsideFill };

enum TFillPicturePosition : std::uint8_t {
    ppTopLeft,
    ppTopCenter,
    ppTopRight,
    ppBottomLeft,
    ppBottomCenter,
    ppBottomRight,
    ppTiled,
    ppStretched,
    ppCenterLeft,
    ppCenterCenter,
    ppCenterRight,
    ppCustom
};

enum TPictureMode : std::uint8_t { pmStretch, pmNormal };

enum TFillPictureSize : std::uint8_t { psOriginal, psCustom };

// The hatch patterns, numbered as the platform's hatch styles (0 horizontal lines to 52
// solid diamonds; 53 is the count).
using THatchStyle = std::uint8_t;
inline constexpr THatchStyle HatchStyleHorizontal = 0;
inline constexpr THatchStyle HatchStyleVertical = 1;
inline constexpr THatchStyle HatchStyleSolidDiamond = 52;
inline constexpr THatchStyle HatchStyleTotal = 53;
