// The headless clock, sleeps, frame pacing and the random numbers seeded from the clock.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <set>

#include "core/game_state.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/random.h"
#include "platform/screen.h"
#include "platform/timing.h"

namespace halvane {
namespace {

constexpr double kTick = 1.0 / 60.0;

// How far the clock moves while `wait` runs.
template <typename F> double ClockStep(F wait) {
    const double before = HeadlessClock();
    wait();
    return HeadlessClock() - before;
}
double SleptSeconds(int ms) {
    return ClockStep([ms] { SleepMs(ms); });
}

uint32_t ObservedRed = 0; // the sum of the centre pixel's red over the pages observed
void ObserveCentre(const Page &page) {
    ObservedRed += page.pixels[(240 * 640 + 320) * 4 + 2];
}

TEST(HeadlessClock, EachWaitOfTheGameMovesTheClockByItsOwnStep) {
    ASSERT_TRUE(OpenScreen(32, 0));
    HeadlessSetClock(5.0);
    // A poll pumps the display (0.1 ms) and reads the clock once (1 us).
    EXPECT_NEAR(ClockStep([] { KeyDown(kKeyEnter); }), 0.000101, 1e-9);
    int32_t x, y, wheel, buttons;
    EXPECT_NEAR(ClockStep([&] { ReadMouse(x, y, wheel, buttons); }), 0.000101, 1e-9);
    // A present waits for the next sixtieth, a whole one when standing on a tick.
    HeadlessSetClock(1.0 + 0.25 * kTick);
    WaitRetrace();
    EXPECT_NEAR(HeadlessClock(), 61 * kTick, 1e-12);
    for (int i = 0; i < 600; ++i)
        ASSERT_NEAR(ClockStep(WaitRetrace), kTick, 1e-9) << i;
    // PresentPage sleeps 2 ms more; the observer sees the page until turned off.
    HeadlessSetObserver(ObserveCentre);
    SetPages(1, 0);
    FillBox(300, 200, 340, 280, 0xC03010);
    HeadlessSetClock(2.0 + 0.5 * kTick);
    PresentPage();
    EXPECT_NEAR(HeadlessClock(), 121 * kTick + 0.002, 1e-9);
    HeadlessSetObserver(nullptr);
    PresentPage();
    EXPECT_EQ(ObservedRed, 0xC0u);
    EXPECT_EQ(HeadlessPresentCount(), 603u);
}

TEST(Sleep, ShortSleepsRunWholeLongOnesWakeForAPressAndMinusOneWaitsForOne) {
    OpenOffscreenPages(32);
    std::array<ScriptStep, 3> script{{{20.0, {}}, {21.0, {}}, {30.0, {}}}};
    script[0].state.keys[kKeySpace] = script[2].state.keys[kKeySpace] = true;
    UseScript(script);
    HeadlessSetClock(19.0);
    for (int ms : {0, -2, -2147483647 - 1})
        EXPECT_NEAR(SleptSeconds(ms), 0.0, 1e-12) << ms;
    SleepMs(-1);
    EXPECT_GE(HeadlessClock(), 20.0);
    EXPECT_LT(HeadlessClock(), 20.051);
    HeadlessSetClock(30.0);
    for (int ms : {1, 2, 99})
        EXPECT_NEAR(SleptSeconds(ms), ms / 1000.0, 1e-9);
    EXPECT_NEAR(SleptSeconds(100), 0.050, 1e-4); // the press is used up
    EXPECT_FALSE(KeyPressWaiting());
    // Without a press: 50 ms slices, and the remainder at the end.
    EXPECT_NEAR(SleptSeconds(230), 0.230, 1e-4);
    EXPECT_NEAR(SleptSeconds(150), 0.150, 1e-4);
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
    EXPECT_NEAR(ClockStep(WaitFrame), 1.0 / 45 - 0.015, 5e-4);
    SleepMs(40); // a frame slower than the cap is not delayed further
    EXPECT_LT(ClockStep(WaitFrame), 0.0015);
    // LastFrameTime from a later clock base, or a wild cap: one period at most.
    LastFrameTime = HeadlessClock() + 5000.0;
    EXPECT_LT(ClockStep(WaitFrame), 1.0 / 45 + 0.002);
    for (int fps : {0, -45}) {
        TargetFps = fps;
        EXPECT_LT(ClockStep(WaitFrame), 0.002) << fps;
    }
}

std::array<double, 64> DrawAfter(double seed) {
    SeedRandom(seed);
    std::array<double, 64> values{};
    for (double &v : values)
        v = RandomUnit();
    return values;
}

TEST(Random, WholeStepsOfOneIn32768BelowOneAndSeedsTruncateSaturateOrTakeTheClock) {
    SeedRandom(12345);
    std::set<int> seen;
    for (int i = 0; i < 200000; ++i) {
        const double steps = RandomUnit() * 32768.0;
        ASSERT_TRUE(steps == std::floor(steps) && steps >= 0 && steps < 32768) << steps;
        seen.insert(int(steps));
    }
    EXPECT_GT(seen.size(), 32000u); // spread over the range, not a short cycle
    EXPECT_NE(DrawAfter(77), DrawAfter(78));
    HeadlessSetClock(1234.75);
    for (auto [seed, equal] : {std::pair(77.9, 77.0),
                               {-3.7, -3.0},
                               {1e300, 2147483647.0},
                               {-INFINITY, -2147483648.0},
                               {NAN, 0.0},
                               {-1.0, 1234.0}})
        EXPECT_EQ(DrawAfter(seed), DrawAfter(equal)) << seed;
}

} // namespace
} // namespace halvane
