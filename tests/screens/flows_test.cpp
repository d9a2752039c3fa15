// Whole stretches of a game through the screens, and the best-score file.
#include <algorithm>
#include <tuple>

#include "app/game_loop.h"
#include "render/models.h"
#include "render/terrain_view.h"
#include "screens/hiscore_check.h"
#include "screens/hiscore_file.h"
#include "tests/screens/screens_harness.h"
#include "world/craft.h"
#include "world/level.h"
#include "world/terrain.h"

namespace halvane {
namespace {
using namespace std::string_literals;

constexpr uint32_t kBackdrop = 0x404040;

// Level 1 over flat ground as the launch leaves it; a white menu picture.
void StartGame() {
    PrepareScreens();
    FillCapture(0xFFFFFF);
    ScreenImages[MenuBackground] = ScreenImages[CaptureImage];
    FillCapture(kBackdrop);
    ScreenImages[LevelBackground1] = ScreenImages[CaptureImage];
    CraftModelScale = 0.1f;
    FillAngleTables();
    BuildCraftModels();
    BuildMineModel();
    BuildMissileModel();
    for (int row = kMapFirstRow; row <= kMapLastRow; ++row)
        for (int k = 1; k <= 30; ++k)
            LevelMap[k][row] = k <= 15 ? 7 : 3;
    ResetForLevel();
    SpeedFactor = LevelNumber = 1, LevelBackdrop = LevelBackground1;
    Lives = 2, Shield = 1000, CraftRoll = CraftPitch = 4, CraftY = 2;
    OptControls = kMouseControls; // the keyboard's polls would slow the virtual clock
}

void ExpectMenuFadedIn() { // up to 240
    EXPECT_EQ(std::tuple(FadeAlpha, static_cast<uint32_t>(ReadPixel(320, 240))),
              std::tuple(255, 0xF0F0F0u));
}

// The best score 40 on file.
class GameFlow : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        std::filesystem::create_directory("Data");
        StartGame();
        std::string best = "40";
        ScrambleText(best, HiScoreKey);
        WriteText("Data/hs.dat", best + "\r\n");
        HiScore = 40;
    }
};

// A life lost at once; Esc, N; S held and tapped; Esc, Y: no best score.
TEST_F(GameFlow, ALifeLostThePauseAndScreenshotsThenAbandoned) {
    const auto before = ReadBytes("Data/hs.dat");
    Score = 5000, Shield = 0.5f, ScreenshotNumber = 1;
    HoldKey(kKeyEsc, 1.0, 1.2);
    HoldKey(kKeyN, 3.0, 3.1);
    HoldKey(kKeyS, 5.0, 5.5); // held over many frames
    HoldKey(kKeyS, 6.0, 6.1);
    HoldKey(kKeyEsc, 7.0, 7.2);
    HoldKey(kKeyY, 8.0, 8.1);
    DrawScene(); // the explosion builds up over it: probe its lowest pixel of ground
    for (int y = 479; y >= 0 && Probes[0][1] == 0; --y)
        for (int x = 0; x < 640; ++x)
            if (static_cast<uint32_t>(ReadPixel(x, y)) == 0x00C000) Probes[0] = {x, y};
    RunGame();
    ExpectMenuFadedIn();
    EXPECT_EQ(std::tuple(Lives, Heard.rfind("boom@0 ", 0), ScreenshotNumber, HiScore),
              std::tuple(1, 0u, 3, 40));
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(Shots[i].probe[0], 0x00C000u) << i;
        EXPECT_NE(Shots[i].hash, Shots[i + 1].hash) << i;
    }
    EXPECT_EQ(NextShot(0, true), 8);
    int pause = 0;
    while (Shots[pause].time < 1.5)
        ++pause;
    for (int i = pause; Shots[i].time < 2.9; ++i) // the paused game stands still, dimmed
        EXPECT_EQ(std::tuple(Shots[i].fade, Shots[i].hash, Shots[i].world),
                  std::tuple(135, Shots[pause].hash, Shots[pause].world));
    EXPECT_GE(Shots[NextShot(pause, true)].time, 3.0);
    EXPECT_GT(Shots[ShotCount - 1].world[0], Shots[pause].world[0] + 4); // N, then play
    EXPECT_TRUE(std::filesystem::exists("screenshot2.bmp"));
    EXPECT_FALSE(std::filesystem::exists("screenshot3.bmp"));
    EXPECT_EQ(ReadBytes("Data/hs.dat"), before);
}

TEST_F(GameFlow, MeasuredRateHoldsEachGameSpeed) {
    for (const int fps : {13, 23, 33, 45}) {
        StartGame();
        FpsSecondMark = 0, TargetFps = fps;
        HoldKey(kKeyEsc, 4.0, 4.1);
        HoldKey(kKeyY, 4.5, 4.6);
        RunGame();
        ExpectMenuFadedIn();
        int at = NextShot(0, true);
        EXPECT_EQ(Shots[at].fps, 1) << fps;
        while (Shots[at].time < 3.5)
            ++at;
        EXPECT_NEAR(Shots[at].fps, fps, 1) << fps;
    }
}

