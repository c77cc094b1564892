// The window's own colours, shared by its layout and its busy panel's progress.
#pragma once
#include "framework/core/Color.h"

inline constexpr TColor kHeaderBlue = 13531904; // 0x00CE7B00, the header band
inline constexpr TColor kFieldBlue = 12283648;  // 0x00BB6F00, the field's frame
