// The screens between the levels: the statistics, the game over, the
// briefings, the end of the game and the best-score check, with their fades,
// confirm keys, sounds and files.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/game_state.h"
#include "core/image_store.h"
#include "platform/audio.h"
#include "platform/headless.h"
#include "platform/screen.h"
#include "render/font.h"
#include "screens/briefing.h"
#include "screens/briefing_texts.h"
#include "screens/end_game.h"
#include "screens/game_over.h"
#include "screens/hiscore_check.h"
#include "screens/hiscore_file.h"
#include "screens/level_stats.h"
#include "tests/files/temp_dir.h"
#include "tests/screens/screens_harness.h"
#include "world/craft.h"
#include "world/objects.h"
#include "world/terrain.h"

namespace halvane {
namespace {

constexpr uint32_t kGameFrame = 0x608090;

// Runs the statistics over a used level and checks the level was reset.
void RunStatsOverUsedLevel() {
    Ship[5].state = Mine[10].state = kSlotActive;
    ShipCount = MineCount = 1;
    TerrainDepth[8][3] = 99;
    CraftX = 3;
    MapPosition = 100;
    ShowLevelStats();
    EXPECT_EQ(Ship[5].state + Mine[10].state, 2 * kSlotFree);
    EXPECT_EQ(ShipCount + MineCount + MissedShips + MissedMines, 0);
    EXPECT_NE(TerrainDepth[8][3], 99);
    EXPECT_EQ(CraftX, 0);
    EXPECT_EQ(MapPosition, kMapStart);
}

TEST(LevelStats, ANewGameOnlyResetsTheLevel) {
    PrepareScreens();
    MissedShips = 4;
    Lives = -1;
    HoldKey(kKeyEnter, 0, 1000); // a held confirm would stall any wait
    RunStatsOverUsedLevel();
    EXPECT_EQ(ShotCount, 0);
    EXPECT_EQ(Heard, "");
    EXPECT_LT(HeadlessClock() - kStart, 0.01);
}

TEST(LevelStats, ShowsTheMissedCountsOverTheDimmedFrame) {
    PrepareScreens();
    FillCapture(kGameFrame);
    Lives = 1;
    MissedMines = 17;
    HoldKey(kKeyEnter, 0, 0.5); // still held from the level: waited out first
    HoldKey(kKeyEnter, 2.0, 3.0);
    RunStatsOverUsedLevel();

    FillCapture(kGameFrame);
    PutImage(0, 0, ScreenImages[CaptureImage], kPutBlend, 135);
    DrawText(250, 220, "You missed 0 ships.", GameFont, 2, kTextTransparent);
    DrawText(250, 230, "You missed 17 mines.", GameFont, 2, kTextTransparent);
    DrawText(200, 250, "Press ENTER or left mouse button", GameFont, 2, kTextTransparent);
    const uint64_t statistics = WorkPageHash();
    ASSERT_GT(ShotCount, 8 + 9);
    EXPECT_GE(Shots[0].time, 0.5);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Shots[i].fade, 240 - 15 * i); // drawn at 255 down to 150
    int last = 8;
    while (last < ShotCount && Shots[last].hash == statistics)
        ++last;
    EXPECT_GE(Shots[last - 1].time, 2.0);
    EXPECT_LT(Shots[last - 2].time, 2.0);
    EXPECT_EQ(ShotCount - last, 9); // 135 to black
    EXPECT_EQ(FadeAlpha, 0);
    EXPECT_GE(HeadlessClock() - kStart, 3.0); // waited for the release
    EXPECT_EQ(Heard, "stats@0 stop@8 ");
}

TEST(LevelStats, SpaceAndTheLeftButtonAloneConfirm) {
    for (bool space : {true, false}) {
        PrepareScreens();
        HoldButtons(kMouseLeft | kMouseMiddle, 0.5, 0.9); // two buttons are no click
        if (space) HoldKey(kKeySpace, 1.0, 1.1);
        if (!space) HoldButtons(kMouseLeft, 1.0, 1.1);
        Lives = 0;
        FillCapture(kGameFrame);
        ShowLevelStats();
        ASSERT_GT(ShotCount, 17);
        EXPECT_NEAR(Shots[ShotCount - 9].time, 1.0, 0.05) << space;
        EXPECT_EQ(Shots[ShotCount - 9].fade, 120);
    }
}

// Over the last frame of play (a grey backdrop the terrain is drawn over).
void RunGameOver() {
    ResetTerrain();
    Lives = -1;
    SetPages(1, 0);
    FillBox(0, 0, 639, 479, 0x303030);
    ShowGameOver();
}

TEST(GameOver, ExplosionDimThenTheTextUntilAConfirmFromItsTwentySixthFrame) {
    PrepareScreens();
    HoldKey(kKeyEnter, 0, 1.5); // held from play: waited out before the text
    HoldKey(kKeyEnter, 1.6, 9);
    RunGameOver();

    ASSERT_GT(ShotCount, 28);
    for (int i = 1; i < 20; ++i)
        EXPECT_NE(Shots[i].hash, Shots[i - 1].hash) << i;            // the explosion builds up
    EXPECT_GE(Shots[19].time - Shots[0].time, 19 / 23.0 - 1 / 60.0); // at the game's pace
    for (int i = 20; i < 28; ++i)
        EXPECT_EQ(Shots[i].fade, 240 - 15 * (i - 20));
    EXPECT_EQ(NextShot(0, true), 28);
    EXPECT_EQ(ShotCount - 28, 26);
    EXPECT_EQ(CountPaced(), 26);
    EXPECT_GE(Shots[28].time, 1.5);
    EXPECT_EQ(Shots[28].lines[0], 100); // the prompt starts faintest
    EXPECT_EQ(Shots[28].lines[7], 30);
    EXPECT_EQ(FadeAlpha, 255);
    EXPECT_EQ(PageHash(ScreenImages[CaptureImage].data() + kImageHeaderBytes),
              Shots[ShotCount - 1].hash);
    EXPECT_EQ(Heard, "stop@0 boom@0 ");
}

TEST(GameOver, TheTextRisesFadingInAndStopsAtItsPlace) {
    PrepareScreens();
    InkBoxes[0] = {55, 150, 639, 150 + GameFont.height - 1};  // line 1 at rest
    InkBoxes[1] = {180, 220, 639, 220 + GameFont.height - 1}; // the prompt at rest
    HoldKey(kKeyEnter, 8.0, 8.1);
    RunGameOver();

    const int frames = CountPaced();
    ASSERT_GT(frames, 70);
    auto paced = [&](int k) { return Shots[28 + k - 1]; }; // k-th frame of the text
    EXPECT_EQ(paced(39).lines[0], 252);
    EXPECT_EQ(paced(40).lines[0], 255);
    EXPECT_EQ(paced(57).lines[7], 254);
    EXPECT_EQ(paced(58).lines[7], 255);
    EXPECT_EQ(paced(1).ink[0] + paced(1).ink[1], 0);
    EXPECT_GT(paced(63).ink[0], 0);
    EXPECT_GT(paced(63).ink[1], 0);
    for (int k = 64; k <= frames; ++k)
        EXPECT_EQ(paced(k).hash, paced(63).hash) << k;
    EXPECT_GE(paced(frames).time, 8.0);
    EXPECT_LT(paced(frames - 1).time, 8.0);
}

void StartBriefing(int level) {
    PrepareScreens();
    LevelNumber = static_cast<float>(level);
    AnimCycle6 = 0; // the first step comes on the 5th frame, the second on the 13th
}

TEST(Briefing, ConfirmWaitsForTheReleaseAndTheSecondStep) {
    StartBriefing(1);
    FireCooldown = 7;
    HoldKey(kKeyEnter, 0, 0.3);
    HoldKey(kKeyEnter, 0.35, 3.0); // held through the fade in and the first step
    ShowBriefing();

    ASSERT_EQ(ShotCount, 17 + 13 + 17);
    EXPECT_GE(Shots[0].time, 0.3);
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(Shots[i].fade, std::min(15 * (i + 1), 255));
    EXPECT_EQ(CountPaced(17, 30), 13);
    EXPECT_EQ(Shots[30].hash, Shots[29].hash); // the fade out starts from the last frame
    EXPECT_EQ(Shots[46].fade, 0);
    EXPECT_GE(HeadlessClock() - kStart, 3.0);
    // The menu tune stops before the first mission's tune; the game tune last.
    EXPECT_EQ(Heard, "stop@0 Sound/brief_music.mp3@0 open@11 line@21 line@29 stop@30 "
                     "Sound/game_music.mp3@47 ");
    EXPECT_EQ(FireCooldown, 0); // the craft respawned
}

TEST(Briefing, EveryMissionTicksOncePerStepAndFlickers) {
    for (int mission = 1; mission <= kMissions; ++mission) {
        SCOPED_TRACE(mission);
        StartBriefing(mission);
        const BriefingMission &m = BriefingMissions[mission];
        // A pixel of ink in each of the last two lines (drawn once each), the
        // colours the flicker gives it, and two points of the script strips.
        for (int probe = 0; probe <= 1; ++probe) {
            const BriefingItem &item = m.items[static_cast<std::size_t>(m.itemCount - 2 + probe)];
            ClearWorkPage();
            DrawText(item.x, item.y, item.text, GameFont, 2, kTextTransparent);
            for (int y = item.y; y < item.y + GameFont.height; ++y)
                for (int x = item.x; x < 639; ++x)
                    if (static_cast<uint32_t>(ReadPixel(x, y)) == kFontInk) Probes[probe] = {x, y};
        }
        std::array<uint32_t, 3> flicker{}; // at the first probe
        const BriefingItem &item = m.items[static_cast<std::size_t>(m.itemCount - 2)];
        for (std::size_t j = 0; j < 3; ++j) {
            PutImage(0, 0, ScreenImages[BriefingBackground], kPutOpaque, 0);
            DrawTextBlended(item.x, item.y, item.text, GameFont, 2, kBriefingFlicker[j]);
            flicker[j] = static_cast<uint32_t>(ReadPixel(Probes[0][0], Probes[0][1]));
        }
        Probes[2] = mission == 4 ? std::array<int, 2>{349, 130} : std::array<int, 2>{346, 187};
        Probes[3] = mission == 4 ? std::array<int, 2>{602, 148} : std::array<int, 2>{40, 205};
        const double wellAfter = 0.4 + (m.lastStep + 8) * 8 / 23.0;
        HoldKey(kKeySpace, wellAfter, wellAfter + 0.1);
        ShowBriefing();

        EXPECT_EQ(HeardCount("line"), m.lastStep);
        EXPECT_EQ(Heard.rfind("stop@0", 0), mission == 1 ? 0 : std::string::npos);
        std::array<int, 3> seen{};
        int frame = 0;
        int last = -1;
        for (int i = 0; i < ShotCount; ++i) {
            if (!Shots[i].paced) continue;
            ++frame;
            last = i;
            for (int probe = 0; probe <= 1; ++probe) {
                const uint32_t colour = Shots[i].probe[static_cast<std::size_t>(probe)];
                if (frame < 5 + 8 * (m.lastStep - 2 + probe)) { // before its step
                    EXPECT_EQ(colour, kBriefingColour) << "frame " << frame;
                    continue;
                }
                const auto at = std::find(flicker.begin(), flicker.end(), colour);
                ASSERT_NE(at, flicker.end()) << "frame " << frame;
                seen[static_cast<std::size_t>(at - flicker.begin())] += probe == 0;
                EXPECT_EQ(colour, Shots[i].probe[0]) << "frame " << frame; // one opacity a frame
            }
        }
        for (int count : seen)
            EXPECT_GT(count, 5);
        ASSERT_GE(last, 0);
        if (mission >= 4) {
            EXPECT_EQ(Shots[last].probe[2], kScriptColours[mission == 4 ? 1 : 4]);
            EXPECT_EQ(Shots[last].probe[3], kScriptColours[mission == 4 ? 2 : 3]);
        }
    }
}

class ScreenFiles : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        std::filesystem::create_directory("Data");
        PrepareScreens();
    }
    // The file an earlier game left with the best 40.
    std::vector<uint8_t> WriteOldBest() {
        std::string text = "40";
        ScrambleText(text, HiScoreKey);
        WriteText("Data/hs.dat", text + "\r\n");
        HiScore = 40;
        return ReadBytes("Data/hs.dat");
    }
};

