// Which progress reports of a transfer reach the caller when it asks for at most one per
// interval: the first at once, then one whenever the interval has passed since the last
// one handed over, and at the end the last state if it was held back.
#pragma once
#include <cstdint>

class TProgressThrottle {
  public:
    // 0: every report is handed over. The clock is a millisecond clock that may wrap around.
    explicit TProgressThrottle(std::uint32_t intervalMs) : FIntervalMs(intervalMs) {}

    // A report at `nowMs`: true when it is to be handed over now.
    bool Due(std::uint32_t nowMs);
    // At the end of the body: true when the last report was held back and is still owed.
    bool Owed() const { return FOwed; }

  private:
    std::uint32_t FIntervalMs;
    std::uint32_t FLastMs = 0;
    bool FStarted = false;
    bool FOwed = false;
};
