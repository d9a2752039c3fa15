// The input and timing layer on the headless clock: keys and mouse from a
// script or a pilot, sleeps, frame pacing and the clock-seeded random numbers.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
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

// A script step from `time` on holding `keys`, the mouse at (x, y) with `buttons`.
ScriptStep At(double time, std::initializer_list<int> keys, int x = 310, int y = 4,
              int buttons = 0) {
    ScriptStep step{time, {}};
    for (int key : keys)
        step.state.keys[key] = true;
    step.state.mouseX = x, step.state.mouseY = y, step.state.buttons = buttons;
    return step;
}

using Reading = std::array<int32_t, 5>; // x, y, wheel, buttons, and 1 for success
constexpr Reading kFailed{-1, -1, -1, -1, 0};

Reading ReadTheMouse() {
    Reading r{};
    r[4] = ReadMouse(r[0], r[1], r[2], r[3]);
    return r;
}

// Polls until KeyDown(key) is `down`, which must come within a millisecond after `at`.
void ExpectChangeJustAfter(int key, bool down, double at) {
    while (KeyDown(key) != down) {
    }
    EXPECT_GE(HeadlessClock(), at);
    EXPECT_LT(HeadlessClock(), at + 0.001);
}

TEST(Input, OnlyKeysOfTheTableOnAnOpenScreenAreHeldAndTheMouseFailsWithoutOne) {
    std::array<ScriptStep, 2> script{{At(0.0, {}, 100, 200, kMouseLeft), At(5.0, {})}};
    script[0].state.keys.fill(true);
    script[1].state.mouseAvailable = false;
    UseScript(script);
    HeadlessSetClock(1.0);
    EXPECT_FALSE(KeyDown(kKeyEnter));
    EXPECT_EQ(ReadTheMouse(), kFailed);
    OpenOffscreenPages(32);
    for (int key : {0, 127, 128, 200, -1}) // the table's first and last keys, and beyond
        EXPECT_EQ(KeyDown(key), key == 0 || key == 127) << key;
    EXPECT_EQ(ReadTheMouse(), (Reading{100, 200, 0, kMouseLeft, 1}));
    HeadlessSetClock(6.0);
    EXPECT_EQ(ReadTheMouse(), kFailed);
}

TEST(Script, TheLastStepAtOrBeforeNowHoldsAndShortPressesWakeSleeps) {
    OpenOffscreenPages(32);
    HeadlessSetClock(0.5);
    // Of two steps at one time the later wins; Up let go at 10.6 is no press.
    const std::array<ScriptStep, 7> script{
        {At(1.0, {kKeyEnter}), At(2.0, {kKeyUp}), At(2.0, {kKeyDown}), At(10.02, {kKeySpace}),
         At(10.03, {}), At(10.5, {kKeyEnter, kKeyUp}), At(10.6, {kKeyEnter})}};
    UseScript(script);
    EXPECT_FALSE(KeyDown(kKeyEnter));
    ExpectChangeJustAfter(kKeyEnter, true, 1.0);
    ExpectChangeJustAfter(kKeyEnter, false, 2.0);
    EXPECT_FALSE(KeyDown(kKeyUp));
    EXPECT_TRUE(KeyDown(kKeyDown));
    HeadlessSetClock(10.0);
    ConsumeKeyPresses();
    EXPECT_FALSE(KeyPressWaiting());
    SleepMs(40); // Space goes down and up between two polls
    EXPECT_FALSE(KeyDown(kKeySpace));
    EXPECT_TRUE(KeyPressWaiting());
    ConsumeKeyPresses();
    // A long sleep is woken by the press at 10.5 and uses it up: the next one,
    // with Enter still held across the step at 10.6, runs its whole length.
    HeadlessSetClock(10.46);
    EXPECT_NEAR(SleptSeconds(150), 0.05, 1e-4);
    EXPECT_NEAR(SleptSeconds(150), 0.15, 1e-3);
}

TEST(Mouse, PlacedPointerHoldsUntilTheScriptMovesTheMouseAndCaptureFollowsReading) {
    OpenOffscreenPages(32);
    // A click where the mouse was at 1.0, a move at 2.0.
    const std::array<ScriptStep, 3> script{
        {At(0.0, {}, 100, 100), At(1.0, {}, 100, 100, kMouseRight), At(2.0, {}, 150, 90)}};
    UseScript(script);
    EXPECT_FALSE(MouseCaptureWanted());
    SetMousePosition(310, 4, 0);
    HeadlessSetClock(1.5);
    EXPECT_EQ(ReadTheMouse(), (Reading{310, 4, 0, kMouseRight, 1}));
    HeadlessSetClock(2.5);
    EXPECT_EQ(ReadTheMouse(), (Reading{150, 90, 0, 0, 1}));
    // The script's move at 2.7 is behind the pointer placed at 3.0.
    const std::array<ScriptStep, 2> later{{At(0.0, {}, 10, 10), At(2.7, {}, 20, 20)}};
    UseScript(later);
    HeadlessSetClock(3.0);
    for (auto [x, y, heldX, heldY] :
         {std::array{310, 4, 310, 4}, {-50, 9999, 0, 479}, {9999, -50, 639, 0}}) {
        SetMousePosition(x, y, 0);
        EXPECT_EQ(ReadTheMouse(), (Reading{heldX, heldY, 0, 0, 1}));
    }
    // Capture lasts until the keyboard alone is polled for a tenth of a second.
    SleepMs(99);
    KeyDown(kKeyEsc);
    EXPECT_TRUE(MouseCaptureWanted());
    SleepMs(2);
    KeyDown(kKeyEsc);
    EXPECT_FALSE(MouseCaptureWanted());
}

int PilotCalls = 0; // the pilot below holds C from 7 s on
double PilotLastNow = 0.0;
bool PilotSawTimeStand = false;

void CountingPilot(double now, InputState &state) {
    PilotSawTimeStand |= PilotCalls++ > 0 && now <= PilotLastNow;
    PilotLastNow = now;
    state.keys[kKeyC] = now >= 7.0;
}

TEST(Pilot, IsAskedAtEveryPollSeesTimeMoveOnAndKeepsItsState) {
    OpenOffscreenPages(32);
    HeadlessSetClock(6.9);
    UsePilot(CountingPilot);
    KeyDown(kKeyC);
    ReadTheMouse();
    KeyDown(kKeyV);
    EXPECT_EQ(PilotCalls, 3);
    ExpectChangeJustAfter(kKeyC, true, 7.0);
    EXPECT_FALSE(PilotSawTimeStand);
    // The mouse stays where the game put it; the key going down is one press.
    SetMousePosition(200, 40, 0);
    EXPECT_EQ(ReadTheMouse(), (Reading{200, 40, 0, 0, 1}));
    EXPECT_TRUE(KeyPressWaiting());
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
    EXPECT_NEAR(ClockStep(ReadTheMouse), 0.000101, 1e-9);
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
    const std::array<ScriptStep, 3> script{
        {At(20.0, {kKeySpace}), At(21.0, {}), At(30.0, {kKeySpace})}};
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
