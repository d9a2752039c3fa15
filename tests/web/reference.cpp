// reference.cpp -- what the browser test compares the page with, from the
// same game under the headless display (run it in a folder holding the
// game's Data/ and Graphics/):
//   web_reference pages <folder>  writes menu.raw (the menu at rest after its
//       opening fade), briefing.raw (the first briefing, three steps in) and
//       play.raw (a frame two seconds into play): raw pages, 2 or 4 bytes a
//       pixel as Data/setup.dat chooses;
//   web_reference route [start]  takes the best-score route (BestScorePilot)
//       with the clock starting at `start` (1000 by default) and prints
//       "best <score>";
//   web_reference work <frames>  lets PlayPilot fly <frames> frames of play
//       from a clock of 1000 and prints the game's own work per frame in ms,
//       as the frame meter measures it (the page's figure is the same meter's).
//       The frames are paced in real time as at TURBO, so that each begins
//       as the browser's do, after a sleep, rather than hot from the last.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "app/pilots.h"
#include "app/startup.h"
#include "core/game_state.h"
#include "platform/frame_work.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/screen.h"

namespace halvane {
namespace {

constexpr double kStart = 1000.0;
// A frame at TURBO, 45 frames a second.
constexpr int kTurboFrameMicroseconds = 1000000 / 45;
// The menu is at rest well after its fade; the second look shows it stays so.
constexpr double kMenuAt = 6.0;
constexpr double kMenuAgainAt = 8.0;
constexpr double kLaunchAt = 9.0;
constexpr double kBriefingAt = 14.0;
constexpr double kConfirmAt = 15.0;
constexpr double kPlayAt = 22.0;
constexpr double kKeyHeld = 0.15;

std::string Folder;
bool MenuMismatch = false;
bool MenuSaved = false;
bool MenuChecked = false;
bool BriefingSaved = false;
std::string MenuBytes;

std::size_t PageBytes() {
    return std::size_t{640} * 480 * static_cast<std::size_t>(ScreenBytesPerPixel());
}

void Save(const char *name, const uint8_t *pixels) {
    const std::string path = Folder + "/" + name;
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr || std::fwrite(pixels, 1, PageBytes(), file) != PageBytes()) {
        std::fprintf(stderr, "web_reference: cannot write %s\n", path.c_str());
        std::exit(1);
    }
    std::fclose(file);
}

void ObservePages(const Page &page) {
    const double t = HeadlessClock() - kStart;
    if (!MenuSaved && t >= kMenuAt) {
        Save("menu.raw", page.pixels);
        MenuBytes.assign(reinterpret_cast<const char *>(page.pixels), PageBytes());
        MenuSaved = true;
    } else if (MenuSaved && !MenuChecked && t >= kMenuAgainAt) {
        MenuMismatch =
            MenuBytes.compare(0, PageBytes(), reinterpret_cast<const char *>(page.pixels),
                              PageBytes()) != 0;
        MenuChecked = true;
    }
}

// Enter on LAUNCH, Enter on the briefing; the briefing and play are taken
// from the visible page, since the page-swapping loops present nothing.
void PagesPilot(double now, InputState &state) {
    const double t = now - kStart;
    state.keys.fill(false);
    state.keys[kKeyEnter] = (t >= kLaunchAt && t < kLaunchAt + kKeyHeld) ||
                            (t >= kConfirmAt && t < kConfirmAt + kKeyHeld);
    if (!BriefingSaved && t >= kBriefingAt) {
        Save("briefing.raw", PagePixels(VisiblePageIndex()));
        BriefingSaved = true;
    }
    if (t >= kPlayAt) {
        Save("play.raw", PagePixels(VisiblePageIndex()));
        EndProgram(0);
    }
}

int Pages(const char *folder) {
    Folder = folder;
    HeadlessSetClock(kStart);
    HeadlessSetObserver(ObservePages);
    UsePilot(PagesPilot);
    const int code = HeadlessRun(StartUp);
    if (code != 0 || !MenuChecked) {
        std::fprintf(stderr, "web_reference: the game ended early (code %d)\n", code);
        return 1;
    }
    if (MenuMismatch) {
        std::fprintf(stderr, "web_reference: the menu is not at rest after %.0f s\n", kMenuAt);
        return 1;
    }
    std::printf("pages of %d bytes a pixel in %s\n", ScreenBytesPerPixel(), folder);
    return 0;
}

void RoutePilot(double now, InputState &state) {
    BestScorePilot(now, state);
    if (HiScore > 0) EndProgram(0);
}

int Route(double start) {
    HeadlessSetClock(start);
    ResetPlayPilot();
    UsePilot(RoutePilot);
    HeadlessRun(StartUp);
    std::printf("best %d after %.1f s of game time\n", HiScore, HeadlessClock() - start);
    return HiScore > 0 ? 0 : 1;
}

int WorkFrames = 0;
int FramesSeen = 0;
int LastCycle = -1;
FrameWork WorkFrom{0.0, 0};
FrameWork WorkTo{0.0, 0};

// Frames of play are told apart by the animation cycle; the first hundred
// (the level's opening) are left out, as the browser's figure leaves them.
// The work is the frame meter's (platform/frame_work.h), which the page reads
// the same way.
void WorkPilot(double now, InputState &state) {
    PlayPilot(now, state);
    if (AnimCycle20 == LastCycle) return;
    LastCycle = AnimCycle20;
    ++FramesSeen;
    // The headless clock is virtual; the real sleep is kept off the meter.
    const bool metered = PauseFrameWork();
    std::this_thread::sleep_for(std::chrono::microseconds(kTurboFrameMicroseconds));
    ResumeFrameWork(metered);
    if (FramesSeen == 100) WorkFrom = FrameWorkSoFar();
    if (FramesSeen == 100 + WorkFrames) {
        WorkTo = FrameWorkSoFar();
        EndProgram(0);
    }
}

int Work(int frames) {
    WorkFrames = frames;
    HeadlessSetClock(kStart);
    ResetPlayPilot();
    UsePilot(WorkPilot);
    HeadlessRun(StartUp);
    const int metered = WorkTo.frames - WorkFrom.frames;
    if (metered <= 0) return 1;
    std::printf("native work %.3f ms a frame over %d frames of play\n",
                (WorkTo.seconds - WorkFrom.seconds) * 1000.0 / metered, metered);
    return 0;
}

} // namespace
} // namespace halvane

int main(int argc, char **argv) {
    using namespace halvane;
    if (argc >= 3 && std::strcmp(argv[1], "pages") == 0) return Pages(argv[2]);
    if (argc >= 2 && std::strcmp(argv[1], "route") == 0)
        return Route(argc >= 3 ? std::atof(argv[2]) : kStart);
    if (argc >= 3 && std::strcmp(argv[1], "work") == 0) return Work(std::atoi(argv[2]));
    std::fprintf(stderr, "usage: web_reference pages <folder> | route [start] | work <frames>\n");
    return 2;
}
