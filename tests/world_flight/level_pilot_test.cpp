#include <cstdio>
#include <unistd.h>

#include "flight_fixture.h"
#include "level_run.h"

namespace halvane {
namespace {

constexpr int kSeeds = 5;
constexpr int kFrameLimit = 6000;

class LevelPilotTest : public FlightTest {
  protected:
    void SetUp() override {
        FlightTest::SetUp();
        // The level files are read from the program's working directory.
        ASSERT_EQ(chdir(HALVANE_SOURCE_DIR), 0);
    }

    // Plays the level with several seeds; every run must complete it.
    void PlayLevel(int level) {
        double frames = 0, shield = 0, hits = 0, lives = 0;
        float start = 0;
        for (int seed = 1; seed <= kSeeds; ++seed) {
            LevelRunResult run = RunLevelWithPilot(level, seed * 7919.0, kFrameLimit);
            EXPECT_TRUE(run.completed) << "level " << level << " seed " << seed << " after "
                                       << run.frames << " frames, lives lost " << run.livesLost;
            frames += run.frames;
            shield += run.shieldLost;
            hits += run.structureHits;
            lives += run.livesLost;
            start = run.structureStart;
        }
        std::printf("level %d: %.0f frames, shield lost %.0f, lives lost %.1f, structure %.1f "
                    "needed %.1f hits (averages over %d seeds)\n",
                    level, frames / kSeeds, shield / kSeeds, lives / kSeeds, start, hits / kSeeds,
                    kSeeds);
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

} // namespace
} // namespace halvane
