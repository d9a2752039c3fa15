// Virtual game controllers (SDL's own), for the controller window check: a
// test attaches them, pushes their buttons and sticks, and the window's event
// pump finds them as it would a controller plugged in.
#include <SDL.h>

#include <array>
#include <cmath>
#include <cstdio>

#include "platform/display_sdl.h"

namespace halvane {

namespace {

std::array<SDL_Joystick *, kMaxPads> Virtual{};

Sint16 AxisValue(float value) {
    const float clamped = std::fmax(-1.0f, std::fmin(1.0f, value));
    return static_cast<Sint16>(std::lround(clamped * 32767.0f));
}

SDL_Joystick *At(int pad) {
    return pad >= 0 && pad < kMaxPads ? Virtual[pad] : nullptr;
}

} // namespace

int AttachVirtualPad() {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return -1;
    for (int pad = 0; pad < kMaxPads; ++pad) {
        if (Virtual[pad] != nullptr) continue;
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Halvane test controller";
        const int device = SDL_JoystickAttachVirtualEx(&desc);
        if (device < 0) break;
        Virtual[pad] = SDL_JoystickOpen(device);
        if (Virtual[pad] == nullptr) break;
        // Triggers rest at the bottom of their range.
        SetVirtualPadTriggers(pad, 0, 0);
        return pad;
    }
    std::fprintf(stderr, "cannot attach a virtual controller: %s\n", SDL_GetError());
    return -1;
}

void SetVirtualPadButton(int pad, int button, bool down) {
    SDL_Joystick *joystick = At(pad);
    if (joystick == nullptr || button < 0 || button >= kPadButtons) return;
    SDL_JoystickSetVirtualButton(joystick, SdlPadButton(button), down ? SDL_PRESSED : SDL_RELEASED);
}

void SetVirtualPadStick(int pad, float x, float y) {
    SDL_Joystick *joystick = At(pad);
    if (joystick == nullptr) return;
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, AxisValue(x));
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, AxisValue(y));
}

void SetVirtualPadTriggers(int pad, float left, float right) {
    SDL_Joystick *joystick = At(pad);
    if (joystick == nullptr) return;
    // A virtual trigger spans the whole axis: -1 at rest, 1 pulled.
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_TRIGGERLEFT, AxisValue(2 * left - 1));
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_TRIGGERRIGHT,
                               AxisValue(2 * right - 1));
}

void DetachVirtualPad(int pad) {
    SDL_Joystick *joystick = At(pad);
    if (joystick == nullptr) return;
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
    SDL_JoystickClose(joystick);
    Virtual[pad] = nullptr;
    for (int device = 0; device < SDL_NumJoysticks(); ++device) {
        if (SDL_JoystickGetDeviceInstanceID(device) == id) SDL_JoystickDetachVirtual(device);
    }
}

} // namespace halvane
