// The statistics screen between levels and the level reset around it.
#include <gtest/gtest.h>

#include "core/game_state.h"
#include "core/image_store.h"
#include "platform/audio.h"
#include "platform/headless.h"
#include "platform/screen.h"
#include "render/font.h"
#include "screens/level_stats.h"
#include "tests/screens/screens_harness.h"
#include "world/craft.h"
#include "world/objects.h"
#include "world/terrain.h"

namespace halvane {
namespace {

constexpr uint32_t kGameFrame = 0x608090;

// Runs the screen over a used level and checks the level was reset.
void RunOverUsedLevel() {
    Ship[5].state = Mine[10].state = kSlotActive;
    ShipCount = MineCount = 1;
    TerrainDepth[8][3] = 99;
    CraftX = 3;
    MapPosition = 100;
    ShowLevelStats();
    EXPECT_EQ(Ship[5].state, kSlotFree);
    EXPECT_EQ(Mine[10].state, kSlotFree);
    EXPECT_EQ(ShipCount + MineCount, 0);
    EXPECT_NE(TerrainDepth[8][3], 99);
    EXPECT_EQ(CraftX, 0);
    EXPECT_EQ(MapPosition, kMapStart);
    EXPECT_EQ(MissedShips + MissedMines, 0);
}

TEST(LevelStats, ANewGameOnlyResetsTheLevel) {
    PrepareScreens();
    MissedShips = 4;
    Lives = -1;
    HoldKey(kKeyEnter, 0, 1000); // a held confirm would stall any wait
    RunOverUsedLevel();
    EXPECT_EQ(ShotCount + SoundCount, 0);
    EXPECT_LT(HeadlessClock() - kStart, 0.01);
}

TEST(LevelStats, ShowsTheMissedCountsOverTheDimmedFrame) {
    PrepareScreens();
    FillCapture(kGameFrame);
    Lives = 1;
    MissedMines = 17;
    HoldKey(kKeyEnter, 0, 0.5); // still held from the level: waited out first
    HoldKey(kKeyEnter, 2.0, 3.0);
    RunOverUsedLevel();

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
    ASSERT_EQ(SoundCount, 2);
    EXPECT_EQ(Sounds[0].slot, &SfxLevelStats);
    EXPECT_EQ(Sounds[1].kind, SoundKind::Stop);
    EXPECT_EQ(Sounds[1].shotsBefore, 8);
}

TEST(LevelStats, SpaceAndTheLeftButtonAloneConfirm) {
    for (bool space : {true, false}) {
        PrepareScreens();
        if (space) HoldKey(kKeySpace, 1.0, 1.1);
        HoldButtons(kMouseLeft | kMouseMiddle, 0.5, 0.9); // two buttons are no click
        if (!space) HoldButtons(kMouseLeft, 1.0, 1.1);
        Lives = 0;
        FillCapture(kGameFrame);
        ShowLevelStats();
        const int out = ShotCount - 9;
        ASSERT_GT(out, 8);
        EXPECT_NEAR(Shots[out].time, 1.0, 0.05) << space;
        EXPECT_EQ(Shots[out].fade, 120);
    }
}

} // namespace
} // namespace halvane
