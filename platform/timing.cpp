// timing.cpp -- the clock, sleeping with its key-buffer rule, and the two
// loop-pacing steps. Time comes from the display (real or virtual), so the
// same code paces the window and the headless runs.
#include "platform/timing.h"

#include <cmath>

#include "core/game_state.h"
#include "platform/display.h"
#include "platform/frame_log.h"
#include "platform/input.h"
#include "platform/screen.h"

namespace halvane {

namespace {

constexpr int kSleepSliceMs = 50;

// WaitFrame sleeps while more than this is left of the frame and spins the
// rest, since a sleep may overrun by a fraction of a millisecond.
constexpr double kSpinMarginMs = 0.5;

} // namespace

double ClockSeconds() {
    return DisplayClock();
}

void SleepMs(int ms) {
    if (ms == -1) {
        while (!KeyPressWaiting())
            DisplaySleep(kSleepSliceMs);
        ConsumeKeyPresses();
        return;
    }
    if (ms <= 0) return;
    if (ms < 100) {
        DisplaySleep(ms);
        return;
    }
    // Long sleeps wake for a key press; the press that wakes one is used up,
    // so it does not cut the next long sleep short as well.
    int left = ms;
    while (left >= kSleepSliceMs) {
        DisplaySleep(kSleepSliceMs);
        left -= kSleepSliceMs;
        if (KeyPressWaiting()) {
            ConsumeKeyPresses();
            return;
        }
    }
    if (left > 0) DisplaySleep(left);
}

void WaitFrame() {
    // A cap of 0 or less would never be reached: such a loop runs unpaced.
    double period = TargetFps > 0 ? 1.0 / TargetFps : 0.0;
    double start = LastFrameTime;
    for (;;) {
        double now = ClockSeconds();
        // A clock behind LastFrameTime (a new clock base) delays the frame
        // by one period at most.
        if (now < start) start = now;
        double leftMs = (period - (now - start)) * 1000.0;
        if (leftMs <= 0.0) break;
        int sleepMs = static_cast<int>(std::floor(leftMs - kSpinMarginMs));
        if (sleepMs >= 1)
            DisplaySleep(sleepMs);
        else
            DisplayPump(); // the last moment is spun, keeping the window alive
    }
    LastFrameTime = ClockSeconds();
    LogFrame(LastFrameTime, TargetFps);
    SleepMs(1);
}

void PresentPage() {
    CopyWorkPage();
    WaitRetrace();
    SleepMs(2);
}

} // namespace halvane
