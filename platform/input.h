// input.h -- keyboard and mouse, polled. Keys are PC set-1 scan codes 0..127;
// mouse buttons are a mask (1 left, 2 right, 4 middle). Where the state comes
// from is the input source, chosen once before start-up: the real devices, a
// script keyed to time, or a pilot that reads the game's variables.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace halvane {

// Scan codes the game tests.
constexpr int kKeyEsc = 1;
constexpr int kKeyY = 21;
constexpr int kKeyEnter = 28;
constexpr int kKeyS = 31;
constexpr int kKeyF = 33;
constexpr int kKeyC = 46;
constexpr int kKeyV = 47;
constexpr int kKeyN = 49;
constexpr int kKeySpace = 57;
constexpr int kKeyUp = 72;
constexpr int kKeyLeft = 75;
constexpr int kKeyRight = 77;
constexpr int kKeyDown = 80;

constexpr int kMouseLeft = 1;
constexpr int kMouseRight = 2;
constexpr int kMouseMiddle = 4;

struct InputState {
    std::array<bool, 128> keys{};
    int mouseX = 310;
    int mouseY = 4;
    int wheel = 0;
    int buttons = 0;
    bool mouseAvailable = true;
    int pressesWaiting = 0; // key presses not yet consumed by SleepMs
};

// A pilot is asked at every poll; it may read the game's variables but must
// never write them. It lives at the platform edge (app/pilots.*), not in game
// code.
using Pilot = void (*)(double now, InputState &state);

// One scripted input state, in force from `time` (seconds) on. Reaching a step
// puts a press into the key buffer for each key it newly holds, plus its
// `pressesWaiting`, so a press shorter than the gap between polls still counts.
struct ScriptStep {
    double time;
    InputState state;
};

// Input sources; the last one chosen holds.
void UseDeviceInput();
void UseScript(std::span<const ScriptStep> steps); // steps sorted by time, caller-owned
void UsePilot(Pilot pilot);
// Answers from the replay being played (StartReplay chooses it).
void UseReplayInput();

// The devices' state, filled by the SDL display's event pump.
InputState &DeviceInput();

bool KeyDown(int scanCode);
// Reads the mouse into the four outputs; on failure all four are -1.
bool ReadMouse(int32_t &x, int32_t &y, int32_t &wheel, int32_t &buttons);
// Moves the page pointer (clamped to the page); the pointer is never shown
// (visibility 0). Under a script the placed pointer holds until the script
// moves the mouse; a pilot finds it in its state.
void SetMousePosition(int x, int y, int visibility);
// SleepMs's view of the key buffer; a replay takes SleepMs whole, so these two
// are neither recorded nor played back.
// True while a key press waits in the key buffer; consumes nothing.
bool KeyPressWaiting();
// Empties the key buffer; SleepMs does so when a press ends its wait.
void ConsumeKeyPresses();

// When the game last polled `scanCode` with KeyDown (clock seconds; -1e9
// before it ever did): tells the controllers what the game is asking for.
double KeyLastPolled(int scanCode);

// Whether the game reads the mouse now (the SDL display captures it in
// relative mode while it does).
bool MouseCaptureWanted();

} // namespace halvane
