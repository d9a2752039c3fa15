// The short soak, a game won and one lost; then the same run ended, as a closed window
// would end it, at pages spread over every screen and in play in two levels.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "soak_run.h"

namespace halvane {
namespace {

SoakResult Soak(long frames, long endAtPresent = 0) {
    const SoakResult r = RunSoak(HALVANE_SOURCE_DIR, frames, 4242, endAtPresent);
    EXPECT_EQ(r.failure, "");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.bestScoreKept);
    // A whole run plays every frame asked for; an ended one stops at its page.
    EXPECT_EQ(endAtPresent == 0 ? r.playFrames : r.presents,
              endAtPresent == 0 ? frames : endAtPresent);
    return r;
}

TEST(Soak, GamesWonAndLostKeepTheWorldWholeAndAnEndAnywhereKeepsTheBestScore) {
    const SoakResult r = Soak(20000);
    std::printf("soak: %ld frames of play, %ld pages, %d games (%d won, %d lost)\n", r.playFrames,
                r.presents, r.gamesStarted, r.gamesWon, r.gamesLost);
    EXPECT_GE(r.gamesWon, 1);
    EXPECT_GE(r.gamesLost, 1);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE("ended at page " + std::to_string(1 + r.presents * i / 6));
        Soak(20000, 1 + r.presents * i / 6);
    }
    for (long frame : {400L, 7000L}) {
        SCOPED_TRACE("ended at frame " + std::to_string(frame));
        Soak(frame);
    }
}

} // namespace
} // namespace halvane
