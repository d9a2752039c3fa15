// The game-over sequence: the explosion over the last frame, the dim, the
// rising verdict and its confirm.
#include <gtest/gtest.h>

#include "core/game_state.h"
#include "core/image_store.h"
#include "platform/audio.h"
#include "platform/screen.h"
#include "render/font.h"
#include "screens/game_over.h"
#include "tests/screens/screens_harness.h"
#include "world/terrain.h"

namespace halvane {
namespace {

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
        EXPECT_NE(Shots[i].hash, Shots[i - 1].hash) << i; // the explosion builds up
    EXPECT_EQ(NextShot(0, true), 28);
    EXPECT_GE(Shots[19].time - Shots[0].time, 19 / 23.0 - 1 / 60.0); // at the game's pace
    for (int i = 20; i < 28; ++i)
        EXPECT_EQ(Shots[i].fade, 240 - 15 * (i - 20));
    EXPECT_EQ(ShotCount - 28, 26);
    EXPECT_EQ(CountPaced(), 26);
    EXPECT_GE(Shots[28].time, 1.5);
    EXPECT_EQ(Shots[28].lines[0], 100); // the prompt starts faintest
    EXPECT_EQ(Shots[28].lines[7], 30);
    EXPECT_EQ(FadeAlpha, 255);
    EXPECT_EQ(PageHash(ScreenImages[CaptureImage].data() + kImageHeaderBytes),
              Shots[ShotCount - 1].hash);
    EXPECT_EQ(Sounds[0].kind, SoundKind::Stop);
    EXPECT_EQ(EffectCount(SfxCraftExplosion), 1);
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

} // namespace
} // namespace halvane
