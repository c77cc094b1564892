// The hand-over rule for progress reports.
#include "download/core/ProgressThrottle.h"

bool TProgressThrottle::Due(std::uint32_t nowMs) {
    if (FIntervalMs == 0 || !FStarted || nowMs - FLastMs >= FIntervalMs) {
        FStarted = true;
        FLastMs = nowMs;
        FOwed = false;
        return true;
    }
    FOwed = true;
    return false;
}
