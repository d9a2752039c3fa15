#include <array>

#include <gtest/gtest.h>

#include "core/game_state.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "platform/timing.h"

namespace halvane {
namespace {

// Space goes down at 20.0 s and stays down.
std::array<ScriptStep, 1> SpaceAtTwenty{{{20.0, {}}}};

void UseSpaceAtTwenty() {
    SpaceAtTwenty[0].state.keys[kKeySpace] = true;
    UseScript(SpaceAtTwenty);
}

double SleptSeconds(int ms) {
    double before = HeadlessClock();
    SleepMs(ms);
    return HeadlessClock() - before;
}

TEST(SleepMs, ShortSleepsAreNeverCutShortByAKeyPress) {
    OpenOffscreenPages(32);
    HeadlessSetClock(30.0);
    UseSpaceAtTwenty();
    ASSERT_TRUE(KeyPressWaiting());

    EXPECT_NEAR(SleptSeconds(2), 0.002, 1e-9);
    EXPECT_NEAR(SleptSeconds(1), 0.001, 1e-9);
    EXPECT_NEAR(SleptSeconds(99), 0.099, 1e-9);
    EXPECT_TRUE(KeyPressWaiting());
}

TEST(SleepMs, LongSleepsWakeAtTheFirstSliceWithAPressWaiting) {
    OpenOffscreenPages(32);
    HeadlessSetClock(30.0);
    UseSpaceAtTwenty();
    EXPECT_NEAR(SleptSeconds(150), 0.050, 1e-4);
    EXPECT_FALSE(KeyPressWaiting());
    // Without a press: 50 ms slices, and the remainder at the end.
    EXPECT_NEAR(SleptSeconds(230), 0.230, 1e-4);
    EXPECT_NEAR(SleptSeconds(100), 0.100, 1e-4);
}

TEST(SleepMs, MinusOneWaitsForAPressAndOtherValuesReturnAtOnce) {
    OpenOffscreenPages(32);
    HeadlessSetClock(19.0);
    UseSpaceAtTwenty();
    EXPECT_NEAR(SleptSeconds(0), 0.0, 1e-12);
    EXPECT_NEAR(SleptSeconds(-2), 0.0, 1e-12);
    EXPECT_NEAR(SleptSeconds(-2147483647 - 1), 0.0, 1e-12);

    SleepMs(-1);
    EXPECT_GE(HeadlessClock(), 20.0);
    EXPECT_LT(HeadlessClock(), 20.051);
}

TEST(WaitFrame, TwoHundredThirtyFramesAtTwentyThreeTakeTenSeconds) {
    HeadlessSetClock(100.0);
    TargetFps = 23;
    LastFrameTime = ClockSeconds();
    double start = LastFrameTime;
    for (int frame = 0; frame < 230; ++frame) {
        double previous = LastFrameTime;
        WaitFrame();
        ASSERT_GE(LastFrameTime - previous, 1.0 / 23) << "frame " << frame;
    }
    EXPECT_GE(HeadlessClock() - start, 10.0);
    EXPECT_LT(HeadlessClock() - start, 10.05);
}

TEST(WaitFrame, WorkDoneInTheFrameCountsTowardsItsPeriod) {
    HeadlessSetClock(50.0);
    TargetFps = 45;
    LastFrameTime = ClockSeconds();
    SleepMs(15); // the frame's own drawing and update
    WaitFrame();
    EXPECT_NEAR(HeadlessClock() - 50.0, 1.0 / 45 + 0.001, 5e-4);

    // A frame slower than the cap is not delayed further.
    SleepMs(40);
    double before = HeadlessClock();
    WaitFrame();
    EXPECT_LT(HeadlessClock() - before, 0.0015);
}

TEST(WaitFrame, NeverWaitsLongerThanAPeriodNorForeverOnAWildCap) {
    // LastFrameTime from a later clock base: one period at most.
    HeadlessSetClock(10.0);
    TargetFps = 33;
    LastFrameTime = 5000.0;
    WaitFrame();
    EXPECT_LT(HeadlessClock() - 10.0, 1.0 / 33 + 0.002);

    for (int fps : {0, -45}) {
        TargetFps = fps;
        double before = HeadlessClock();
        WaitFrame();
        EXPECT_LT(HeadlessClock() - before, 0.002) << fps;
    }
}

} // namespace
} // namespace halvane
