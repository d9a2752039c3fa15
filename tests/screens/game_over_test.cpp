// The game-over sequence: the explosion over the last frame, the dim, the
// rising verdict and its confirm.
#include <gtest/gtest.h>

#include "core/game_state.h"
#include "platform/audio.h"
#include "platform/headless.h"
#include "platform/screen.h"
#include "render/font.h"
#include "screens/game_over.h"
#include "tests/screens/screens_harness.h"
#include "world/terrain.h"

namespace halvane {
namespace {

// The last frame of play: a grey backdrop; the scene draws the terrain over it.
void StartGameOver() {
    PrepareScreens();
    ResetTerrain();
    Lives = -1;
    SetPages(1, 0);
    FillBox(0, 0, 639, 479, 0x303030);
}

TEST(GameOver, ExplosionDimThenTheTextUntilAConfirmFromItsTwentySixthFrame) {
    StartGameOver();
    HoldKey(kKeyEnter, 0, 1.5); // held from play: waited out before the text
    HoldKey(kKeyEnter, 1.6, 9);
    ShowGameOver();

    ASSERT_GT(ShotCount, 28);
    for (int i = 0; i < 20; ++i) {
        EXPECT_FALSE(Shots[i].paced);
        if (i > 0) {
            EXPECT_NE(Shots[i].hash, Shots[i - 1].hash) << i; // it builds up
        }
    }
    // Paced at the game speed (each shown at the display's next refresh).
    EXPECT_GE(Shots[19].time - Shots[0].time, 19 / 23.0 - 1 / 60.0);
    for (int i = 20; i < 28; ++i)
        EXPECT_EQ(Shots[i].fade, 240 - 15 * (i - 20));
    EXPECT_EQ(CountPaced(), 26);
    EXPECT_EQ(CountPaced(), ShotCount - 28);
    EXPECT_GE(Shots[28].time, 1.5);
    // The prompt starts faintest, line 1 at 100.
    EXPECT_EQ(Shots[28].lines[0], 100);
    EXPECT_EQ(Shots[28].lines[7], 30);
    EXPECT_EQ(FadeAlpha, 255);
    EXPECT_EQ(CaptureHash(), Shots[ShotCount - 1].hash);
    ASSERT_GE(SoundCount, 2);
    EXPECT_EQ(Sounds[0].kind, SoundKind::Stop);
    EXPECT_EQ(EffectCount(SfxCraftExplosion), 1);
}

TEST(GameOver, TheTextRisesFadingInAndStopsAtItsPlace) {
    StartGameOver();
    const int height = GameFont.height;
    InkBoxes[0] = {55, 150, 639, 150 + height - 1};  // line 1 at rest
    InkBoxes[1] = {180, 220, 639, 220 + height - 1}; // the prompt at rest
    HoldKey(kKeyEnter, 8.0, 8.1);
    ShowGameOver();

    const int first = FirstPaced();
    ASSERT_GE(first, 0);
    const int frames = CountPaced();
    ASSERT_GT(frames, 70);
    auto paced = [&](int k) { return Shots[first + k - 1]; }; // k-th frame of the text
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
