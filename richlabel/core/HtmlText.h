// Small text helpers of the markup reader: the common integer reader, case folding,
// trimming, character entity names, colour names and Boolean texts.
#pragma once
#include <optional>
#include <string>

#include "framework/core/Color.h"

// Optional leading spaces, optional sign, then decimal digits, or hexadecimal digits after
// "$", "x", "X" or "0x". Anything else, or a value outside 32 bits, is not a number.
std::optional<int> ReadInteger(std::u16string_view s);
// Lower case of ASCII and Latin-1 letters.
char16_t LowerChar(char16_t c);
std::u16string LowerCase(std::u16string_view s);
// Removes characters up to code 32 from both ends.
std::u16string TrimText(std::u16string_view s);
// The character an entity name stands for; 0 when the name is unknown. The name is looked up
// as written first, so that a capital letter's name gives the capital letter, then in lower
// case, so that the lower-case names answer in any capitalisation.
char16_t LookupEntity(std::u16string_view name);
// A colour identifier such as "clRed", matched without regard to case.
std::optional<TColor> LookupColorName(std::u16string_view name);
// "True", "False" (any case) or a number (non-zero is true); nothing otherwise.
std::optional<bool> ReadBoolean(std::u16string_view s);
// a * b / c rounded to the nearest integer, half away from zero (c != 0).
int MulDivRound(int a, int b, int c);
