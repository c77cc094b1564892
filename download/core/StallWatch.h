// Tells a body that moves, however slowly, from one that has stalled. The HTTP layer's receive
// time-out applies to each receive, so a server that sends a byte now and then never trips
// it; this watch judges the body's progress over a window of time instead.
#pragma once
#include <cstdint>

class TStallWatch {
  public:
    // One read's worth of the download component.
    static constexpr std::uint32_t MinBytes = 1025;
    static constexpr std::uint32_t DefaultWindowMs = 30000;

    // The body starts at `startMs` (a millisecond clock that may wrap around).
    explicit TStallWatch(std::uint32_t startMs, std::uint32_t windowMs = DefaultWindowMs);

    // After each read: `received` bytes so far at `nowMs`. False once a window has passed in
    // which the body gained fewer than MinBytes (bytes handed over after the window's end do
    // not count for it); each time it gains MinBytes a new window starts.
    bool Moving(std::uint32_t received, std::uint32_t nowMs);

  private:
    std::uint32_t FWindowMs;
    std::uint32_t FMarkMs;
    std::uint32_t FMarkBytes = 0;
};
