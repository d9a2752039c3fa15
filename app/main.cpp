// The program: reads its options (app/command_line.h), decides where its
// files live (platform/file_places.h), and ends through EndProgram (exit code 0, or 1
// without a display). --help and --version print and exit with 0; an option
// it does not know or a bad value exits with 2. --record FILE records the run;
// --replay FILE shows a recorded one (--headless, --check): a recording that
// cannot be read or made ends the program with exit code 1.
//
// Two environment variables, set only by the measuring tool, steer a
// measuring run without changing the game: HALVANE_PILOT lets the automatic
// pilot play through the input source ("1" at the starting speed, "turbo"
// after setting GAME SPEED to TURBO on the options screen, as a player
// would; "best" the short way to a new best score that the browser's test
// takes), and HALVANE_FRAME_TIMES names a file that receives the end of every
// paced frame and the time of the first page.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/command_line.h"
#include "app/pilots.h"
#include "app/startup.h"
#include "platform/file_places.h"
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

} // namespace
} // namespace halvane

int main(int argc, char **argv) {
    using namespace halvane;
    CommandLine line;
    std::array<char, 256> reason{};
    const CommandLineAction action = ReadCommandLine(argc, argv, line, reason);
    if (action == CommandLineAction::Refuse) {
        PrintRefusal(stderr, reason.data());
        return 2;
    }
    if (action == CommandLineAction::ShowVersion) {
        PrintVersion(stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    static FilePlaces places;
    places = ChooseFilePlaces(FactsOfThisProcess(line.dataFolder));
    if (action == CommandLineAction::ShowHelp) {
        PrintHelp(stdout);
        std::fputs("\n", stdout);
        DescribeFilePlaces(places, stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (line.dataFolder != nullptr && !IsFolder(line.dataFolder)) {
        std::snprintf(reason.data(), reason.size(), "--data: '%s' is not a folder",
                      line.dataFolder);
        PrintRefusal(stderr, reason.data());
        return 2;
    }
    PreparePlayerFolder(places);
    UseFilePlaces(places);
    ScreenModeOverride = line.screenMode;
    ColourDepthOverride = line.colourDepth;
    const char *pilot = std::getenv("HALVANE_PILOT");
    if (pilot != nullptr && std::strcmp(pilot, "1") == 0) {
        ResetPlayPilot();
        UsePilot(PlayPilot);
    } else if (pilot != nullptr && std::strcmp(pilot, "turbo") == 0) {
        ResetPlayPilot();
        UsePilot(TurboThenPlayPilot);
    } else if (pilot != nullptr && std::strcmp(pilot, "best") == 0) {
        ResetPlayPilot();
        UsePilot(BestScorePilot);
    }
    const char *frameTimes = std::getenv("HALVANE_FRAME_TIMES");
    if (frameTimes != nullptr && frameTimes[0] != '\0') StartFrameLog(frameTimes);
    if (line.recordFile != nullptr && !StartRecording(line.recordFile, ProgramVersion())) return 1;
    if (line.replayFile != nullptr &&
        !StartReplay(line.replayFile, ProgramVersion(), line.headless, line.check))
        return 1;
    StartUp();
    return 0;
}
