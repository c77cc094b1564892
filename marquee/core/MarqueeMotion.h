// The busy indicator's clock: row width, one animation tick and the position's wrap-around,
// all in the single-precision arithmetic the indicator keeps its position in.
#pragma once
#include <optional>

// Width of a row of n bullets of width w with gaps s: n*w + (n*s - 1).
float RowWidth(int count, int width, int spacing);

// The position at which the row has left the control on the right: W/2 + R/2.
float RightLimit(int controlWidth, float rowWidth);

// One tick of the clock from position p: the new position before wrap-around, or nothing
// when the row does not move (a step shorter than 0.01 pixel, or a factor that gives no
// finite step length).
std::optional<float> TickPosition(float position, float animationStep, float animationFactor);

// The value actually stored when v is written to the position of a control W pixels wide
// showing a row R pixels wide: beyond the right limit the row restarts at the left limit
// (-W/2 - R/2). Anything at or below the right limit, however far left, is kept, so a
// program can hold the row back by writing a far-left position.
float WrapPosition(float v, int controlWidth, float rowWidth);

// The clock's own wrap for leftward motion: a tick that moves the row left beyond the left
// limit brings it back at the right limit. Both limits are positions at which the whole row
// is outside the control, so the jump is invisible; a rightward tick is left alone, so it
// keeps a far-left position written by the program.
float WrapLeftward(float previous, float next, int controlWidth, float rowWidth);
