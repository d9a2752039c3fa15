// A whole game as a player would have it: the program started, LAUNCH, the
// five briefings, five levels flown by the automatic pilot with the
// statistics after each, the epilogue, the new best score, QUIT; then the
// program started again shows that best in play.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "app/pilots.h"
#include "app/startup.h"
#include "core/game_state.h"
#include "core/numbers.h"
#include "platform/audio.h"
#include "platform/headless.h"
#include "platform/screen.h"
#include "render/font.h"
#include "render/models.h"
#include "screens/hiscore_file.h"
#include "tests/files/temp_dir.h"
#include "tests/screens/screens_harness.h"

namespace halvane {
namespace {

constexpr int kHudTextY = 7;
constexpr int kHiScoreX = 520;
constexpr int kPlayFramesBeforeLook = 40;

// The pilot plays and confirms the screens. Back in the menu after the game
// it chooses QUIT (Up from LAUNCH wraps round to it, then Enter). In the
// second game it also looks at the head-up display of an early frame, then
// aborts with Esc and Y.
bool SecondGame = false;
int LastCycle = -1;
int PlayFrames = 0;
double LookedAt = -1;
double InMenuSince = -1;
float GameScore = 0;                 // the menu clears Score when it takes over again
std::array<bool, 120 * 12> HudInk{}; // full-ink pixels of the hi-score corner

void LookAtHud() {
    // The frame shown now is the one play finished last.
    const uint8_t *page = PagePixels(VisiblePageIndex());
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 120; ++x) {
            uint32_t v = 0;
            std::memcpy(&v, page + ((kHudTextY + y) * 640 + kHiScoreX + x) * 4, 4);
            HudInk[static_cast<std::size_t>(y * 120 + x)] = (v & 0xFFFFFF) == kFontInk;
        }
}

void GamePilot(double now, InputState &state) {
    PlayPilot(now, state);
    if (Score > 0) GameScore = Score;
    const bool gameOver = SecondGame ? LookedAt > 0 : GameCompleted == 1;
    // The menu sets the level to 0 when it takes over again.
    if (gameOver && LevelNumber == 0) {
        if (InMenuSince < 0) InMenuSince = now;
        const double t = now - InMenuSince;
        state.keys.fill(false);
        state.keys[kKeyUp] = t > 0.5 && t < 0.7;
        state.keys[kKeyEnter] = t > 1.0;
        return;
    }
    if (!SecondGame) return;
    if (AnimCycle20 != LastCycle) {
        LastCycle = AnimCycle20;
        if (++PlayFrames == kPlayFramesBeforeLook) {
            LookAtHud();
            LookedAt = now;
        }
    }
    if (LookedAt > 0) {
        state.keys[kKeyEsc] = now < LookedAt + 0.1;
        state.keys[kKeyY] = now > LookedAt + 0.3;
    }
}

void StartPilot(bool second) {
    SecondGame = second;
    PlayFrames = 0;
    LastCycle = -1;
    InMenuSince = -1;
    ResetPlayPilot();
    UsePilot(GamePilot);
}

class WholeGame : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        UseShippedGame(HALVANE_SOURCE_DIR);
    }
};

TEST_F(WholeGame, ThePilotWinsAndTheNewBestShowsInTheNextGame) {
    HeadlessSetClock(1000);
    StartPilot(false);
    ASSERT_EQ(HeadlessRun(StartUp), 0);

    EXPECT_EQ(GameCompleted, 1) << "stopped in level " << LevelNumber;
    EXPECT_EQ(HeardCount("Sound/brief_music.mp3"), 5);
    EXPECT_EQ(HeardCount("stats"), 5);
    EXPECT_EQ(HeardCount("Sound/end_music.mp3"), 1);
    ASSERT_GT(GameScore, 0);
    EXPECT_EQ(HiScore, RoundEven(GameScore));
    EXPECT_EQ(ReadHiScoreFile(), HiScore);
    const int32_t best = HiScore;
    std::printf("whole game: score %d, lives left %.0f, %.0f s of game time\n", best, Lives,
                HeadlessClock() - 1000);

    // Started again: the best comes from the file into the head-up display.
    HiScore = -1;
    StartPilot(true);
    ASSERT_EQ(HeadlessRun(StartUp), 0);
    ASSERT_GT(LookedAt, 0);
    EXPECT_EQ(HiScore, best);
    EXPECT_EQ(ReadHiScoreFile(), best); // the aborted game left it alone

    // The corner must show "HI-SCORE: " and the number as the font draws them.
    ClearWorkPage();
    const std::string text = "HI-SCORE: " + std::to_string(best);
    DrawText(kHiScoreX, kHudTextY, text, GameFont, kTextSpacing, kTextTransparent);
    int inked = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 120; ++x) {
            const bool ink =
                static_cast<uint32_t>(ReadPixel(kHiScoreX + x, kHudTextY + y)) == kFontInk;
            inked += ink;
            EXPECT_EQ(HudInk[static_cast<std::size_t>(y * 120 + x)], ink) << x << "," << y;
        }
    EXPECT_GT(inked, 100);
}

} // namespace
} // namespace halvane
