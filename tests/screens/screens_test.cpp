// The screens between the levels one by one, with their fades, confirm keys
// and sounds.
#include <algorithm>
#include <tuple>

#include "screens/briefing.h"
#include "screens/briefing_texts.h"
#include "screens/end_game.h"
#include "screens/game_over.h"
#include "screens/level_stats.h"
#include "tests/screens/screens_harness.h"
#include "world/craft.h"
#include "world/objects.h"
#include "world/terrain.h"

namespace halvane {
namespace {

constexpr uint32_t kGameFrame = 0x608090;

// The level is reset with or without the screen (a new game passes Lives -1:
// nothing shown, even with a confirm held). Confirms: Enter, Space, left button.
TEST(LevelStats, ResetTheLevelAndShowTheMissesUntilAConfirm) {
    for (int confirm : {-1, kKeyEnter, kKeySpace, 0}) { // 0: the left button
        SCOPED_TRACE(confirm);
        PrepareScreens();
        FillCapture(kGameFrame);
        Ship[5].state = Mine[10].state = kSlotActive, ShipCount = MineCount = 1;
        TerrainDepth[8][3] = 99, CraftX = 3, MapPosition = 100, MissedMines = 17;
        Lives = confirm < 0 ? -1 : 1;
        HoldKey(kKeyEnter, 0, confirm < 0 ? 1000 : 0.5);
        HoldButtons(kMouseLeft | kMouseMiddle, 0.5, 0.9); // two buttons are no click
        if (confirm > 0) HoldKey(confirm, 2.0, 3.0);
        if (confirm == 0) HoldButtons(kMouseLeft, 2.0, 3.0);
        ShowLevelStats();
        EXPECT_EQ(std::tuple(Ship[5].state + Mine[10].state, CraftX, MapPosition),
                  std::tuple(2 * kSlotFree, 0, kMapStart));
        EXPECT_EQ(ShipCount + MineCount + MissedShips + MissedMines, 0);
        EXPECT_NE(TerrainDepth[8][3], 99);
        if (confirm < 0) {
            EXPECT_EQ(std::tuple(ShotCount, Heard, HeadlessClock() < kStart + 0.01),
                      std::tuple(0, "", true));
            continue;
        }
        const uint64_t statistics = StatisticsHash(kGameFrame, 0, 17);
        ASSERT_GT(ShotCount, 8 + 9);
        EXPECT_GE(Shots[0].time, 0.5);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(Shots[i].fade, 240 - 15 * i);
        int last = 8;
        while (last < ShotCount && Shots[last].hash == statistics)
            ++last;
        EXPECT_GE(Shots[last - 1].time, 2.0);
        EXPECT_LT(Shots[last - 2].time, 2.0 + (confirm == 0) / 60.0); // mouse read before a frame
        EXPECT_EQ(std::tuple(ShotCount - last, HeadlessClock() >= kStart + 3.0, Heard),
                  std::tuple(9, true, "stats@0 stop@8 "));
    }
}

// Over the last frame of play, with Enter held from play until 1.5 s.
void RunGameOver(double confirmFrom, double confirmUntil) {
    PrepareScreens();
    InkBoxes[0] = {55, 150, 639, 150 + GameFont.height - 1};  // line 1 at rest
    InkBoxes[1] = {180, 220, 639, 220 + GameFont.height - 1}; // the prompt at rest
    HoldKey(kKeyEnter, 0, 1.5);
    HoldKey(kKeyEnter, confirmFrom, confirmUntil);
    ResetTerrain();
    Lives = -1, SetPages(1, 0);
    FillBox(0, 0, 639, 479, 0x303030);
    ShowGameOver();
}

// The text takes a confirm from its 26th frame and comes to rest at its 63rd.
TEST(GameOver, ExplosionDimThenTheRisingTextUntilAConfirm) {
    RunGameOver(1.6, 9);
    ASSERT_EQ(ShotCount, 28 + 26);
    for (int i = 1; i < 20; ++i)
        EXPECT_NE(Shots[i].hash, Shots[i - 1].hash) << i;
    EXPECT_GE(Shots[19].time - Shots[0].time, 19 / 23.0 - 1 / 60.0);
    for (int i = 20; i < 28; ++i)
        EXPECT_EQ(Shots[i].fade, 240 - 15 * (i - 20));
    EXPECT_EQ(std::tuple(NextShot(0, true), CountPaced(0, ShotCount), FadeAlpha),
              std::tuple(28, 26, 255));
    EXPECT_GE(Shots[28].time, 1.5);
    EXPECT_EQ(std::tuple(Shots[28].lines[0], Shots[28].lines[7]), std::tuple(100, 30));
    EXPECT_EQ(PageHash(ScreenImages[CaptureImage].data() + kImageHeaderBytes),
              Shots[ShotCount - 1].hash);
    EXPECT_EQ(Heard, "stop@0 boom@0 ");

    RunGameOver(8.0, 8.1);
    const int frames = CountPaced(0, ShotCount);
    ASSERT_GT(frames, 70);
    auto paced = [&](int k) { return Shots[28 + k - 1]; }; // k-th frame of the text
    EXPECT_EQ(
        std::tuple(paced(39).lines[0], paced(40).lines[0], paced(57).lines[7], paced(58).lines[7]),
        std::tuple(252, 255, 254, 255));
    EXPECT_EQ(paced(1).ink[0] + paced(1).ink[1], 0);
    EXPECT_GT(std::min(paced(63).ink[0], paced(63).ink[1]), 0); // both lines at rest
    for (int k = 64; k <= frames; ++k)
        EXPECT_EQ(paced(k).hash, paced(63).hash) << k;
    EXPECT_GE(paced(frames).time, 8.0);
    EXPECT_LT(paced(frames - 1).time, 8.0);
}

// A confirm held through the fade in counts from the second step.
TEST(Briefing, ConfirmWaitsForTheReleaseAndTheSecondStep) {
    PrepareScreens();
    LevelNumber = 1, AnimCycle6 = 0, FireCooldown = 7; // steps come on frames 5, 13, ...
    HoldKey(kKeyEnter, 0, 0.3);
    HoldKey(kKeyEnter, 0.35, 3.0);
    ShowBriefing();
    ASSERT_EQ(ShotCount, 17 + 13 + 17);
    EXPECT_GE(Shots[0].time, 0.3);
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(Shots[i].fade, std::min(15 * (i + 1), 255));
    EXPECT_EQ(std::tuple(CountPaced(17, 30), Shots[46].fade), std::tuple(13, 0));
    EXPECT_EQ(Shots[30].hash, Shots[29].hash); // the fade out starts from the last frame
    EXPECT_EQ(std::tuple(HeadlessClock() >= kStart + 3.0, FireCooldown), // the craft respawned
              std::tuple(true, 0));
    EXPECT_EQ(Heard, // the menu tune stops before the first mission's tune
              "stop@0 Sound/brief_music.mp3@0 open@11 line@21 line@29 stop@30 "
              "Sound/game_music.mp3@47 ");
}

// The last two lines of each mission show from their step on, flickering.
TEST(Briefing, EveryMissionTicksOncePerStepAndFlickers) {
    for (int mission = 1; mission <= kMissions; ++mission) {
        SCOPED_TRACE(mission);
        PrepareScreens();
        LevelNumber = static_cast<float>(mission), AnimCycle6 = 0;
        const BriefingMission &m = BriefingMissions[mission];
        const BriefingItem *lines = &m.items[static_cast<std::size_t>(m.itemCount - 2)];
        for (int probe = 0; probe <= 1; ++probe) { // a pixel of ink in each
            ClearWorkPage();
            DrawText(lines[probe].x, lines[probe].y, lines[probe].text, GameFont, 2,
                     kTextTransparent);
            for (int y = lines[probe].y; y < lines[probe].y + GameFont.height; ++y)
                for (int x = lines[probe].x; x < 639; ++x)
                    if (static_cast<uint32_t>(ReadPixel(x, y)) == kFontInk) Probes[probe] = {x, y};
        }
        std::array<uint32_t, 3> flicker{}; // at the first probe
        for (std::size_t j = 0; j < 3; ++j) {
            PutImage(0, 0, ScreenImages[BriefingBackground], kPutOpaque, 0);
            DrawTextBlended(lines[0].x, lines[0].y, lines[0].text, GameFont, 2,
                            kBriefingFlicker[j]);
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
        const int last = NextShot(17, false) - 1;
        for (int i = 17, frame = 1; i <= last; ++i, ++frame) {
            for (std::size_t probe = 0; probe <= 1; ++probe) {
                const uint32_t colour = Shots[i].probe[probe];
                if (frame < 5 + 8 * (m.lastStep - 2 + static_cast<int>(probe))) { // before its step
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
        ASSERT_GT(CountPaced(17, last + 1), 8 * m.lastStep);
        if (mission >= 4) {
            EXPECT_EQ(Shots[last].probe[2], kScriptColours[mission == 4 ? 1 : 4]);
            EXPECT_EQ(Shots[last].probe[3], kScriptColours[mission == 4 ? 2 : 3]);
        }
    }
}

// Enter held ends the epilogue at its 151st frame; under Space it comes to
// rest and waits. "THE END" waits for Enter let go, then for full brightness.
TEST(EndGame, TheEpilogueAndTheEndTakeEnterOnly) {
    for (bool held : {true, false}) {
        SCOPED_TRACE(held);
        PrepareScreens();
        FillCapture(0x705030);
        KeyHeld = 1;
        InkBoxes[0] = {280, 210, 400, 210 + GameFont.height - 1}; // THE END
        InkBoxes[1] = {55, 240, 639, 240 + GameFont.height - 1};  // line 10 at rest
        const double release = held ? 12.0 : 14.3;
        HoldKey(kKeyEnter, 0, 1.0);
        HoldKey(kKeySpace, 0, held ? 0 : 14.0);
        HoldKey(kKeyEnter, held ? 1.05 : 14.0, release);
        HoldKey(kKeyEnter, held ? 12.5 : 14.4, held ? 12.6 : 20);
        ShowEndGame();
        EXPECT_EQ(std::tuple(GameCompleted, KeyHeld), std::tuple(1, 0));
        ASSERT_GT(ShotCount, 27);
        EXPECT_GE(Shots[0].time, 1.0);
        for (int i = 0; i < 27; ++i)
            EXPECT_EQ(Shots[i].fade, i < 17 ? std::max(240 - 15 * i, 0) : 15 * (i - 16));
        EXPECT_EQ(Shots[27].lines[0], 100);
        const int closing = NextShot(27, false);
        int theEnd = 27;
        while (theEnd < closing && Shots[theEnd].fade == 150)
            ++theEnd;
        EXPECT_EQ(std::tuple(CountPaced(27, closing), ShotCount - closing, Shots[theEnd].fade,
                             Shots[closing - 1].fade, Shots[theEnd].ink[0] > 0),
                  std::tuple(closing - 27, 17, 165, 255, true));
        EXPECT_GE(Shots[theEnd].time, release);
        EXPECT_EQ(Heard, "stop@0 Sound/end_music.mp3@17 ");
        if (held) {
            EXPECT_EQ(theEnd - 27, 151);
            EXPECT_GE(Shots[closing - 1].time, 12.5);
        } else {
            EXPECT_GT(theEnd - 27, 250);
            EXPECT_LT(Shots[theEnd - 2].time, 14.0);
            EXPECT_GE(Shots[theEnd - 1].time, 14.0);
            EXPECT_EQ(
                std::tuple(Shots[theEnd - 1].ink[1] > 0, Shots[theEnd - 1].hash, closing - theEnd),
                std::tuple(true, Shots[theEnd - 2].hash, 7));
        }
    }
}

} // namespace
} // namespace halvane
