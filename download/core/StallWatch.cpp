// The stall rule of a transfer's body.
#include "download/core/StallWatch.h"

TStallWatch::TStallWatch(std::uint32_t startMs, std::uint32_t windowMs)
    : FWindowMs(windowMs), FMarkMs(startMs) {}

bool TStallWatch::Moving(std::uint32_t received, std::uint32_t nowMs) {
    // A read that returns after the window has ended cannot say when its bytes came.
    if (nowMs - FMarkMs > FWindowMs) return false;
    if (received - FMarkBytes >= MinBytes) {
        FMarkMs = nowMs;
        FMarkBytes = received;
    }
    return true;
}
