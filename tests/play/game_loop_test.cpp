// RunGame from its first frame to the menu: a lost life, the Esc prompt,
// screenshots and the frame-rate read-out on the virtual clock.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/game_loop.h"
#include "core/game_state.h"
#include "core/image_store.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "render/models.h"
#include "tests/files/temp_dir.h"
#include "world/craft.h"
#include "world/level.h"
#include "world/missiles.h"
#include "world/terrain.h"

namespace halvane {
namespace {

// The pilot holds keys by plan and watches the game; it writes only its own
// variables.
struct KeyHold {
    int code;
    double from, until; // seconds after Start
};
double Start = 100;
std::array<KeyHold, 8> Plan;
int PlanSteps = 0;
double WatchFrom = 1e9, WatchUntil = 0;
int Watched = 0;
bool WorldStood = true, PromptDimmed = true;
float SeenMap = 0, SeenScroll = 0, SeenCraftY = 0;
double ReadFpsAt = 1e9;
int32_t FirstFps = -1, FpsRead = -1;
int ExplosionPages = 0; // presented pages that show both the green ground and red spikes

void TestPilot(double now, InputState &state) {
    const double t = now - Start;
    if (t > 60) throw ProgramEnded{99}; // a game that never comes back fails, not hangs
    state.keys.fill(false);
    state.mouseX = 310;
    state.mouseY = 4;
    for (int i = 0; i < PlanSteps; ++i)
        if (t >= Plan[i].from && t < Plan[i].until) state.keys[Plan[i].code] = true;
    if (t >= WatchFrom && t < WatchUntil) {
        if (Watched++ == 0) {
            SeenMap = MapPosition;
            SeenScroll = ScrollOffset;
            SeenCraftY = CraftY;
        }
        WorldStood &= MapPosition == SeenMap && ScrollOffset == SeenScroll && CraftY == SeenCraftY;
        PromptDimmed &= FadeAlpha == 135;
    }
    if (FirstFps < 0) FirstFps = MeasuredFps; // the first poll follows the first count
    if (FpsRead < 0 && t >= ReadFpsAt) FpsRead = MeasuredFps;
}

void CountExplosionPages(const Page &page) {
    bool ground = false, spikes = false;
    for (int i = 0; i < 640 * 480; ++i) {
        const uint8_t *p = page.pixels + 4 * i;
        const uint32_t rgb = p[0] | p[1] << 8 | p[2] << 16;
        ground |= rgb == 0x00C000;
        spikes |= rgb == 0xFF0000;
    }
    ExplosionPages += ground && spikes;
}

// Flat green ground at depth 7 on a white backdrop, the craft as the launch
// leaves it (the menu picture is white too), then RunGame with the keys of
// `keys`, back to the menu picture faded in up to 240.
void PlayGame(double start, int fps, float shield, std::initializer_list<KeyHold> keys) {
    OpenOffscreenPages(32);
    HeadlessSetClock(Start = start);
    SetPages(1, 0);
    FillBox(0, 0, 639, 479, 0xFFFFFF);
    GrabImage(0, 0, 639, 479, ScreenImages[MenuBackground]);
    GrabImage(0, 0, 639, 479, ScreenImages[LevelBackground1]);
    CraftModelScale = 0.1f;
    FillAngleTables();
    BuildCraftModels();
    BuildMineModel();
    BuildMissileModel();
    for (int row = kMapFirstRow; row <= kMapLastRow; ++row)
        for (int k = 1; k <= 30; ++k)
            LevelMap[k][row] = k <= 15 ? 7 : 3;
    ResetForLevel();
    SpeedFactor = LevelNumber = OptBackground = OptAltitudeMeter = 1;
    MissileSide = 0.5f;
    LevelBackdrop = LevelBackground1;
    OptControls = kMouseControls;
    TargetFps = fps;
    Lives = 2;
    Shield = shield;
    CraftRoll = CraftPitch = 4;
    CraftY = 2;
    PlanSteps = 0;
    for (const KeyHold &k : keys)
        Plan[PlanSteps++] = k;
    UsePilot(TestPilot);
    ASSERT_EQ(HeadlessRun(RunGame), 0);
    EXPECT_EQ(FadeAlpha, 255);
    EXPECT_EQ(static_cast<uint32_t>(ReadPixel(320, 240)), 0xF0F0F0u);
}

class GameLoop : public TempDirTest {};

// One game: a life lost at once explodes over the scene and play goes on; Esc
// then N resumes with the world as it stood; S held or tapped saves one
// picture per press; Esc then Y abandons the game.
TEST_F(GameLoop, ALifeLostThePauseAndScreenshotsThenAbandoned) {
    WatchFrom = 1.5;
    WatchUntil = 2.9;
    ScreenshotNumber = 1;
    HeadlessSetObserver(CountExplosionPages);
    PlayGame(100, 23, 0.5f,
             {{kKeyEsc, 1.0, 1.2},
              {kKeyN, 3.0, 3.1},
              {kKeyS, 5.0, 5.5}, // held over many frames
              {kKeyS, 6.0, 6.1},
              {kKeyEsc, 7.0, 7.2},
              {kKeyY, 8.0, 8.1}});
    HeadlessSetObserver(nullptr);
    EXPECT_EQ(ExplosionPages, 8);
    EXPECT_EQ(Lives, 1);
    EXPECT_EQ(Shield, 1000);
    EXPECT_GT(Watched, 10);
    EXPECT_TRUE(WorldStood);
    EXPECT_TRUE(PromptDimmed);
    EXPECT_GT(MapPosition, SeenMap + 4); // the seconds after N were played
    EXPECT_EQ(ScreenshotNumber, 3);
    EXPECT_TRUE(std::filesystem::exists("screenshot2.bmp"));
    EXPECT_FALSE(std::filesystem::exists("screenshot3.bmp"));
}

TEST_F(GameLoop, MeasuredRateHoldsEachGameSpeed) {
    double start = 100;
    for (const int fps : {13, 23, 33, 45}) {
        start += 10;
        FirstFps = FpsRead = -1;
        ReadFpsAt = 3.5;
        PlayGame(start, fps, 1000, {{kKeyEsc, 4.0, 4.1}, {kKeyY, 4.5, 4.6}});
        EXPECT_EQ(FirstFps, 1) << fps;
        EXPECT_NEAR(FpsRead, fps, 1) << fps;
    }
}

} // namespace
} // namespace halvane