TEST_F(ScreenFiles, HoldingSInTheBriefingSavesOneScreenshotPerPress) {
    StartBriefing(3);
    ScreenshotNumber = 1;
    HoldKey(kKeyS, 0.8, 1.3);
    HoldKey(kKeyS, 1.5, 1.6);
    HoldKey(kKeyEnter, 2.5, 2.6);
    ShowBriefing();
    EXPECT_TRUE(std::filesystem::exists("screenshot2.bmp"));
    EXPECT_FALSE(std::filesystem::exists("screenshot3.bmp"));
    EXPECT_EQ(ScreenshotNumber, 3);
}

void StartEndGame() {
    PrepareScreens();
    FillCapture(0x705030); // the last frame of play
    KeyHeld = 1;
    InkBoxes[0] = {280, 210, 400, 210 + GameFont.height - 1}; // THE END
    InkBoxes[1] = {55, 240, 639, 240 + GameFont.height - 1};  // line 10 at rest
}

TEST(EndGame, EnterHeldFromTheLastLevelStillSeesTheWholeSequence) {
    StartEndGame();
    HoldKey(kKeyEnter, 0, 1.0);
    HoldKey(kKeyEnter, 1.05, 12.0);
    HoldKey(kKeyEnter, 12.5, 12.6);
    ShowEndGame();

    EXPECT_EQ(GameCompleted, 1);
    EXPECT_EQ(KeyHeld, 0);
    ASSERT_GT(ShotCount, 27);
    EXPECT_GE(Shots[0].time, 1.0);
    for (int i = 0; i < 27; ++i) // the last frame fades out, the picture in to 150
        EXPECT_EQ(Shots[i].fade, i < 17 ? std::max(240 - 15 * i, 0) : 15 * (i - 16));
    // The epilogue takes a confirm from its 151st frame; "THE END" comes after
    // Enter is let go and stays until the next press.
    const int theEnd = NextShot(27, true) + 151;
    EXPECT_EQ(NextShot(27, false), ShotCount - 17);
    EXPECT_EQ(CountPaced(27, theEnd), 151);
    EXPECT_EQ(Shots[27].lines[0], 100);
    EXPECT_EQ(Shots[theEnd - 1].fade, 150);
    EXPECT_EQ(Shots[theEnd].fade, 165);
    EXPECT_GE(Shots[theEnd].time, 12.0);
    EXPECT_GT(Shots[theEnd].ink[0], 0);
    EXPECT_GE(Shots[ShotCount - 18].time, 12.5);
    EXPECT_EQ(FadeAlpha, 0);
    EXPECT_EQ(Heard, "stop@0 Sound/end_music.mp3@17 ");
}

