// Keys and mouse as the game polls them, from a script or a pilot.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "platform/headless.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "platform/timing.h"

namespace halvane {
namespace {

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
    for (int key : {0, 127, 128, 200, -1})
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
    SleepMs(150);
    EXPECT_NEAR(HeadlessClock(), 10.51, 1e-4);
    SleepMs(150);
    EXPECT_NEAR(HeadlessClock(), 10.66, 1e-3);
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
    SetMousePosition(310, 4, 0);
    EXPECT_EQ(ReadTheMouse(), (Reading{310, 4, 0, 0, 1}));
    SetMousePosition(-50, 9999, 0);
    EXPECT_EQ(ReadTheMouse(), (Reading{0, 479, 0, 0, 1}));
    SetMousePosition(9999, -50, 0);
    EXPECT_EQ(ReadTheMouse(), (Reading{639, 0, 0, 0, 1}));
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

} // namespace
} // namespace halvane
