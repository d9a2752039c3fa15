// timing.cpp -- the clock, sleeping with its key-buffer rule, and the two
// loop-pacing steps. Time comes from the display (real or virtual), so the
// same code paces the window and the headless runs. Each operation here is one
// event of a recording, the clock readings and sleeps inside it included; a
// replay answers it from the file.
#include "platform/timing.h"

#include <algorithm>
#include <cmath>

#include "core/game_state.h"
#include "platform/display.h"
#include "platform/frame_log.h"
#include "platform/frame_work.h"
#include "platform/input.h"
#include "platform/replay.h"
#include "platform/screen.h"

namespace halvane {

namespace {

constexpr int kSleepSliceMs = 50;
// PresentPage's sleep after the refresh.
constexpr double kPresentRestMs = 2.0;

// WaitFrame sleeps until shortly before the frame's end and spins the rest,
// since a sleep may return late. How late is measured as it goes: the spin
// left before the end is the sleeps' mean lateness plus three times its mean
// deviation, within these bounds.
constexpr double kMinSpinMs = 0.05;
constexpr double kMaxSpinMs = 2.0;
// Shorter sleeps cost more in wake-up than they save in spinning.
constexpr double kMinSleepMs = 0.05;
double SleepLateMs = 0.5;      // running mean of how late DisplaySleep returned
double SleepLateSpreadMs = 0.; // running mean deviation of the same

void NoteSleepLateness(double lateMs) {
    const double deviation = std::fabs(lateMs - SleepLateMs);
    SleepLateMs += (lateMs - SleepLateMs) / 16.0;
    SleepLateSpreadMs += (deviation - SleepLateSpreadMs) / 16.0;
}

double SpinMarginMs() {
    return std::clamp(SleepLateMs + 3.0 * SleepLateSpreadMs, kMinSpinMs, kMaxSpinMs);
}

// SleepMs as the operation does it, unrecorded (also the sleeps inside the
// pacing steps).
void SleepNow(int ms) {
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

// Busy-waits until 1/TargetFps after LastFrameTime; returns a fresh reading.
double SpinToFrameEnd() {
    const double period = TargetFps > 0 ? 1.0 / TargetFps : 0.0;
    double start = LastFrameTime;
    for (;;) {
        const double now = DisplayClock();
        // A clock behind LastFrameTime delays this frame by one period at most.
        if (now < start) start = now;
        if (now - start >= period) break;
    }
    return DisplayClock();
}

} // namespace

double ClockSeconds() {
    if (Replaying()) return PlayClock();
    const double now = DisplayClock();
    return Recording() ? RecordClock(now) : now;
}

void SleepMs(int ms) {
    if (Replaying()) {
        PlayWait(ReplayEvent::Sleep, ms);
        return;
    }
    SleepNow(ms);
    if (Recording()) RecordWait(ReplayEvent::Sleep, ms, DisplayClock());
}

void WaitFrame() {
    FrameWorkEnds();
    if (Replaying()) {
        LastFrameTime = PlayWait(ReplayEvent::WaitFrame, 0);
        LogFrame(LastFrameTime, TargetFps);
        ReplayPagePresented();
        FrameWorkBegins();
        return;
    }
    // A cap of 0 or less would never be reached: such a loop runs unpaced.
    double period = TargetFps > 0 ? 1.0 / TargetFps : 0.0;
    double start = LastFrameTime;
    // The page the frame made visible goes to the window now, so that the
    // sleeps below are sleeps only.
    DisplayPump();
    for (;;) {
        double now = DisplayClock();
        // A clock behind LastFrameTime (a new clock base) delays the frame
        // by one period at most.
        if (now < start) start = now;
        double leftMs = (period - (now - start)) * 1000.0;
        if (leftMs <= 0.0) break;
        const double sleepMs = leftMs - SpinMarginMs();
        // The last moment is spun on the clock alone, which still services
        // the window every few milliseconds.
        if (sleepMs < kMinSleepMs) continue;
        DisplaySleep(sleepMs);
        NoteSleepLateness((DisplayClock() - now) * 1000.0 - sleepMs);
    }
    LastFrameTime = DisplayClock();
    if (Recording()) LastFrameTime = RecordWait(ReplayEvent::WaitFrame, 0, LastFrameTime);
    LogFrame(LastFrameTime, TargetFps);
    // Counted before the closing sleep, so that a run ended during it counts
    // its pages as its replay does.
    ReplayPagePresented();
    SleepNow(1);
    FrameWorkBegins();
}

void WaitFrameTime() {
    if (Replaying()) {
        LastFrameTime = PlayWait(ReplayEvent::WaitFrameTime, 0);
        return;
    }
    LastFrameTime = SpinToFrameEnd();
    if (Recording()) LastFrameTime = RecordWait(ReplayEvent::WaitFrameTime, 0, LastFrameTime);
}

void PresentPage() {
    CopyWorkPage();
    if (Replaying()) {
        PlayWait(ReplayEvent::PresentPage, 0);
    } else {
        ShowVisiblePage(kPresentRestMs);
        if (Recording()) RecordWait(ReplayEvent::PresentPage, 0, DisplayClock());
    }
    ReplayPagePresented();
}

} // namespace halvane
