// The end of the game: the fade of the last frame, the epilogue and "THE END",
// with Enter and the left button only.
#include <gtest/gtest.h>

#include "core/game_state.h"
#include "platform/audio.h"
#include "render/font.h"
#include "screens/end_game.h"
#include "tests/screens/screens_harness.h"

namespace halvane {
namespace {

void StartEndGame() {
    PrepareScreens();
    FillCapture(0x705030); // the work page holds the last frame of play
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
    for (int i = 0; i < 17; ++i)
        EXPECT_EQ(Shots[i].fade, std::max(240 - 15 * i, 0));
    for (int i = 17; i < 27; ++i)
        EXPECT_EQ(Shots[i].fade, 15 * (i - 16));
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
    ASSERT_GE(SoundCount, 2);
    EXPECT_EQ(Sounds[0].kind, SoundKind::Stop);
    EXPECT_STREQ(Sounds[1].music, "Sound/end_music.mp3");
    EXPECT_EQ(Sounds[1].shotsBefore, 17);
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

} // namespace
} // namespace halvane
