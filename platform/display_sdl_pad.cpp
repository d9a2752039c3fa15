// The SDL window's game controllers: any controller SDL has a mapping for
// (its own database and SDL_GAMECONTROLLERCONFIG), opened when it is plugged
// in, before the start or during play, and closed when it goes. Their state
// is read at every pump and mapped (pad_mapping.h) to keys and pointer motion.
#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>

#include "platform/display_sdl.h"
#include "platform/input.h"
#include "platform/pad_mapping.h"

namespace halvane {

namespace {

std::array<SDL_GameController *, kMaxPads> Controllers{};
std::array<PadState, kMaxPads> Pads{};
PadMemory Memory;
PadOutput Output;
double LastRead = -1.0;

// The controller buttons in the order of PadState::buttons; the tests' virtual
// controllers press them through SdlPadButton.
constexpr std::array<SDL_GameControllerButton, kPadButtons> kSdlButtons{
    SDL_CONTROLLER_BUTTON_A,
    SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_BACK,
    SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
    SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_DPAD_UP,
    SDL_CONTROLLER_BUTTON_DPAD_DOWN,
    SDL_CONTROLLER_BUTTON_DPAD_LEFT,
    SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
};

float Axis(SDL_GameController *controller, SDL_GameControllerAxis axis) {
    return static_cast<float>(SDL_GameControllerGetAxis(controller, axis)) / 32767.0f;
}

void ReadPad(SDL_GameController *controller, PadState &pad) {
    pad.connected = SDL_GameControllerGetAttached(controller) == SDL_TRUE;
    for (int b = 0; b < kPadButtons; ++b)
        pad.buttons[b] = SDL_GameControllerGetButton(controller, kSdlButtons[b]) != 0;
    pad.stickX = Axis(controller, SDL_CONTROLLER_AXIS_LEFTX);
    pad.stickY = Axis(controller, SDL_CONTROLLER_AXIS_LEFTY);
    pad.leftTrigger = Axis(controller, SDL_CONTROLLER_AXIS_TRIGGERLEFT);
    pad.rightTrigger = Axis(controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
}

} // namespace

int SdlPadButton(int button) {
    return kSdlButtons[static_cast<std::size_t>(button)];
}

void OpenPads() {
    // SDL reads SDL_GAMECONTROLLERCONFIG itself when the subsystem starts.
    // Without it the game still runs, on the keyboard and mouse.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        std::fprintf(stderr, "halvane: game controllers unavailable: %s\n", SDL_GetError());
}

void PadAdded(int deviceIndex) {
    if (SDL_IsGameController(deviceIndex) != SDL_TRUE) return;
    // SDL announces a controller once per device; one already open is kept.
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
    for (SDL_GameController *controller : Controllers)
        if (controller != nullptr &&
            SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)) == id)
            return;
    for (SDL_GameController *&controller : Controllers) {
        if (controller != nullptr) continue;
        controller = SDL_GameControllerOpen(deviceIndex);
        if (controller == nullptr)
            std::fprintf(stderr, "halvane: cannot open controller: %s\n", SDL_GetError());
        return;
    }
    std::fprintf(stderr, "halvane: more than %d controllers; the new one is not read\n", kMaxPads);
}

void PadRemoved(int instanceId) {
    for (std::size_t p = 0; p < kMaxPads; ++p) {
        SDL_GameController *&controller = Controllers[p];
        if (controller == nullptr ||
            SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)) != instanceId)
            continue;
        SDL_GameControllerClose(controller);
        controller = nullptr;
        Pads[p] = PadState{};
    }
}

bool AnyPadOpen() {
    return std::any_of(Controllers.begin(), Controllers.end(),
                       [](SDL_GameController *controller) { return controller != nullptr; });
}

const PadOutput &ReadPads(double now) {
    const double seconds = LastRead < 0 ? 0.0 : now - LastRead;
    LastRead = now;
    for (std::size_t p = 0; p < kMaxPads; ++p) {
        if (Controllers[p] != nullptr) ReadPad(Controllers[p], Pads[p]);
    }
    const PadSituation situation =
        PadSituationAt(now, KeyLastPolled(kKeyEsc),
                       std::max(KeyLastPolled(kKeyY), KeyLastPolled(kKeyN)), MouseCaptureWanted());
    Output = MapPads(Pads, situation, seconds, Memory);
    return Output;
}

} // namespace halvane