TEST_F(GameFlow, AFirstBestOfFiveWritesThreeBytesAndCongratulates) {
    std::filesystem::remove("Data/hs.dat");
    HiScore = FadeAlpha = 0, Score = 5; // FadeAlpha where the closing fade of play leaves it
    HoldKey(kKeyEnter, 0, 0.2);
    HoldKey(kKeyEnter, 0.25, 2.0);
    CheckHiScore();
    EXPECT_EQ(ReadBytes("Data/hs.dat"), (std::vector<uint8_t>{'5' + 'b', 0x0D, 0x0A}));
    EXPECT_FALSE(std::filesystem::exists("Data/hs.dat.tmp"));
    ASSERT_EQ(std::tuple(HiScore, ShotCount), std::tuple(5, 11 + 11));
    EXPECT_GE(Shots[0].time, 0.2);
    for (int i = 0; i < 22; ++i)
        EXPECT_EQ(Shots[i].fade, i < 11 ? 15 * (i + 1) : 150 - 15 * (i - 11));
    ClearWorkPage();
    DrawTextBlended(180, 190, "Congratulations! You beat the hi-score!", GameFont, 2, 165);
    DrawTextBlended(234, 210, "The new hi-score is 5.", GameFont, 2, 165);
    DrawTextBlended(199, 240, "Press ENTER or left mouse button", GameFont, 2, 165);
    EXPECT_EQ(Shots[10].hash, PageHash(PagePixels(WorkPageIndex())));
    EXPECT_EQ(std::tuple(HeadlessClock() >= kStart + 2.0, Heard), std::tuple(true, "stop@0 "s));
}

// A better score on a full disk keeps the old file whole, yet is this run's
// best; its screen ignores Space. With room again the next best is written.
TEST_F(GameFlow, AnEqualBestChangesNothingAndAFullDiskLosesNothing) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    const auto before = ReadBytes("Data/hs.dat");
    Score = 40;
    CheckHiScore();
    EXPECT_EQ(std::tuple(ShotCount, HiScore), std::tuple(0, 40));
    std::filesystem::create_symlink("/dev/full", "Data/hs.dat.tmp");
    Score = 100;
    HoldKey(kKeySpace, 0, 3.0);
    HoldButtons(kMouseLeft, 2.0, 2.1);
    HoldKey(kKeyEnter, 3.5, 3.6);
    CheckHiScore();
    EXPECT_EQ(ReadBytes("Data/hs.dat"), before);
    EXPECT_FALSE(std::filesystem::is_symlink("Data/hs.dat.tmp"));
    ASSERT_EQ(std::tuple(HiScore, ShotCount > 80), std::tuple(100, true));
    EXPECT_LT(Shots[0].time, 0.1);
    EXPECT_EQ(std::tuple(Shots[ShotCount - 80].fade, Shots[ShotCount - 18].fade),
              std::tuple(255, 255));
    EXPECT_GE(Shots[ShotCount - 18].time, 2.0);
    Score = 1234;
    CheckHiScore();
    EXPECT_EQ(ReadHiScoreFile(), 1234);
}

TEST_F(GameFlow, ACompletedLevelShowsItsMissesThenTheNextBriefing) {
    EndPhase = 2, CraftZ = 9.95f; // the fly-out ends in this frame
    MissedShips = 3, MissedMines = 1;
    SetPages(1, 0);
    FillBox(0, 0, 639, 479, kBackdrop); // the frame of play just drawn
    HoldKey(kKeyEnter, 1.0, 1.1);       // leaves the statistics
    HoldKey(kKeyS, 3.0, 3.5);           // one screenshot of the briefing
    HoldKey(kKeyS, 4.0, 4.1);           // and another
    HoldKey(kKeyEnter, 6.0, 6.1);       // leaves the briefing
    ScreenshotNumber = 1;
    RunEndPhase();
    EXPECT_TRUE(std::filesystem::exists("screenshot2.bmp"));
    EXPECT_FALSE(std::filesystem::exists("screenshot3.bmp"));
    const uint64_t statistics = StatisticsHash(kBackdrop, 3, 1);
    EXPECT_GT(std::count_if(Shots.begin(), Shots.begin() + ShotCount,
                            [&](const Shot &s) { return s.hash == statistics; }),
              10);
    EXPECT_EQ(std::tuple(LevelNumber, HeardCount("line")), std::tuple(2, 8)); // all of mission 2
    std::string tunes;
    for (const auto &[name, shots] : HeardSounds())
        if (name != "fx" && name != "line" && name != "open" && name != "stats")
            tunes += name + " ";
    EXPECT_EQ(tunes, "stop Sound/brief_music.mp3 stop Sound/game_music.mp3 ");
}

TEST_F(GameFlow, TheLastLifeLostRunsTheGameOverThenTheHiScoreCheck) {
    Lives = 0, Shield = 0.5f, Score = 45;
    HoldKey(kKeyEnter, 3.0, 3.1); // the game over
    HoldKey(kKeyEnter, 5.0, 5.1); // the congratulation
    RunGame();
    EXPECT_EQ(std::tuple(Lives, HeardCount("boom"), HiScore, ReadHiScoreFile()),
              std::tuple(-1, 1, 45, 45));
}

// No closing fade of play between the end screen and the congratulation.
TEST_F(GameFlow, TheLastLevelEndsWithTheEpilogueThenTheHiScoreCheck) {
    LevelNumber = 5, EndPhase = 2, CraftZ = 9.95f, Score = 1000;
    for (double t = 1; t < 30; t += 1)
        HoldKey(kKeyEnter, t, t + 0.1);
    InkBoxes[0] = {180, 190, 639, 190 + GameFont.height - 1}; // "Congratulations!"
    RunGame();
    EXPECT_EQ(std::tuple(GameCompleted, LevelNumber, ReadHiScoreFile()), std::tuple(1, 6, 1005));
    int full = 0;
    while (full < ShotCount && Shots[full].ink[0] == 0)
        ++full;
    ASSERT_TRUE(full >= 18 && full < ShotCount) << full;
    EXPECT_EQ(std::tuple(Shots[full].fade, Shots[full - 16].fade, Shots[full - 17].fade,
                         Shots[full - 18].fade, Shots[full - 17].paced),
              std::tuple(255, 15, 0, 15, false));
}

} // namespace
} // namespace halvane
