// pilots.h -- automatic players for tests, tools and the measuring mode: each
// pilot is a plain procedure asked by the input layer at every poll. A pilot
// reads the game's variables but never writes them; what it is told to do
// lives in its own plan variables, set before it is chosen with UsePilot.
#pragma once

#include "platform/input.h"

namespace halvane {

// HoldKeyPilot: holds one key from `from` until `until` (seconds of the
// clock), and nothing else.
struct KeyHoldPlan {
    int scanCode = kKeyEnter;
    double from = 0.0;
    double until = 0.0;
};
extern KeyHoldPlan KeyHold;

void HoldKeyPilot(double now, InputState &state);

// TapKeyPilot: from `from` on, presses one key for `held` seconds once every
// `period` seconds, as a player confirming screen after screen would.
struct KeyTapPlan {
    int scanCode = kKeyEnter;
    double from = 0.0;
    double period = 1.0;
    double held = 0.1;
};
extern KeyTapPlan KeyTap;

void TapKeyPilot(double now, InputState &state);

} // namespace halvane
