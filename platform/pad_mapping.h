// pad_mapping.h -- game controllers as the keys and pointer the game already
// reads. A plain function from the controllers' state and what the game is
// asking for to the key table and pointer motion; the SDL glue
// (display_sdl_pad.cpp) reads the controllers and applies the result.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace halvane {

constexpr int kMaxPads = 8; // controllers beyond these are not read

// The buttons of a controller in the common layout (A south, B east, ...).
enum PadButton : int {
    kPadA,
    kPadB,
    kPadX,
    kPadY,
    kPadBack,
    kPadStart,
    kPadLeftShoulder,
    kPadRightShoulder,
    kPadUp,
    kPadDown,
    kPadLeft,
    kPadRight,
    kPadButtons
};

// One controller slot as read at a pump.
struct PadState {
    bool connected = false;
    std::array<bool, kPadButtons> buttons{};
    float stickX = 0;       // left stick, -1 left .. 1 right
    float stickY = 0;       // -1 up .. 1 down
    float leftTrigger = 0;  // 0 .. 1
    float rightTrigger = 0; // 0 .. 1
};

// Where the game is, as far as a controller cares.
enum class PadPlace {
    Menus,  // menus, options, help, briefings, statistics
    Flight, // the frame loop, which polls Esc for the abort prompt
    Prompt, // the abort prompt, which polls Y and N
};

struct PadSituation {
    PadPlace place = PadPlace::Menus;
    bool pointer = false; // in flight with mouse controls: the stick moves the pointer
};

// How long after its last poll of a key the game still counts as asking for it:
// longer than a frame of the slowest game speed.
constexpr double kPollMemorySeconds = 0.25;

// The situation from when the game last polled Esc and Y or N, and whether it
// reads the mouse now (times in seconds on the game's clock).
PadSituation PadSituationAt(double now, double escPolled, double yesNoPolled, bool mouseRead);

// Stick and triggers: past kPressAt a direction counts as pressed; it stays
// pressed until it falls below kReleaseAt, so a stick near the edge does not
// flicker. Inside kDeadZone the stick never moves the pointer.
constexpr float kPressAt = 0.5f;
constexpr float kReleaseAt = 0.35f;
constexpr float kDeadZone = 0.25f;
// Pointer speed in page pixels per second at full deflection.
constexpr double kPointerSpeed = 480.0;
// A longer gap between two pumps moves the pointer no further than this.
constexpr double kLongestStepSeconds = 0.1;

// The inputs of one controller that can hold a key: its buttons, then the
// stick's four directions, then the two triggers.
enum PadInput : int {
    kStickUp = kPadButtons,
    kStickDown,
    kStickLeft,
    kStickRight,
    kLeftTriggerInput,
    kRightTriggerInput,
    kPadInputs
};

// What each controller's inputs hold: the key an input took when it was
// pressed stays held until that input is released, whatever the game did in
// between, so a press is never seen twice. 0 = pressed, holding no key; -1 =
// not pressed.
struct PadMemory {
    std::array<std::array<int8_t, kPadInputs>, kMaxPads> held;
    PadMemory() {
        for (auto &pad : held)
            pad.fill(-1);
    }
};

struct PadOutput {
    std::array<bool, 128> keys{}; // keys any controller holds (set-1 codes)
    double pointerX = 0;          // pointer motion in page pixels
    double pointerY = 0;
};

// Maps all controllers at once (several act as one); `seconds` since the last
// call scales the pointer's motion. A slot that is not connected lets go of
// what it held.
PadOutput MapPads(std::span<const PadState, kMaxPads> pads, PadSituation situation, double seconds,
                  PadMemory &memory);

} // namespace halvane
