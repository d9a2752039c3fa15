// The program: it reads its files below the working directory and ends
// through EndProgram (exit code 0, or 1 without a display). Options:
//   --record FILE    plays normally and records the run into FILE
//   --replay FILE    shows a recorded run in the window at its pace
//   --headless       with --replay: no window, as fast as it goes
//   --check          with --replay: stop at the first page that differs
//
// Two environment variables, set only by the measuring tool, steer a
// measuring run without changing the game: HALVANE_PILOT lets the automatic
// pilot play through the input source ("1" at the starting speed, "turbo"
// after setting GAME SPEED to TURBO on the options screen, as a player
// would), and HALVANE_FRAME_TIMES names a file that receives the end of every
// paced frame and the time of the first page.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/pilots.h"
#include "app/startup.h"
#include "platform/frame_log.h"
#include "platform/input.h"
#include "platform/replay.h"

namespace halvane {
namespace {

// Keys from the menu to GAME SPEED, pressed twice (NORMAL to TURBO), down to
// GO BACK and out, then up to LAUNCH; one every half second, held for 0.15 s,
// after the menu's opening fade.
struct TimedKey {
    double at; // seconds after the first poll
    int scanCode;
};
constexpr std::array kTurboKeys{
    TimedKey{1.0, kKeyDown}, TimedKey{1.5, kKeyEnter}, TimedKey{3.0, kKeyDown},
    TimedKey{3.5, kKeyDown}, TimedKey{4.0, kKeyEnter}, TimedKey{4.5, kKeyEnter},
    TimedKey{5.0, kKeyDown}, TimedKey{5.5, kKeyDown},  TimedKey{6.0, kKeyDown},
    TimedKey{6.5, kKeyDown}, TimedKey{7.0, kKeyEnter}, TimedKey{8.5, kKeyUp},
};
constexpr double kKeyHeld = 0.15;
constexpr double kFlightFrom = 9.5;

double FirstPoll = -1;

void TurboThenPlayPilot(double now, InputState &state) {
    if (FirstPoll < 0) FirstPoll = now;
    const double t = now - FirstPoll;
    if (t >= kFlightFrom) {
        PlayPilot(now, state);
        return;
    }
    state.keys = {};
    for (const TimedKey &key : kTurboKeys)
        if (t >= key.at && t < key.at + kKeyHeld) state.keys[key.scanCode] = true;
}

#ifndef HALVANE_VERSION
#define HALVANE_VERSION "unknown"
#endif

struct ReplayChoice {
    const char *record = nullptr;
    const char *replay = nullptr;
    bool headless = false;
    bool check = false;
};

// Reads the options; false (after a message) when they make no sense.
bool ReadOptions(int argc, char **argv, ReplayChoice &choice) {
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--record") == 0 && hasValue) {
            choice.record = argv[++i];
        } else if (std::strcmp(argv[i], "--replay") == 0 && hasValue) {
            choice.replay = argv[++i];
        } else if (std::strcmp(argv[i], "--headless") == 0) {
            choice.headless = true;
        } else if (std::strcmp(argv[i], "--check") == 0) {
            choice.check = true;
        } else {
            std::fprintf(stderr, "halvane: unknown option %s\n", argv[i]);
            return false;
        }
    }
    if (choice.record != nullptr && choice.replay != nullptr) {
        std::fprintf(stderr, "halvane: --record and --replay do not go together\n");
        return false;
    }
    if ((choice.headless || choice.check) && choice.replay == nullptr) {
        std::fprintf(stderr, "halvane: --headless and --check go with --replay FILE\n");
        return false;
    }
    return true;
}

} // namespace
} // namespace halvane

int main(int argc, char **argv) {
    using namespace halvane;
    ReplayChoice choice;
    if (!ReadOptions(argc, argv, choice)) return 1;
    const char *pilot = std::getenv("HALVANE_PILOT");
    if (pilot != nullptr && std::strcmp(pilot, "1") == 0) {
        ResetPlayPilot();
        UsePilot(PlayPilot);
    } else if (pilot != nullptr && std::strcmp(pilot, "turbo") == 0) {
        ResetPlayPilot();
        UsePilot(TurboThenPlayPilot);
    }
    const char *frameTimes = std::getenv("HALVANE_FRAME_TIMES");
    if (frameTimes != nullptr && frameTimes[0] != '\0') StartFrameLog(frameTimes);
    if (choice.record != nullptr && !StartRecording(choice.record, HALVANE_VERSION)) return 1;
    if (choice.replay != nullptr &&
        !StartReplay(choice.replay, HALVANE_VERSION, choice.headless, choice.check))
        return 1;
    StartUp();
    return 0;
}
