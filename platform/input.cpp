// input.cpp -- the key table and mouse state as the game polls them, from the
// input source chosen before start-up: the devices (filled by the display's
// event pump), a script of states keyed to time, or a pilot asked at every
// poll, or a replay's answers. Every poll pumps the display first, so the
// game's busy waits keep the window serviced (and move the headless clock on).
// A recording takes each answer as it is given.
#include "platform/input.h"

#include <algorithm>
#include <climits>
#include <cstddef>

#include "platform/display.h"
#include "platform/replay.h"
#include "platform/screen.h"

namespace halvane {

namespace {

enum class InputSource { Devices, Script, Pilot, Replay };

// The game reads the mouse in flight and on the screens that take a click;
// once it has polled only the keyboard this long, it no longer does.
constexpr double kMouseIdleSeconds = 0.1;

constexpr int kPageWidth = 640;
constexpr int kPageHeight = 480;

InputSource Source = InputSource::Devices;
InputState Devices;

// Script: the steps (caller-owned), the index of the step in force (-1 before
// the first) and the state the game sees.
std::span<const ScriptStep> ScriptSteps;
std::ptrdiff_t ScriptIndex = -1;
InputState ScriptState;

// A SetMousePosition under a script holds until the script moves the mouse
// away from where it was when the pointer was placed.
bool MouseOverride = false;
int OverrideX = 0;
int OverrideY = 0;
int OverrideBaseX = 0;
int OverrideBaseY = 0;

Pilot CurrentPilot = nullptr;
InputState PilotState; // kept between the pilot's calls

bool CaptureWanted = false;
double LastMouseRead = 0.0;

constexpr double kNeverPolled = -1e9;
std::array<double, 128> LastPolled = [] {
    std::array<double, 128> times{};
    times.fill(kNeverPolled);
    return times;
}();

void AddPresses(InputState &state, int presses) {
    state.pressesWaiting =
        presses > INT_MAX - state.pressesWaiting ? INT_MAX : state.pressesWaiting + presses;
}

// Keys held in `after` that were not held in `before`.
int NewPresses(const std::array<bool, 128> &before, const std::array<bool, 128> &after) {
    int presses = 0;
    for (std::size_t i = 0; i < after.size(); ++i)
        if (after[i] && !before[i]) ++presses;
    return presses;
}

// Moves the script to the last step whose time is at or before `now`. Each
// step passed adds its new key presses (and the presses it names) to the key
// buffer, so a press shorter than the gap between two polls still wakes a
// sleep, though KeyDown never sees it.
void AdvanceScript(double now) {
    auto count = static_cast<std::ptrdiff_t>(ScriptSteps.size());
    if (ScriptIndex >= 0 && ScriptSteps[ScriptIndex].time > now) {
        // The clock was set back: take the state in force then, quietly.
        while (ScriptIndex >= 0 && ScriptSteps[ScriptIndex].time > now)
            --ScriptIndex;
        int waiting = ScriptState.pressesWaiting;
        ScriptState = ScriptIndex >= 0 ? ScriptSteps[ScriptIndex].state : InputState{};
        ScriptState.pressesWaiting = waiting;
        return;
    }
    while (ScriptIndex + 1 < count && ScriptSteps[ScriptIndex + 1].time <= now) {
        ++ScriptIndex;
        const InputState &step = ScriptSteps[ScriptIndex].state;
        int waiting = ScriptState.pressesWaiting;
        int presses = NewPresses(ScriptState.keys, step.keys) + std::max(step.pressesWaiting, 0);
        ScriptState = step;
        ScriptState.pressesWaiting = waiting;
        AddPresses(ScriptState, presses);
    }
    if (MouseOverride &&
        (ScriptState.mouseX != OverrideBaseX || ScriptState.mouseY != OverrideBaseY))
        MouseOverride = false;
}

void AskPilot(double now) {
    if (CurrentPilot == nullptr) return;
    std::array<bool, 128> before = PilotState.keys;
    int waiting = PilotState.pressesWaiting;
    CurrentPilot(now, PilotState);
    int presses = NewPresses(before, PilotState.keys);
    // The pilot may also name presses itself; it never takes them back.
    PilotState.pressesWaiting = std::max(PilotState.pressesWaiting, waiting);
    AddPresses(PilotState, presses);
}

// Brings the source's state up to `now` and returns it.
InputState &RefreshSource(double now) {
    switch (Source) {
    case InputSource::Script:
        AdvanceScript(now);
        return ScriptState;
    case InputSource::Pilot:
        AskPilot(now);
        return PilotState;
    case InputSource::Devices:
    case InputSource::Replay:
        break;
    }
    return Devices;
}

// One poll of the game: pump the display, read the clock, refresh the source.
InputState &Poll(double &now) {
    DisplayPump();
    now = DisplayClock();
    return RefreshSource(now);
}

InputState &CurrentState() {
    switch (Source) {
    case InputSource::Script:
        return ScriptState;
    case InputSource::Pilot:
        return PilotState;
    case InputSource::Devices:
    case InputSource::Replay:
        break;
    }
    return Devices;
}

// The source's mouse as the game reads it.
bool ReadMouseNow(int32_t &x, int32_t &y, int32_t &wheel, int32_t &buttons) {
    double now = 0.0;
    const InputState &state = Poll(now);
    LastMouseRead = now;
    CaptureWanted = true;
    if (!state.mouseAvailable) return false;
    bool overridden = Source == InputSource::Script && MouseOverride;
    x = overridden ? OverrideX : state.mouseX;
    y = overridden ? OverrideY : state.mouseY;
    wheel = state.wheel;
    buttons = state.buttons;
    return true;
}

} // namespace

void UseDeviceInput() {
    Source = InputSource::Devices;
}

void UseScript(std::span<const ScriptStep> steps) {
    Source = InputSource::Script;
    ScriptSteps = steps;
    ScriptIndex = -1;
    ScriptState = InputState{};
    MouseOverride = false;
}

void UsePilot(Pilot pilot) {
    Source = InputSource::Pilot;
    CurrentPilot = pilot;
    PilotState = InputState{};
}

void UseReplayInput() {
    Source = InputSource::Replay;
}

InputState &DeviceInput() {
    return Devices;
}

bool KeyDown(int scanCode) {
    if (!ScreenIsOpen()) return false;
    if (Source == InputSource::Replay) return PlayKeyDown(scanCode);
    double now = 0.0;
    const InputState &state = Poll(now);
    if (CaptureWanted && now - LastMouseRead >= kMouseIdleSeconds) CaptureWanted = false;
    const bool inTable = scanCode >= 0 && scanCode < static_cast<int>(state.keys.size());
    if (inTable) LastPolled[static_cast<std::size_t>(scanCode)] = now;
    const bool down = inTable && state.keys[static_cast<std::size_t>(scanCode)];
    if (Recording()) RecordKeyDown(scanCode, down);
    return down;
}

bool ReadMouse(int32_t &x, int32_t &y, int32_t &wheel, int32_t &buttons) {
    x = y = wheel = buttons = -1;
    if (!ScreenIsOpen()) return false;
    if (Source == InputSource::Replay) return PlayMouse(x, y, wheel, buttons);
    const bool read = ReadMouseNow(x, y, wheel, buttons);
    if (Recording()) RecordMouse(read, x, y, wheel, buttons);
    return read;
}

void SetMousePosition(int x, int y, int) {
    x = std::clamp(x, 0, kPageWidth - 1);
    y = std::clamp(y, 0, kPageHeight - 1);
    Devices.mouseX = x;
    Devices.mouseY = y;
    if (Source == InputSource::Pilot) {
        PilotState.mouseX = x;
        PilotState.mouseY = y;
    } else if (Source == InputSource::Script) {
        // The override lasts until the script moves the mouse after this
        // moment, so take the script's position as of now.
        AdvanceScript(DisplayClock());
        MouseOverride = true;
        OverrideX = x;
        OverrideY = y;
        OverrideBaseX = ScriptState.mouseX;
        OverrideBaseY = ScriptState.mouseY;
    }
}

bool KeyPressWaiting() {
    if (Source != InputSource::Devices) RefreshSource(DisplayClock());
    return CurrentState().pressesWaiting > 0;
}

void ConsumeKeyPresses() {
    CurrentState().pressesWaiting = 0;
    Devices.pressesWaiting = 0;
}

double KeyLastPolled(int scanCode) {
    if (scanCode < 0 || scanCode >= static_cast<int>(LastPolled.size())) return kNeverPolled;
    return LastPolled[static_cast<std::size_t>(scanCode)];
}

bool MouseCaptureWanted() {
    return CaptureWanted;
}

} // namespace halvane