TEST(EndGame, SpaceNeverConfirmsAndTheEndWaitsForFullBrightness) {
    StartEndGame();
    HoldKey(kKeySpace, 0, 14.0);
    HoldKey(kKeyEnter, 14.0, 14.3);
    HoldKey(kKeyEnter, 14.4, 20);
    HoldButtons(kMouseLeft, 20.5, 20.6);
    ShowEndGame();

    const int first = NextShot(27, true);
    const int closing = NextShot(first, false);
    int theEnd = first;
    while (theEnd < closing && Shots[theEnd].fade == 150)
        ++theEnd;
    // The epilogue ran until Enter, at rest at its place after 250 frames.
    EXPECT_LT(Shots[theEnd - 2].time, 14.0);
    EXPECT_GE(Shots[theEnd - 1].time, 14.0);
    EXPECT_GT(theEnd - first, 250);
    EXPECT_GT(Shots[theEnd - 1].ink[1], 0);
    EXPECT_EQ(Shots[theEnd - 1].hash, Shots[theEnd - 2].hash);
    // Enter held again at once: "THE END" for just the 7 frames of brightening.
    EXPECT_EQ(closing - theEnd, 7);
    EXPECT_EQ(Shots[closing - 1].fade, 255);
    EXPECT_LT(Shots[closing - 1].time, 20.0);
    EXPECT_EQ(ShotCount - closing, 17);
}

