// A whole game flown by the automatic pilot from start-up to QUIT; then the
// program started again shows the new best in play.
#include <algorithm>
#include <tuple>

#include "app/pilots.h"
#include "app/startup.h"
#include "core/numbers.h"
#include "screens/hiscore_file.h"
#include "tests/screens/screens_harness.h"

namespace halvane {
namespace {

constexpr int kHudTextY = 7, kHiScoreX = 520;

bool SecondGame = false;
int LastCycle = -1, PlayFrames = 0;
double LookedAt = -1, InMenuSince = -1;
float GameScore = 0; // the menu clears Score when it takes over again
std::string HudInk;  // '#' for full ink in the hi-score corner of a page

std::string InkOf(const uint8_t *page) {
    std::string ink;
    for (int y = kHudTextY; y < kHudTextY + 12; ++y)
        for (int x = kHiScoreX; x < kHiScoreX + 120; ++x)
            ink += PixelOf(page, x, y) == kFontInk ? '#' : '.';
    return ink;
}

// Back in the menu after the game: Up (round to QUIT), Enter. The second game
// is looked at in its 40th frame of play, then aborted with Esc and Y.
void GamePilot(double now, InputState &state) {
    PlayPilot(now, state);
    if (Score > 0) GameScore = Score;
    const bool gameOver = SecondGame ? LookedAt > 0 : GameCompleted == 1;
    if (gameOver && LevelNumber == 0) { // the menu sets the level to 0
        if (InMenuSince < 0) InMenuSince = now;
        const double t = now - InMenuSince;
        state.keys.fill(false);
        state.keys[kKeyUp] = t > 0.5 && t < 0.7;
        state.keys[kKeyEnter] = t > 1.0;
        return;
    }
    if (!SecondGame) return;
    if (AnimCycle20 != LastCycle && ++PlayFrames == 40) {
        HudInk = InkOf(PagePixels(VisiblePageIndex())); // the frame play finished last
        LookedAt = now;
    }
    LastCycle = AnimCycle20;
    if (LookedAt > 0) {
        state.keys[kKeyEsc] = now < LookedAt + 0.1;
        state.keys[kKeyY] = now > LookedAt + 0.3;
    }
}

void RunProgram(bool second) {
    SecondGame = second, PlayFrames = 0, LastCycle = -1, InMenuSince = -1;
    ResetPlayPilot();
    UsePilot(GamePilot);
    ASSERT_EQ(HeadlessRun(StartUp), 0);
}

class WholeGame : public TempDirTest {};

TEST_F(WholeGame, ThePilotWinsAndTheNewBestShowsInTheNextGame) {
    UseShippedGame(HALVANE_SOURCE_DIR);
    HeadlessSetClock(1000);
    RunProgram(false);
    EXPECT_EQ(GameCompleted, 1) << "stopped in level " << LevelNumber;
    EXPECT_EQ(std::tuple(HeardCount("Sound/brief_music.mp3"), HeardCount("stats"),
                         HeardCount("Sound/end_music.mp3")),
              std::tuple(5, 5, 1));
    ASSERT_GT(GameScore, 0);
    EXPECT_EQ(std::tuple(HiScore, ReadHiScoreFile()), std::tuple(RoundEven(GameScore), HiScore));
    const int32_t best = HiScore;
    std::printf("whole game: score %d, lives left %.0f, %.0f s of game time\n", best, Lives,
                HeadlessClock() - 1000);

    // Started again: the best comes from the file into the head-up display.
    HiScore = -1;
    RunProgram(true);
    ASSERT_GT(LookedAt, 0);
    EXPECT_EQ(std::tuple(HiScore, ReadHiScoreFile()), std::tuple(best, best));
    ClearWorkPage();
    DrawText(kHiScoreX, kHudTextY, "HI-SCORE: " + std::to_string(best), GameFont, kTextSpacing,
             kTextTransparent);
    EXPECT_EQ(HudInk, InkOf(PagePixels(WorkPageIndex())));
    EXPECT_GT(std::count(HudInk.begin(), HudInk.end(), '#'), 100);
}

} // namespace
} // namespace halvane
