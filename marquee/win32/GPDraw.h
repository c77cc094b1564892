// Small GDI+ helpers shared by the fill and the busy indicator: colours with opacity,
// rectangles, and a scoped smoothing mode.
#pragma once
#include <windows.h>

#include <gdiplus.h>

#include <cstdint>

#include "framework/core/Color.h"
#include "framework/win32/Colors.h"
#include "marquee/core/GPRectF.h"

// The ARGB colour of a Colour (system colours resolved now) at an opacity. Callers test for
// clNone first.
inline Gdiplus::Color MakeGPColor(TColor c, std::uint8_t alpha) {
    return Gdiplus::Color(PackARGB(ColorToRGB(c), alpha));
}

inline Gdiplus::RectF ToGPRect(const TGPRectF& r) {
    return Gdiplus::RectF(r.X, r.Y, r.Width, r.Height);
}

// Sets a smoothing mode and puts the previous one back on scope exit.
class ScopedSmoothing {
  public:
    ScopedSmoothing(Gdiplus::Graphics& g, Gdiplus::SmoothingMode mode)
        : g_(g), old_(g.GetSmoothingMode()) {
        g_.SetSmoothingMode(mode);
    }
    ScopedSmoothing(const ScopedSmoothing&) = delete;
    ScopedSmoothing& operator=(const ScopedSmoothing&) = delete;
    ~ScopedSmoothing() { g_.SetSmoothingMode(old_); }

  private:
    Gdiplus::Graphics& g_;
    Gdiplus::SmoothingMode old_;
};

// Saves the graphics state (clip, transform, modes) and restores it on scope exit, so a clip
// set for one step never outlives it nor replaces a caller's clip for good.
class ScopedGraphicsState {
  public:
    explicit ScopedGraphicsState(Gdiplus::Graphics& g) : g_(g), state_(g.Save()) {}
    ScopedGraphicsState(const ScopedGraphicsState&) = delete;
    ScopedGraphicsState& operator=(const ScopedGraphicsState&) = delete;
    ~ScopedGraphicsState() { g_.Restore(state_); }

  private:
    Gdiplus::Graphics& g_;
    Gdiplus::GraphicsState state_;
};
