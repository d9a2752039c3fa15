// The short soak: enough play for a won game, a lost one and the start of a
// third, with the world checked after every frame.
#include <gtest/gtest.h>

#include <cstdio>

#include "soak_run.h"

namespace halvane {
namespace {

TEST(Soak, GamesWonAndLostKeepTheWorldWholeAndTheBestScoreFiled) {
    const SoakResult r = RunSoak(HALVANE_SOURCE_DIR, 20000, 4242);
    std::printf("soak: %ld frames of play, %ld pages, %d games (%d won, %d lost), "
                "%d levels completed\n",
                r.playFrames, r.presents, r.gamesStarted, r.gamesWon, r.gamesLost,
                r.levelsCompleted);
    EXPECT_EQ(r.failure, "");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.playFrames, 20000);
    EXPECT_GE(r.gamesWon, 1);
    EXPECT_GE(r.gamesLost, 1);
    EXPECT_TRUE(r.bestScoreKept);
}

} // namespace
} // namespace halvane
