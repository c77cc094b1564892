// Small value types of the control layer that portable code shares: text alignment and the
// shift state of keyboard and mouse input.
#pragma once
#include <cstdint>

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

enum TShiftFlag : std::uint8_t {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64,
};
using TShiftState = std::uint8_t;
