// The stall rule: a body must gain one read's worth (1025 bytes) within every window.
#include <gtest/gtest.h>

#include <vector>

#include "download/core/StallWatch.h"

namespace {

struct Read {
    std::uint32_t atMs;
    std::uint32_t bytes;
};

// Feeds the reads to a watch of the default window that starts at `startMs`; answers the
// index of the read at which it reports a stall, or -1.
int StallsAt(const std::vector<Read>& reads, std::uint32_t startMs = 1000) {
    TStallWatch watch(startMs);
    std::uint32_t received = 0;
    for (std::size_t i = 0; i < reads.size(); ++i) {
        received += reads[i].bytes;
        if (!watch.Moving(received, startMs + reads[i].atMs)) return int(i);
    }
    return -1;
}

// `seconds` of a body at `rate` bytes per second, read as it arrives every `stepMs`.
std::vector<Read> Steady(std::uint32_t rate, std::uint32_t seconds, std::uint32_t stepMs) {
    std::vector<Read> reads;
    for (std::uint32_t t = stepMs; t <= seconds * 1000; t += stepMs)
        reads.push_back({t, rate * stepMs / 1000});
    return reads;
}

} // namespace

TEST(StallWatch, MovingBodiesAreNeverStalled) {
    EXPECT_EQ(StallsAt(Steady(2048, 600, 125)), -1); // 2 KB/s for ten minutes
    EXPECT_EQ(StallsAt(Steady(35, 600, 1000)), -1);  // 1050 bytes in every 30 s
    EXPECT_EQ(StallsAt({{29000, 1025}, {58000, 1025}, {88000, 1025}}), -1);
    EXPECT_EQ(StallsAt({{1, 5000000}, {30001, 1025}}), -1);
}

TEST(StallWatch, TrickleAndSilenceStall) {
    // One byte every 5 s: the read after the thirtieth second reports it.
    std::vector<Read> trickle;
    for (std::uint32_t t = 5000; t <= 60000; t += 5000)
        trickle.push_back({t, 1});
    EXPECT_EQ(StallsAt(trickle), 6); // at 35 s
    // 1024 bytes within the window are not enough; the read just after it does not count.
    EXPECT_EQ(StallsAt({{10000, 1000}, {29000, 24}, {30001, 1}}), 2);
    EXPECT_EQ(StallsAt({{10000, 1000}, {31000, 5000}}), 1);
    // A good start does not carry a later stall: each window needs its own 1025 bytes.
    EXPECT_EQ(StallsAt({{100, 300000}, {20000, 10}, {30100, 10}, {30101, 10}}), 3);
    // A read that returns only when the receive time-out ends it.
    EXPECT_EQ(StallsAt({{60000, 0}}), 0);
}

TEST(StallWatch, ClockThatWrapsAround) {
    EXPECT_EQ(StallsAt(Steady(2048, 120, 250), 0xFFFF0000u), -1);
    EXPECT_EQ(StallsAt({{20000, 1}, {40000, 1}}, 0xFFFF0000u), 1);
}

TEST(StallWatch, ShorterWindow) {
    TStallWatch watch(0, 2000);
    EXPECT_TRUE(watch.Moving(1025, 1900));
    EXPECT_TRUE(watch.Moving(1030, 3900));
    EXPECT_FALSE(watch.Moving(2000, 3901));
}
