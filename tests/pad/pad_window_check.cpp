// The controller glue in the real SDL window: SDL's virtual controllers are
// plugged in after the start, pushed and pulled out, while this program polls
// keys the way the game's screens do, and checks the keys and pointer the
// game would read. Run under an X server (tests/on_virtual_x.sh starts one).
#include <cstdio>
#include <initializer_list>

#include "platform/display.h"
#include "platform/display_sdl.h"
#include "platform/input.h"
#include "platform/pad_mapping.h"
#include "platform/screen.h"
#include "platform/timing.h"

namespace halvane {
namespace {

int Passes = 0;
int Failures = 0;

void Check(bool ok, const char *what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    ++(ok ? Passes : Failures);
}

// What a screen of the game polls: the menus ask for Enter and the arrows,
// flight for Esc, fire and the arrows (and reads the mouse with mouse
// controls), the abort prompt for Y and N.
enum class Scene { Menus, FlightMouse, FlightKeys, Prompt };

int32_t MouseXSeen = 0;
int32_t MouseYSeen = 0;

void PollOnce(Scene scene) {
    auto poll = [](std::initializer_list<int> keys) {
        for (int key : keys)
            KeyDown(key);
    };
    switch (scene) {
    case Scene::Menus:
        poll({kKeyEnter, kKeySpace, kKeyUp, kKeyDown});
        break;
    case Scene::FlightMouse: {
        int32_t wheel = 0, buttons = 0;
        ReadMouse(MouseXSeen, MouseYSeen, wheel, buttons);
        poll({kKeyEnter, kKeySpace, kKeyC, kKeyV, kKeyEsc});
        break;
    }
    case Scene::FlightKeys:
        poll({kKeyLeft, kKeyRight, kKeyUp, kKeyDown, kKeyEnter, kKeySpace, kKeyC, kKeyV, kKeyEsc});
        break;
    case Scene::Prompt:
        poll({kKeyN, kKeyY});
        break;
    }
}

// The scene polls for `ms` milliseconds, every 2 ms.
void Play(Scene scene, int ms) {
    const double end = ClockSeconds() + ms / 1000.0;
    while (ClockSeconds() < end) {
        PollOnce(scene);
        SleepMs(2);
    }
}

bool Held(int key) {
    return KeyDown(key);
}

int Run() {
    if (!OpenScreen(32, 0)) return 2;
    Play(Scene::Menus, 100);
    Check(!Held(kKeyEnter) && !KeyPressWaiting(), "nothing held before a controller");

    // Plugged in after the start.
    const int first = AttachVirtualPad();
    if (first < 0) return 2;
    Play(Scene::Menus, 100);
    SetVirtualPadButton(first, kPadA, true);
    Play(Scene::Menus, 50);
    Check(Held(kKeyEnter), "menus: A holds Enter");
    Check(KeyPressWaiting(), "menus: A is a key press");
    ConsumeKeyPresses();
    Play(Scene::Menus, 100);
    Check(Held(kKeyEnter) && !KeyPressWaiting(), "menus: A held is one press");
    SetVirtualPadButton(first, kPadA, false);
    Play(Scene::Menus, 50);
    Check(!Held(kKeyEnter), "menus: A released lets go of Enter");

    SetVirtualPadStick(first, 0.1f, 0.9f);
    SetVirtualPadButton(first, kPadB, true);
    Play(Scene::Menus, 50);
    Check(Held(kKeyDown) && !Held(kKeyRight) && !Held(kKeyEsc), "menus: stick down, B nothing");
    SetVirtualPadStick(first, 0, 0);
    SetVirtualPadButton(first, kPadB, false);
    Play(Scene::Menus, 50);
    Check(!Held(kKeyDown), "menus: stick back at rest");

    // Flight with mouse controls: the stick moves the pointer.
    Play(Scene::FlightMouse, 300);
    const int32_t startX = MouseXSeen;
    SetVirtualPadStick(first, 1, 0);
    Play(Scene::FlightMouse, 250);
    const int32_t moved = MouseXSeen - startX;
    std::printf("pointer moved %d pixels in 0.25 s at full right\n", moved);
    Check(moved >= 60 && moved <= 180 && !Held(kKeyRight), "flight: stick moves the pointer");
    SetVirtualPadStick(first, 0.15f, -0.1f);
    Play(Scene::FlightMouse, 50);
    const int32_t restX = MouseXSeen;
    const int32_t restY = MouseYSeen;
    Play(Scene::FlightMouse, 300);
    Check(MouseXSeen == restX && MouseYSeen == restY, "flight: a resting stick never drifts");
    SetVirtualPadStick(first, 0, 0);
    SetVirtualPadTriggers(first, 0, 1);
    SetVirtualPadButton(first, kPadRightShoulder, true);
    Play(Scene::FlightMouse, 50);
    Check(Held(kKeyC) && Held(kKeySpace) && !Held(kKeyV),
          "flight: right trigger C, shoulder fires");
    SetVirtualPadTriggers(first, 0, 0);
    SetVirtualPadButton(first, kPadRightShoulder, false);

    // Keyboard controls: the d-pad steers as the arrows.
    Play(Scene::FlightKeys, 300);
    SetVirtualPadButton(first, kPadLeft, true);
    Play(Scene::FlightKeys, 50);
    Check(Held(kKeyLeft), "flight, keyboard controls: d-pad left is the left arrow");
    SetVirtualPadButton(first, kPadLeft, false);

    // Start opens the prompt; still held there it answers nothing.
    SetVirtualPadButton(first, kPadStart, true);
    Play(Scene::FlightKeys, 50);
    Check(Held(kKeyEsc), "flight: Start is Esc");
    Play(Scene::Prompt, 300);
    Check(Held(kKeyEsc) && !Held(kKeyN) && !Held(kKeyY), "prompt: Start held answers nothing");
    SetVirtualPadButton(first, kPadStart, false);
    Play(Scene::Prompt, 50);
    SetVirtualPadButton(first, kPadB, true);
    Play(Scene::Prompt, 50);
    Check(Held(kKeyN) && !Held(kKeyEsc), "prompt: B answers N");
    SetVirtualPadButton(first, kPadB, false);
    Play(Scene::Prompt, 50);

    // Two controllers act as one; pulling one out lets go of its keys only.
    const int second = AttachVirtualPad();
    if (second < 0) return 2;
    Play(Scene::Menus, 300);
    SetVirtualPadButton(second, kPadUp, true);
    SetVirtualPadButton(first, kPadA, true);
    Play(Scene::Menus, 50);
    Check(Held(kKeyUp) && Held(kKeyEnter), "two controllers: Up from one, Enter from the other");
    DetachVirtualPad(first);
    Play(Scene::Menus, 100);
    Check(!Held(kKeyEnter) && Held(kKeyUp), "a controller pulled out lets go of its keys");
    DetachVirtualPad(second);
    Play(Scene::Menus, 100);
    Check(!Held(kKeyUp), "the last controller pulled out");

    std::printf("%d passed, %d failed\n", Passes, Failures);
    return Failures == 0 ? 0 : 1;
}

} // namespace
} // namespace halvane

int main() {
    halvane::EndProgram(halvane::Run());
}
