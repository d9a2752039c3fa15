// The statistics screen between levels and its two halves of the level reset.
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

void DirtyTheLevel() {
    Missile[1].state = kSlotActive;
    Ship[5].state = kSlotActive;
    Mine[10].state = kSlotActive;
    MissileCount = ShipCount = MineCount = 1;
    TerrainDepth[8][3] = 99;
    CraftX = 3;
    CraftZ = 2;
    MapPosition = 100;
}

void ExpectLevelReset() {
    EXPECT_EQ(Missile[1].state, kSlotFree);
    EXPECT_EQ(Ship[5].state, kSlotFree);
    EXPECT_EQ(Mine[10].state, kSlotFree);
    EXPECT_EQ(MissileCount + ShipCount + MineCount, 0);
    EXPECT_NE(TerrainDepth[8][3], 99);
    EXPECT_EQ(CraftX, 0);
    EXPECT_EQ(CraftZ, 0);
    EXPECT_EQ(MapPosition, kMapStart);
    EXPECT_EQ(MissedShips, 0);
    EXPECT_EQ(MissedMines, 0);
}

TEST(LevelStats, ANewGameOnlyResetsTheLevel) {
    PrepareScreens();
    DirtyTheLevel();
    MissedShips = 4;
    Lives = -1;
    FadeAlpha = 77;
    HoldKey(kKeyEnter, 0, 1000); // a held confirm would stall any wait
    ShowLevelStats();
    EXPECT_EQ(ShotCount, 0);
    EXPECT_EQ(SoundCount, 0);
    EXPECT_LT(HeadlessClock() - kStart, 0.01);
    EXPECT_EQ(FadeAlpha, 77);
    ExpectLevelReset();
}

TEST(LevelStats, ShowsTheMissedCountsOverTheDimmedFrame) {
    PrepareScreens();
    FillCapture(kGameFrame);
    DirtyTheLevel();
    Lives = 1;
    MissedShips = 0;
    MissedMines = 17;
    HoldKey(kKeyEnter, 0, 0.5); // still held from the level: waited out first
    HoldKey(kKeyEnter, 2.0, 3.0);
    ShowLevelStats();

    // What the screen should show: the frame at 135 with three lines.
    FillCapture(kGameFrame);
    PutImage(0, 0, ScreenImages[CaptureImage], kPutBlend, 135);
    const uint64_t dimmed = WorkPageHash();
    DrawText(250, 220, "You missed 0 ships.", GameFont, 2, kTextTransparent);
    DrawText(250, 230, "You missed 17 mines.", GameFont, 2, kTextTransparent);
    DrawText(200, 250, "Press ENTER or left mouse button", GameFont, 2, kTextTransparent);
    const uint64_t statistics = WorkPageHash();

    ASSERT_GT(ShotCount, 8 + 9);
    EXPECT_GE(Shots[0].time, 0.5);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(Shots[i].fade, 240 - 15 * i);
    EXPECT_NE(Shots[7].hash, dimmed); // drawn at 150, left at 135
    int first = 8;
    int last = first;
    while (last < ShotCount && Shots[last].hash == statistics)
        ++last;
    ASSERT_GT(last, first);
    EXPECT_GE(Shots[last - 1].time, 2.0);
    EXPECT_LT(Shots[last - 2].time, 2.0);
    // The fade out from 135: 9 frames to black.
    ASSERT_EQ(ShotCount - last, 9);
    EXPECT_EQ(Shots[ShotCount - 1].fade, 0);
    EXPECT_EQ(FadeAlpha, 0);
    EXPECT_GE(HeadlessClock() - kStart, 3.0); // waited for the release
    ASSERT_EQ(SoundCount, 2);
    EXPECT_EQ(Sounds[0].slot, &SfxLevelStats);
    EXPECT_EQ(Sounds[0].shotsBefore, 0);
    EXPECT_EQ(Sounds[1].kind, SoundKind::Stop);
    EXPECT_EQ(Sounds[1].shotsBefore, 8);
    ExpectLevelReset();
}

// Seconds from the start at which the statistics screen took a confirm.
double ConfirmedAt() {
    Lives = 0;
    FillCapture(kGameFrame);
    ShowLevelStats();
    for (int i = 8; i < ShotCount; ++i)
        if (Shots[i].fade < 135) return Shots[i].time;
    return -1;
}

TEST(LevelStats, SpaceAndTheLeftButtonAloneConfirm) {
    PrepareScreens();
    HoldKey(kKeySpace, 1.0, 1.1);
    EXPECT_NEAR(ConfirmedAt(), 1.0, 0.05);

    PrepareScreens();
    HoldButtons(kMouseLeft | kMouseMiddle, 0.5, 0.9); // two buttons are no click
    HoldButtons(kMouseLeft, 1.0, 1.1);
    EXPECT_NEAR(ConfirmedAt(), 1.0, 0.05);
}

} // namespace
} // namespace halvane