TEST_F(ScreenFiles, AFirstBestOfFiveWritesThreeBytesAndCongratulates) {
    Score = 5;
    HoldKey(kKeyEnter, 0, 0.2);
    HoldKey(kKeyEnter, 0.25, 2.0);
    CheckHiScore();

    EXPECT_EQ(ReadBytes("Data/hs.dat"), (std::vector<uint8_t>{'5' + 'b', 0x0D, 0x0A}));
    EXPECT_FALSE(std::filesystem::exists("Data/hs.dat.tmp"));
    EXPECT_EQ(HiScore, 5);
    // Fading in by 15 from 0, taking the held Enter at 165, then out to 0.
    ASSERT_EQ(ShotCount, 11 + 11);
    EXPECT_GE(Shots[0].time, 0.2);
    for (int i = 0; i < 22; ++i)
        EXPECT_EQ(Shots[i].fade, i < 11 ? 15 * (i + 1) : 150 - 15 * (i - 11));
    ClearWorkPage();
    DrawTextBlended(180, 190, "Congratulations! You beat the hi-score!", GameFont, 2, 165);
    DrawTextBlended(234, 210, "The new hi-score is 5.", GameFont, 2, 165);
    DrawTextBlended(199, 240, "Press ENTER or left mouse button", GameFont, 2, 165);
    EXPECT_EQ(Shots[10].hash, WorkPageHash());
    EXPECT_GE(HeadlessClock() - kStart, 2.0); // released before the menu
    EXPECT_EQ(Heard, "stop@0 ");
}

