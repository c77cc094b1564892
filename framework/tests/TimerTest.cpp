// The framework's interval timer: ticks through the message loop, Enabled and Interval.
#include <gtest/gtest.h>

#include "framework/win32/Timer.h"
#include "tests/support/WinTestSupport.h"

TEST(Timer, TicksUntilDisabled) {
    TComponent root(nullptr);
    auto* timer = TComponent::Create<TTimer>(&root);
    int ticks = 0;
    timer->OnTimer = [&](TObject* sender) {
        EXPECT_EQ(sender, timer);
        ++ticks;
    };
    timer->SetInterval(10);
    EXPECT_TRUE(timer->Running());
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));

    timer->SetEnabled(false);
    EXPECT_FALSE(timer->Running());
    const int stopped = ticks;
    PumpFor(60);
    EXPECT_EQ(ticks, stopped);

    timer->SetInterval(0); // no interval: stays off even when enabled
    timer->SetEnabled(true);
    EXPECT_FALSE(timer->Running());
    timer->SetInterval(10);
    ASSERT_TRUE(PumpUntil([&] { return ticks > stopped; }));
}

TEST(Timer, DestroyedTimerStopsTicking) {
    int ticks = 0;
    {
        TTimer timer(nullptr);
        timer.OnTimer = [&](TObject*) { ++ticks; };
        timer.SetInterval(5);
        ASSERT_TRUE(PumpUntil([&] { return ticks > 0; }));
    }
    const int last = ticks;
    PumpFor(40);
    EXPECT_EQ(ticks, last);
}
