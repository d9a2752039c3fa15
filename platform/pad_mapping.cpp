// pad_mapping.cpp -- which key each controller input holds where, and the
// pointer motion of the left stick in flight with mouse controls.
#include "platform/pad_mapping.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "platform/input.h"

namespace halvane {

namespace {

constexpr int kNoKey = 0;

// The key an input takes when it is pressed in `situation`.
int KeyFor(int input, PadSituation situation) {
    const PadPlace place = situation.place;
    switch (input) {
    case kPadUp:
    case kStickUp:
        return situation.pointer ? kNoKey : kKeyUp;
    case kPadDown:
    case kStickDown:
        return situation.pointer ? kNoKey : kKeyDown;
    case kPadLeft:
    case kStickLeft:
        return situation.pointer ? kNoKey : kKeyLeft;
    case kPadRight:
    case kStickRight:
        return situation.pointer ? kNoKey : kKeyRight;
    case kPadA:
        return place == PadPlace::Prompt ? kKeyY : kKeyEnter;
    case kPadB:
    case kPadBack:
        // Esc means something only in flight; anywhere else B does nothing.
        if (place == PadPlace::Flight) return kKeyEsc;
        return place == PadPlace::Prompt ? kKeyN : kNoKey;
    case kPadStart:
        // Start pauses and resumes flight, and chooses in the menus.
        if (place == PadPlace::Flight) return kKeyEsc;
        return place == PadPlace::Prompt ? kKeyN : kKeyEnter;
    case kPadRightShoulder:
        return place == PadPlace::Flight ? kKeySpace : kNoKey;
    case kRightTriggerInput:
        return kKeyC;
    case kLeftTriggerInput:
        return kKeyV;
    default:
        return kNoKey;
    }
}

// Whether an analog input counts as pressed, given whether it was.
bool AnalogPressed(float value, bool wasPressed) {
    return value >= (wasPressed ? kReleaseAt : kPressAt);
}

// Whether each input of `pad` is pressed now.
std::array<bool, kPadInputs> PressedInputs(const PadState &pad,
                                           const std::array<int8_t, kPadInputs> &held) {
    std::array<bool, kPadInputs> pressed{};
    for (int b = 0; b < kPadButtons; ++b)
        pressed[b] = pad.buttons[b];
    const auto analog = [&](int input, float value) {
        pressed[input] = AnalogPressed(value, held[input] >= 0);
    };
    analog(kStickUp, -pad.stickY);
    analog(kStickDown, pad.stickY);
    analog(kStickLeft, -pad.stickX);
    analog(kStickRight, pad.stickX);
    analog(kLeftTriggerInput, pad.leftTrigger);
    analog(kRightTriggerInput, pad.rightTrigger);
    return pressed;
}

// The stick's deflection past the dead zone, scaled back to 0..1 and
// keeping its direction; the d-pad counts as the stick pushed all the way.
void PointerPush(const PadState &pad, double &x, double &y) {
    double sx = pad.stickX;
    double sy = pad.stickY;
    const double length = std::hypot(sx, sy);
    if (!(length > kDeadZone)) {
        sx = sy = 0; // a resting stick (or a broken reading) never drifts
    } else {
        const double scale = std::min(1.0, (length - kDeadZone) / (1.0 - kDeadZone)) / length;
        sx *= scale;
        sy *= scale;
    }
    sx += (pad.buttons[kPadRight] ? 1 : 0) - (pad.buttons[kPadLeft] ? 1 : 0);
    sy += (pad.buttons[kPadDown] ? 1 : 0) - (pad.buttons[kPadUp] ? 1 : 0);
    x += sx;
    y += sy;
}

} // namespace

PadSituation PadSituationAt(double now, double escPolled, double yesNoPolled, bool mouseRead) {
    const bool asksEsc = now - escPolled < kPollMemorySeconds;
    const bool asksYesNo = now - yesNoPolled < kPollMemorySeconds;
    PadSituation situation;
    if (asksYesNo && (!asksEsc || yesNoPolled >= escPolled)) {
        situation.place = PadPlace::Prompt;
    } else if (asksEsc) {
        situation.place = PadPlace::Flight;
        situation.pointer = mouseRead;
    }
    return situation;
}

PadOutput MapPads(std::span<const PadState, kMaxPads> pads, PadSituation situation, double seconds,
                  PadMemory &memory) {
    PadOutput out;
    double pushX = 0;
    double pushY = 0;
    for (std::size_t p = 0; p < kMaxPads; ++p) {
        std::array<int8_t, kPadInputs> &held = memory.held[p];
        if (!pads[p].connected) {
            held.fill(-1);
            continue;
        }
        const std::array<bool, kPadInputs> pressed = PressedInputs(pads[p], held);
        for (int i = 0; i < kPadInputs; ++i) {
            if (!pressed[i]) {
                held[i] = -1;
            } else if (held[i] < 0) {
                held[i] = static_cast<int8_t>(KeyFor(i, situation));
            }
            if (held[i] > 0) out.keys[static_cast<std::size_t>(held[i])] = true;
        }
        if (situation.pointer) PointerPush(pads[p], pushX, pushY);
    }
    // Several controllers pushing together move no faster than one.
    const double step =
        (seconds > 0 ? std::min(seconds, kLongestStepSeconds) : 0.0) * kPointerSpeed;
    out.pointerX = std::clamp(pushX, -1.0, 1.0) * step;
    out.pointerY = std::clamp(pushY, -1.0, 1.0) * step;
    return out;
}

} // namespace halvane
