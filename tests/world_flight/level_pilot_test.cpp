#include <cstdio>
#include <unistd.h>

#include "app/pilot_play.h"
#include "core/game_state.h"
#include "flight_fixture.h"
#include "level_run.h"
#include "platform/timing.h"
#include "world/craft.h"

namespace halvane {
namespace {

constexpr int kSeeds = 8;
constexpr int kFrameLimit = 6000;

class LevelPilotTest : public FlightTest {
  protected:
    void SetUp() override {
        FlightTest::SetUp();
        // The level files are read from the program's working directory.
        ASSERT_EQ(chdir(HALVANE_SOURCE_DIR), 0);
    }

    // Plays the level with several seeds; every run must complete it. Prints
    // each run and the averages: frames, the shield lost across lives, and
    // the missile hits the structure took.
    void PlayLevel(int level, int controls = kMouseControls) {
        const char *mode = controls == kKeyboardControls ? " (keyboard)" : "";
        double frames = 0, rest = 0, shield = 0, hits = 0, lives = 0;
        for (int seed = 1; seed <= kSeeds; ++seed) {
            LevelRunResult run = RunLevelWithPilot(level, controls, seed * 7919.0, kFrameLimit);
            EXPECT_TRUE(run.completed) << "level " << level << " seed " << seed << " after "
                                       << run.frames << " frames, lives lost " << run.livesLost;
            std::printf("level %d%s seed %d: %d frames (at the structure from %d, sum %.1f), "
                        "shield lost %.0f, lives lost %d, %d hits\n",
                        level, mode, seed, run.frames, run.restFrame, run.structureStart,
                        run.shieldLost, run.livesLost, run.structureHits);
            frames += run.frames;
            rest += run.restFrame;
            shield += run.shieldLost;
            hits += run.structureHits;
            lives += run.livesLost;
        }
        std::printf("level %d%s average of %d seeds: %.0f frames (digging %.0f), shield lost "
                    "%.0f, lives lost %.2f, %.1f hits\n",
                    level, mode, kSeeds, frames / kSeeds, (frames - rest) / kSeeds, shield / kSeeds,
                    lives / kSeeds, hits / kSeeds);
    }
};

TEST_F(LevelPilotTest, PilotCompletesLevel1) {
    PlayLevel(1);
}
TEST_F(LevelPilotTest, PilotCompletesLevel2) {
    PlayLevel(2);
}
TEST_F(LevelPilotTest, PilotCompletesLevel3) {
    PlayLevel(3);
}
TEST_F(LevelPilotTest, PilotCompletesLevel4) {
    PlayLevel(4);
}
TEST_F(LevelPilotTest, PilotCompletesLevel5) {
    PlayLevel(5);
}
TEST_F(LevelPilotTest, PilotCompletesLevel5WithKeyboardControls) {
    PlayLevel(5, kKeyboardControls);
}

TEST_F(FlightTest, PilotConfirmsScreensWithEnterButNeverInFlight) {
    ResetPlayPilot();
    UsePilot(PlayPilot);
    int enterInFlight = 0;
    for (int frame = 0; frame < 100; ++frame) {
        AnimCycle20 = AnimCycle20 % 20 + 1; // what the game loop does each frame
        enterInFlight += KeyDown(kKeyEnter) ? 1 : 0;
        SleepMs(22);
    }
    EXPECT_EQ(enterInFlight, 0);

    // A screen: no frame of play for a while, so Enter is pressed and released.
    int presses = 0;
    bool wasDown = false;
    for (int poll = 0; poll < 300; ++poll) {
        bool down = KeyDown(kKeyEnter);
        presses += down && !wasDown ? 1 : 0;
        wasDown = down;
        SleepMs(10);
    }
    EXPECT_GE(presses, 5);
}

} // namespace
} // namespace halvane
