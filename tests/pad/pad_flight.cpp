// A flight flown only with a controller: the real game in its SDL window,
// and beside it a player who plugs SDL's virtual controller in at the menu
// and plays by a timed script (choose LAUNCH, go through the briefing, steer,
// fire, climb, ask to abort, go on, abort), taking a screenshot of the X
// display at each named moment. For the README's window checks.
// Usage: DISPLAY=:N pad_flight <folder for the shots> (run from the game's
// folder, with import from imagemagick).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/startup.h"
#include "platform/display_sdl.h"
#include "platform/file_places.h"
#include "platform/pad_mapping.h"

namespace halvane {
namespace {

// One moment of the script: at `at` seconds the controller holds these
// buttons and sticks; a named moment is also photographed.
struct Moment {
    double at;
    unsigned buttons; // bits of PadButton
    float stickX, stickY, leftTrigger, rightTrigger;
    const char *shot;
};

constexpr unsigned Bit(PadButton b) {
    return 1u << b;
}

// A screenshot holds the X server for a moment, so presses start well after
// one and last long enough to be seen.
constexpr Moment kScript[] = {
    {3.0, 0, 0, 0, 0, 0, "1-menu-controller-plugged-in"},
    {4.5, Bit(kPadDown), 0, 0, 0, 0, nullptr}, // highlight OPTIONS
    {4.8, 0, 0, 0, 0, 0, "2-menu-options-highlighted"},
    {6.0, 0, 0, -1, 0, 0, nullptr}, // stick up: back to LAUNCH
    {6.3, 0, 0, 0, 0, 0, nullptr},
    {6.6, Bit(kPadA), 0, 0, 0, 0, nullptr}, // LAUNCH
    {6.9, 0, 0, 0, 0, 0, nullptr},
    {11.0, 0, 0, 0, 0, 0, "3-briefing"},
    {12.5, Bit(kPadA), 0, 0, 0, 0, nullptr}, // on to the flight
    {12.8, 0, 0, 0, 0, 0, "4-flight-begins"},
    {17.0, Bit(kPadRightShoulder), -1, 0, 0, 0, nullptr}, // left, firing
    {18.5, Bit(kPadRightShoulder), -1, 0, 0, 0, "5-flight-left-firing"},
    {20.0, Bit(kPadA), 1, 0.3f, 0, 0, nullptr}, // right and a little down, firing
    {21.5, Bit(kPadA), 1, 0.3f, 0, 0, "6-flight-right-firing"},
    {23.0, 0, 0, -1, 0, 1, nullptr}, // up, towards the horizon
    {24.5, 0, 0, -1, 0, 1, "7-flight-up-towards-horizon"},
    {26.0, Bit(kPadStart), 0, 0, 0, 0, nullptr},
    {26.3, 0, 0, 0, 0, 0, nullptr},
    {27.5, 0, 0, 0, 0, 0, "8-abort-prompt"},
    {29.0, Bit(kPadB), 0, 0, 0, 0, nullptr}, // N: go on
    {29.3, 0, 0, 0, 0, 0, nullptr},
    {30.0, Bit(kPadA), 0.2f, -0.1f, 0, 0, nullptr}, // stick at rest, firing
    {31.5, Bit(kPadA), 0.2f, -0.1f, 0, 0, "9-going-on-stick-at-rest-firing"},
    {33.0, Bit(kPadStart), 0, 0, 0, 0, nullptr},
    {33.3, 0, 0, 0, 0, 0, nullptr},
    {34.5, Bit(kPadA), 0, 0, 0, 0, nullptr}, // Y: abort
    {34.8, 0, 0, 0, 0, 0, nullptr},
    {38.0, 0, 0, 0, 0, 0, "10-after-abort"},
};

void Player(std::string shots) {
    const auto start = std::chrono::steady_clock::now();
    int pad = -1;
    for (const Moment &m : kScript) {
        std::this_thread::sleep_until(start + std::chrono::duration<double>(m.at));
        if (pad < 0) pad = AttachVirtualPad();
        for (int b = 0; b < kPadButtons; ++b)
            SetVirtualPadButton(pad, b, (m.buttons & (1u << b)) != 0);
        SetVirtualPadStick(pad, m.stickX, m.stickY);
        SetVirtualPadTriggers(pad, m.leftTrigger, m.rightTrigger);
        if (m.shot != nullptr) {
            const std::string command = "import -window root " + shots + "/" + m.shot + ".png";
            if (std::system(command.c_str()) != 0) std::fprintf(stderr, "no shot %s\n", m.shot);
            std::printf("%.1f s: %s\n", m.at, m.shot);
            std::fflush(stdout);
        }
    }
    std::quick_exit(0);
}

} // namespace
} // namespace halvane

int main(int argc, char **argv) {
    using namespace halvane;
    if (argc != 2) {
        std::fprintf(stderr, "usage: pad_flight <folder for the shots>\n");
        return 2;
    }
    static FilePlaces places;
    places = ChooseFilePlaces(FactsOfThisProcess(nullptr));
    PreparePlayerFolder(places);
    UseFilePlaces(places);
    std::thread player(Player, std::string(argv[1]));
    player.detach();
    StartUp();
    return 0;
}
