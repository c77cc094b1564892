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
// showing a row R pixels wide. Beyond the right limit the row restarts at the left limit;
// beyond the left limit (leftward motion) it restarts at the right limit. Both limits are
// positions at which the whole row is outside the control, so either jump is invisible.
float WrapPosition(float v, int controlWidth, float rowWidth);
