#include <array>

#include <gtest/gtest.h>

#include "core/game_state.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "platform/timing.h"

namespace halvane {
namespace {

double SleptSeconds(int ms) {
    const double before = HeadlessClock();
    SleepMs(ms);
    return HeadlessClock() - before;
}

std::array<ScriptStep, 1> SpaceAtTwenty{{{20.0, {}}}}; // held from 20 s on

void PressSpaceAtTwenty(double now) {
    OpenOffscreenPages(32);
    SpaceAtTwenty[0].state.keys[kKeySpace] = true;
    UseScript(SpaceAtTwenty);
    HeadlessSetClock(now);
}

TEST(Sleep, ShortSleepsRunWholeAndLongOnesWakeAtTheFirstSliceWithAPress) {
    PressSpaceAtTwenty(30.0);
    for (int ms : {1, 2, 99})
        EXPECT_NEAR(SleptSeconds(ms), ms / 1000.0, 1e-9);
    EXPECT_NEAR(SleptSeconds(100), 0.050, 1e-4); // the press is used up
    EXPECT_FALSE(KeyPressWaiting());
    // Without a press: 50 ms slices, and the remainder at the end.
    EXPECT_NEAR(SleptSeconds(230), 0.230, 1e-4);
    EXPECT_NEAR(SleptSeconds(150), 0.150, 1e-4);
}

TEST(Sleep, MinusOneWaitsForAPressAndOtherValuesReturnAtOnce) {
    PressSpaceAtTwenty(19.0);
    for (int ms : {0, -2, -2147483647 - 1})
        EXPECT_NEAR(SleptSeconds(ms), 0.0, 1e-12) << ms;
    SleepMs(-1);
    EXPECT_GE(HeadlessClock(), 20.0);
    EXPECT_LT(HeadlessClock(), 20.051);
}

// How far the clock moves in one WaitFrame.
double FrameWait() {
    const double before = HeadlessClock();
    WaitFrame();
    return HeadlessClock() - before;
}

TEST(WaitFrame, KeepsTheRateCountsTheFramesOwnWorkAndNeverWaitsLongerThanAPeriod) {
    HeadlessSetClock(100.0);
    TargetFps = 23;
    LastFrameTime = ClockSeconds();
    for (int frame = 0; frame < 230; ++frame)
        WaitFrame();
    EXPECT_GE(HeadlessClock(), 110.0);
    EXPECT_LT(HeadlessClock(), 110.05);
    TargetFps = 45;
    SleepMs(15); // the frame's own work
    EXPECT_NEAR(FrameWait(), 1.0 / 45 - 0.015, 5e-4);
    SleepMs(40); // a frame slower than the cap is not delayed further
    EXPECT_LT(FrameWait(), 0.0015);
    // LastFrameTime from a later clock base, or a wild cap: one period at most.
    LastFrameTime = HeadlessClock() + 5000.0;
    EXPECT_LT(FrameWait(), 1.0 / 45 + 0.002);
    for (int fps : {0, -45}) {
        TargetFps = fps;
        EXPECT_LT(FrameWait(), 0.002) << fps;
    }
}

} // namespace
} // namespace halvane
