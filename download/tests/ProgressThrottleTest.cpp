// The progress hand-over rule: every report without an interval; with one, the first at
// once, then at most one per interval, and the held-back last state owed at the end.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "download/core/ProgressThrottle.h"

namespace {

// The times (ms) of the reports that are handed over.
std::vector<std::uint32_t> HandedOver(std::uint32_t interval, const std::vector<std::uint32_t>& at,
                                      bool* owed = nullptr) {
    TProgressThrottle throttle(interval);
    std::vector<std::uint32_t> out;
    for (std::uint32_t t : at)
        if (throttle.Due(t)) out.push_back(t);
    if (owed) *owed = throttle.Owed();
    return out;
}

} // namespace

TEST(ProgressThrottle, WithoutAnIntervalEveryReportIsHandedOver) {
    bool owed = true;
    EXPECT_EQ(HandedOver(0, {5, 5, 6, 6, 7}, &owed), (std::vector<std::uint32_t>{5, 5, 6, 6, 7}));
    EXPECT_FALSE(owed);
}

TEST(ProgressThrottle, AtMostOnePerIntervalAndTheLastStateOwed) {
    struct Row {
        const char* name;
        std::vector<std::uint32_t> at, handed;
        bool owed;
    } rows[] = {
        {"first at once, then one per 250 ms",
         {100, 150, 349, 350, 400, 599, 600},
         {100, 350, 600},
         false},
        {"a held-back last report is owed", {0, 250, 260}, {0, 250}, true},
        {"a gap longer than the interval hands the next over", {0, 1000, 1001}, {0, 1000}, true},
        {"the clock wraps around",
         {0xFFFFFF00u, 0xFFFFFFF0u, 0x10u, 0x20u},
         {0xFFFFFF00u, 0x10u},
         true},
    };
    for (const Row& row : rows) {
        bool owed = false;
        EXPECT_EQ(HandedOver(250, row.at, &owed), row.handed) << row.name;
        EXPECT_EQ(owed, row.owed) << row.name;
    }
}
