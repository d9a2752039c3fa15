// pilots.cpp -- the automatic players. They only set the input state they are
// handed; the plans that steer them are set by the test or tool.
#include "app/pilots.h"

#include <cmath>

namespace halvane {

KeyHoldPlan KeyHold;
KeyTapPlan KeyTap;

namespace {

bool IsKey(int scanCode) {
    return scanCode >= 0 && scanCode < 128;
}

} // namespace

void HoldKeyPilot(double now, InputState &state) {
    if (!IsKey(KeyHold.scanCode)) return;
    state.keys[KeyHold.scanCode] = now >= KeyHold.from && now < KeyHold.until;
}

void TapKeyPilot(double now, InputState &state) {
    if (!IsKey(KeyTap.scanCode)) return;
    bool down = false;
    if (now >= KeyTap.from && KeyTap.period > 0.0) {
        double intoPeriod = std::fmod(now - KeyTap.from, KeyTap.period);
        down = intoPeriod < KeyTap.held;
    }
    state.keys[KeyTap.scanCode] = down;
}

} // namespace halvane
