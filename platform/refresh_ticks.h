// refresh_ticks.h -- the window's refreshes as arithmetic on clock seconds: a
// present with nothing new to show waits for the next 1/60 s tick, and a
// window out of view, having no refresh at all, is served its ticks a few at
// a time, so that an idle game out of view seldom wakes (the window at rest
// in view too, its wait ending early on input).
#pragma once

namespace halvane {

constexpr double kTickSeconds = 1.0 / 60.0;
// Out of view the game still gets 60 refreshes a second, this many at once:
// the wait for the first lasts until the last of them is due, and the
// others find theirs gone by.
constexpr int kHiddenTicksAtOnce = 3;

// The first tick strictly after `now`, and the last one at or before it.
double NextTick(double now);
double LastTick(double now);

struct TickWait {
    double tick;   // the refresh this present is given
    double wakeAt; // when its wait (and the rest after it) ends; <= now: at once
};

// The wait of a present out of view at `now`, the refresh before it having
// been given at `lastTick`, with `restSeconds` of sleep wanted after it.
TickWait HiddenTickWait(double lastTick, double now, double restSeconds);

} // namespace halvane
