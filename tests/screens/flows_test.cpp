// Whole stretches of a game through the screens: a level completed, the last
// life lost, the last level completed, a game aborted.
#include <gtest/gtest.h>

#include <sstream>

#include "app/game_loop.h"
#include "core/game_state.h"
#include "core/image_store.h"
#include "platform/audio.h"
#include "platform/screen.h"
#include "render/font.h"
#include "render/models.h"
#include "screens/hiscore_file.h"
#include "tests/files/temp_dir.h"
#include "tests/screens/screens_harness.h"
#include "world/craft.h"
#include "world/level.h"
#include "world/terrain.h"

namespace halvane {
namespace {

constexpr uint32_t kBackdrop = 0x404040;

// A game in level 1 over flat ground (no level files), as the launch leaves
// it, with the best score 40 on file.
class GameFlow : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        std::filesystem::create_directory("Data");
        PrepareScreens();
        FillBox(0, 0, 639, 479, kBackdrop);
        GrabImage(0, 0, 639, 479, ScreenImages[LevelBackground1]);
        ClearWorkPage();
        CraftModelScale = 0.1f;
        FillAngleTables();
        BuildCraftModels();
        BuildMineModel();
        BuildMissileModel();
        ResetForLevel();
        SpeedFactor = 1;
        LevelNumber = 1;
        LevelBackdrop = LevelBackground1;
        Lives = 2;
        Shield = 1000;
        std::string best = "40";
        ScrambleText(best, HiScoreKey);
        WriteText("Data/hs.dat", best + "\r\n");
        HiScore = 40;
    }
    // Ends the level in this frame: the fly-out is at its end.
    void FlyOut(int level) {
        LevelNumber = static_cast<float>(level);
        EndPhase = 2;
        CraftZ = 9.95f;
    }
};

TEST_F(GameFlow, ACompletedLevelShowsItsMissesThenTheNextBriefing) {
    FlyOut(1);
    MissedShips = 3;
    MissedMines = 1;
    SetPages(1, 0);
    FillBox(0, 0, 639, 479, kBackdrop); // the frame of play just drawn
    HoldKey(kKeyEnter, 1.0, 1.1);       // leaves the statistics
    HoldKey(kKeyEnter, 6.0, 6.1);       // and the briefing
    RunEndPhase();

    FillCapture(kBackdrop);
    PutImage(0, 0, ScreenImages[CaptureImage], kPutBlend, 135);
    DrawText(250, 220, "You missed 3 ships.", GameFont, 2, kTextTransparent);
    DrawText(250, 230, "You missed 1 mines.", GameFont, 2, kTextTransparent);
    DrawText(200, 250, "Press ENTER or left mouse button", GameFont, 2, kTextTransparent);
    const uint64_t statistics = WorkPageHash();
    int shown = 0;
    for (int i = 0; i < ShotCount; ++i)
        shown += Shots[i].hash == statistics;
    EXPECT_GT(shown, 10);
    EXPECT_EQ(LevelNumber, 2);
    EXPECT_EQ(MissedShips, 0);
    EXPECT_EQ(MapPosition, kMapStart);
    EXPECT_EQ(HeardCount("line"), 8); // mission 2 told whole
    std::string music;
    std::istringstream heard(Heard);
    for (std::string w; heard >> w;)
        if (w.find("stop") == 0 || w.find(".mp3") != std::string::npos)
            music += w.substr(0, w.find('@')) + " ";
    EXPECT_EQ(music, "stop Sound/brief_music.mp3 stop Sound/game_music.mp3 ");
}

TEST_F(GameFlow, TheLastLifeLostRunsTheGameOverThenTheHiScoreCheck) {
    Lives = 0;
    Shield = 0.5f;
    Score = 45;
    HoldKey(kKeyEnter, 3.0, 3.1); // the game over
    HoldKey(kKeyEnter, 5.0, 5.1); // the congratulation
    RunGame();
    EXPECT_EQ(HeardCount("boom"), 1);
    EXPECT_EQ(HiScore, 45);
    EXPECT_EQ(ReadHiScoreFile(), 45);
}

TEST_F(GameFlow, TheLastLevelEndsWithTheEpilogueThenTheHiScoreCheck) {
    FlyOut(5);
    Score = 1000;
    for (double t = 1; t < 30; t += 1)
        HoldKey(kKeyEnter, t, t + 0.1);
    InkBoxes[0] = {180, 190, 639, 190 + GameFont.height - 1}; // "Congratulations!"
    RunGame();
    EXPECT_EQ(GameCompleted, 1);
    EXPECT_EQ(ReadHiScoreFile(), 1005);
    // The end screen fades out to black (15, then 0) and the congratulation
    // fades in right after (15, 30, ... 255): no closing fade of play between.
    int full = 0;
    while (full < ShotCount && Shots[full].ink[0] == 0)
        ++full;
    ASSERT_LT(full, ShotCount);
    ASSERT_GE(full, 18);
    EXPECT_EQ(Shots[full].fade, 255);
    EXPECT_EQ(Shots[full - 16].fade, 15);
    EXPECT_EQ(Shots[full - 17].fade, 0);
    EXPECT_EQ(Shots[full - 18].fade, 15);
    EXPECT_FALSE(Shots[full - 17].paced);
}

TEST_F(GameFlow, AnAbortedGameNeverTouchesTheScoreFile) {
    const auto before = ReadBytes("Data/hs.dat");
    Score = 5000;
    HoldKey(kKeyEsc, 0.5, 0.6);
    HoldKey(kKeyY, 1.0, 1.1);
    RunGame();
    EXPECT_EQ(ReadBytes("Data/hs.dat"), before);
    EXPECT_FALSE(std::filesystem::exists("Data/hs.dat.tmp"));
    EXPECT_EQ(HiScore, 40);
}

} // namespace
} // namespace halvane