TEST_F(ScreenFiles, AnEqualBestChangesNothingAndSpaceNeverConfirms) {
    const auto before = WriteOldBest();
    Score = 40;
    CheckHiScore();
    EXPECT_EQ(ReadBytes("Data/hs.dat"), before);
    EXPECT_EQ(ShotCount, 0);
    EXPECT_EQ(HiScore, 40);

    Score = 1234;
    HoldKey(kKeySpace, 0, 3.0); // neither holds the check up nor confirms
    HoldButtons(kMouseLeft, 2.0, 2.1);
    CheckHiScore();
    ASSERT_GT(ShotCount, 80);
    EXPECT_LT(Shots[0].time, 0.1);
    // Faded in to 255 and held there until the click; 17 frames out from there.
    EXPECT_EQ(Shots[ShotCount - 80].fade, 255);
    EXPECT_EQ(Shots[ShotCount - 18].fade, 255);
    EXPECT_GE(Shots[ShotCount - 18].time, 2.0);
    EXPECT_EQ(ReadHiScoreFile(), 1234);
}

TEST_F(ScreenFiles, AScoreFileThatCannotBeWrittenIsSkippedAndTheOldBestKept) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    const auto before = WriteOldBest();
    std::filesystem::create_symlink("/dev/full", "Data/hs.dat.tmp"); // a full disk
    Score = 100;
    HoldKey(kKeyEnter, 0.5, 0.6);
    CheckHiScore();
    EXPECT_EQ(ReadBytes("Data/hs.dat"), before);
    EXPECT_FALSE(std::filesystem::is_symlink("Data/hs.dat.tmp"));
    EXPECT_EQ(HiScore, 100); // raised for this run all the same
    EXPECT_GT(ShotCount, 0);
}

} // namespace
} // namespace halvane
