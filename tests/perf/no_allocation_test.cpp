// A whole game from the program's start, under the headless display: the
// automatic pilot launches it from the menu and flies the five missions
// (level changes, briefings, statistics), the best score is written, the
// menu comes back and QUIT ends the program. From the first page the menu
// shows to the end, nothing may be allocated on the heap. The one exemption
// is what the C library's own file calls allocate (a FILE and its
// buffer, when the level files and the best score are read and written); the
// count is printed.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/pilots.h"
#include "app/startup.h"
#include "core/game_state.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "screens/hiscore_file.h"
#include "tests/files/temp_dir.h"
#include "tests/perf/allocation_counter.h"

namespace halvane {
namespace {

int Frames = 0;
int LastCycle = -1;
int HighestLevel = 0;
double BackInMenuAt = -1;

// Counting starts with the first page shown, the opening fade of the menu.
void StartCountingAtFirstPage(const Page &) {
    CountingAllocations = true;
}

// The pilot plays the game; once it is over and the menu is back (the level
// number reset), Up moves the highlight from LAUNCH to QUIT and Enter ends.
void GameThenQuit(double now, InputState &state) {
    if (AnimCycle20 != LastCycle) {
        LastCycle = AnimCycle20;
        ++Frames;
    }
    if (LevelNumber > HighestLevel) HighestLevel = LevelNumber;
    if (GameCompleted == 1 && LevelNumber == 0 && BackInMenuAt < 0) BackInMenuAt = now;
    if (BackInMenuAt < 0) {
        PlayPilot(now, state);
        return;
    }
    state = InputState{};
    state.keys[kKeyUp] = now > BackInMenuAt + 0.5 && now < BackInMenuAt + 0.7;
    state.keys[kKeyEnter] = now > BackInMenuAt + 1.0 && now < BackInMenuAt + 1.2;
}

class NoAllocation : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        UseShippedGame(HALVANE_SOURCE_DIR);
    }
};

TEST_F(NoAllocation, AWholeGameFromTheMenuToQuitAllocatesNothing) {
    HeadlessSetClock(500);
    ResetPlayPilot();
    UsePilot(GameThenQuit);
    HeadlessSetObserver(StartCountingAtFirstPage);
    const int code = HeadlessRun(StartUp);
    CountingAllocations = false;
    HeadlessSetObserver(nullptr);

    EXPECT_EQ(code, 0);
    EXPECT_EQ(GameCompleted, 1);
    EXPECT_GE(HighestLevel, 5);
    EXPECT_GE(Frames, 2000);
    EXPECT_GT(HiScore, 0);
    EXPECT_EQ(ReadHiScoreFile(), HiScore); // the best score was written
    std::printf("%d frames of play, %llu pages shown, %d allocations, %d in file calls\n", Frames,
                static_cast<unsigned long long>(HeadlessPresentCount()), AllocationCount,
                FileCallAllocationCount);
    EXPECT_EQ(AllocationCount, 0);
    for (int i = 0; i < AllocationCount && i < static_cast<int>(FirstAllocations.size()); ++i)
        ADD_FAILURE() << "allocation of " << FirstAllocations[i].size << " bytes from "
                      << FirstAllocations[i].caller << " (addr2line -e no_allocation_tests)";
}

} // namespace
} // namespace halvane
