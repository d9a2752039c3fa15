#include <array>
#include <cstdint>

#include <gtest/gtest.h>

#include "app/pilots.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "platform/timing.h"

namespace halvane {
namespace {

InputState Held(std::initializer_list<int> keys) {
    InputState state;
    for (int key : keys)
        state.keys[key] = true;
    return state;
}

InputState MouseAt(int x, int y, int buttons) {
    InputState state;
    state.mouseX = x;
    state.mouseY = y;
    state.buttons = buttons;
    return state;
}

// x, y, wheel, buttons, and 1 for success
using Reading = std::array<int32_t, 5>;
constexpr Reading kFailed{-1, -1, -1, -1, 0};

Reading ReadTheMouse() {
    Reading r{};
    r[4] = ReadMouse(r[0], r[1], r[2], r[3]);
    return r;
}

TEST(KeyDown, OnlyKeysOfTheTableOnAnOpenScreenAreEverHeld) {
    InputState all;
    all.keys.fill(true);
    std::array<ScriptStep, 1> script{{{0.0, all}}};
    UseScript(script);

    // No screen yet: nothing is held.
    EXPECT_FALSE(KeyDown(kKeyEnter));

    OpenOffscreenPages(32);
    EXPECT_TRUE(KeyDown(0));
    EXPECT_TRUE(KeyDown(127));
    EXPECT_FALSE(KeyDown(128));
    EXPECT_FALSE(KeyDown(200));
    EXPECT_FALSE(KeyDown(-1));
}

TEST(Script, StateInForceIsTheLastStepAtOrBeforeNow) {
    OpenOffscreenPages(32);
    HeadlessSetClock(0.5);
    std::array<ScriptStep, 3> script{{
        {1.0, Held({kKeyEnter})},
        {2.0, Held({kKeyUp})},
        {2.0, Held({kKeyDown})}, // the later of two steps at one time wins
    }};
    UseScript(script);

    EXPECT_FALSE(KeyDown(kKeyEnter)); // before the first step, nothing is held

    // The release at 2.0 ends a busy wait on Enter, and is seen only after 2.0.
    while (!KeyDown(kKeyEnter)) {
    }
    EXPECT_GE(HeadlessClock(), 1.0);
    EXPECT_LT(HeadlessClock(), 1.001);
    while (KeyDown(kKeyEnter)) {
    }
    EXPECT_GE(HeadlessClock(), 2.0);
    EXPECT_LT(HeadlessClock(), 2.001);
    EXPECT_FALSE(KeyDown(kKeyUp));
    EXPECT_TRUE(KeyDown(kKeyDown));
}

TEST(Script, APressBetweenTwoPollsWakesASleepThoughKeyDownMissesIt) {
    OpenOffscreenPages(32);
    HeadlessSetClock(10.0);
    std::array<ScriptStep, 4> script{{
        {10.02, Held({kKeySpace})},
        {10.03, Held({})},
        {10.5, Held({kKeyEnter, kKeyUp})},
        {10.6, Held({kKeyEnter})}, // a key let go is no press
    }};
    UseScript(script);
    EXPECT_FALSE(KeyPressWaiting());
    SleepMs(40);
    EXPECT_FALSE(KeyDown(kKeySpace));
    EXPECT_TRUE(KeyPressWaiting());
    ConsumeKeyPresses();
    EXPECT_FALSE(KeyPressWaiting());

    // A long sleep is woken by the press at 10.5 and uses it up: the next one,
    // with Enter still held across the step at 10.6, runs its whole length.
    HeadlessSetClock(10.46);
    SleepMs(150);
    EXPECT_NEAR(HeadlessClock(), 10.51, 1e-4);
    EXPECT_TRUE(KeyDown(kKeyEnter));
    double before = HeadlessClock();
    SleepMs(150);
    EXPECT_NEAR(HeadlessClock() - before, 0.150, 1e-4);
}

TEST(Mouse, ReadingFailsWithMinusOnesWithoutAScreenOrAMouse) {
    std::array<ScriptStep, 2> script{{{0.0, MouseAt(100, 200, 1)}, {5.0, MouseAt(100, 200, 1)}}};
    script[1].state.mouseAvailable = false;
    UseScript(script);
    HeadlessSetClock(1.0);

    EXPECT_EQ(ReadTheMouse(), kFailed);
    OpenOffscreenPages(32);
    EXPECT_EQ(ReadTheMouse(), (Reading{100, 200, 0, kMouseLeft, 1}));
    HeadlessSetClock(6.0);
    EXPECT_EQ(ReadTheMouse(), kFailed);
}

TEST(Mouse, PlacedPointerHoldsUntilTheScriptMovesTheMouse) {
    OpenOffscreenPages(32);
    HeadlessSetClock(0.0);
    std::array<ScriptStep, 3> script{{
        {0.0, MouseAt(100, 100, 0)},
        {1.0, MouseAt(100, 100, kMouseRight)}, // a click where the mouse was
        {2.0, MouseAt(150, 90, 0)},
    }};
    UseScript(script);

    SetMousePosition(310, 4, 0);
    EXPECT_EQ(ReadTheMouse(), (Reading{310, 4, 0, 0, 1}));

    HeadlessSetClock(1.5);
    EXPECT_EQ(ReadTheMouse(), (Reading{310, 4, 0, kMouseRight, 1}));

    HeadlessSetClock(2.5);
    EXPECT_EQ(ReadTheMouse(), (Reading{150, 90, 0, 0, 1}));

    // A move the script made before the pointer was placed does not undo it.
    HeadlessSetClock(3.0);
    std::array<ScriptStep, 2> later{{{0.0, MouseAt(10, 10, 0)}, {3.5, MouseAt(20, 20, 0)}}};
    UseScript(later);
    HeadlessSetClock(4.0);
    SetMousePosition(310, 4, 0);
    EXPECT_EQ(ReadTheMouse(), (Reading{310, 4, 0, 0, 1}));

    // The pointer stays on the page.
    SetMousePosition(-50, 9999, 0);
    EXPECT_EQ(ReadTheMouse(), (Reading{0, 479, 0, 0, 1}));
    EXPECT_EQ(DeviceInput().mouseX, 0);
    EXPECT_EQ(DeviceInput().mouseY, 479);
}

TEST(Mouse, CaptureIsWantedUntilTheKeyboardAloneIsPolledForATenthOfASecond) {
    OpenOffscreenPages(32);
    HeadlessSetClock(3.0);
    EXPECT_FALSE(MouseCaptureWanted());

    ReadTheMouse();
    EXPECT_TRUE(MouseCaptureWanted());
    SleepMs(90);
    KeyDown(kKeyEsc);
    EXPECT_TRUE(MouseCaptureWanted());

    ReadTheMouse(); // flight reads the mouse every frame
    SleepMs(99);
    KeyDown(kKeyEsc);
    EXPECT_TRUE(MouseCaptureWanted());
    SleepMs(2);
    KeyDown(kKeyEsc);
    EXPECT_FALSE(MouseCaptureWanted());
}

// A pilot that notes each call, and holds C while the clock is past 7 s.
int PilotCalls = 0;
double PilotFirstNow = 0.0;
double PilotLastNow = 0.0;
bool PilotSawTimeGoBack = false;

void CountingPilot(double now, InputState &state) {
    if (PilotCalls == 0)
        PilotFirstNow = now;
    else if (now <= PilotLastNow)
        PilotSawTimeGoBack = true;
    ++PilotCalls;
    PilotLastNow = now;
    state.keys[kKeyC] = now >= 7.0;
}

TEST(Pilot, IsAskedAtEveryPollAndSeesTimeMoveOn) {
    OpenOffscreenPages(32);
    HeadlessSetClock(6.9);
    UsePilot(CountingPilot);

    int32_t x, y, wheel, buttons;
    KeyDown(kKeyC);
    ReadMouse(x, y, wheel, buttons);
    KeyDown(kKeyV);
    EXPECT_EQ(PilotCalls, 3);

    while (!KeyDown(kKeyC)) {
    }
    EXPECT_FALSE(PilotSawTimeGoBack);
    EXPECT_GT(PilotLastNow, PilotFirstNow);
    EXPECT_GE(PilotLastNow, 7.0);
    EXPECT_LT(PilotLastNow, 7.001);

    // The pilot's state persists: the mouse it was given stays where the
    // game put it, and its key going down is one press.
    SetMousePosition(310, 4, 0);
    ReadMouse(x, y, wheel, buttons);
    EXPECT_EQ(x, 310);
    EXPECT_EQ(y, 4);
    EXPECT_TRUE(KeyPressWaiting());
}

TEST(Pilot, HoldKeyPilotHoldsItsKeyForItsSpan) {
    OpenOffscreenPages(32);
    HeadlessSetClock(0.0);
    KeyHold = {kKeyDown, 1.0, 3.0};
    UsePilot(HoldKeyPilot);

    EXPECT_FALSE(KeyDown(kKeyDown));
    SleepMs(-1); // wakes on the press at 1 s
    EXPECT_GE(HeadlessClock(), 1.0);
    EXPECT_LT(HeadlessClock(), 1.06);
    EXPECT_TRUE(KeyDown(kKeyDown));
    while (KeyDown(kKeyDown)) {
    }
    EXPECT_GE(HeadlessClock(), 3.0);
    EXPECT_LT(HeadlessClock(), 3.001);
}

TEST(Pilot, TapKeyPilotPressesOncePerPeriod) {
    OpenOffscreenPages(32);
    HeadlessSetClock(0.0);
    KeyTap = {kKeyEnter, 0.5, 1.0, 0.1};
    UsePilot(TapKeyPilot);

    int presses = 0;
    bool wasDown = false;
    while (HeadlessClock() < 4.0) {
        bool down = KeyDown(kKeyEnter);
        if (down && !wasDown) ++presses;
        wasDown = down;
        SleepMs(10);
    }
    EXPECT_EQ(presses, 4); // at 0.5, 1.5, 2.5 and 3.5
}

} // namespace
} // namespace halvane
