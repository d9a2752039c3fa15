#include "screens/end_game.h"

#include <algorithm>

#include "core/game_state.h"
#include "core/image_store.h"
#include "core/numbers.h"
#include "platform/audio.h"
#include "platform/screen.h"
#include "platform/timing.h"
#include "render/font.h"
#include "screens/screen_steps.h"

namespace halvane {

namespace {

constexpr int kEndPictureFadeUntil = 141; // fade in at 0..135, leaving FadeAlpha 150

void DrawEndPicture(int opacity) {
    ClearWorkPage();
    PutImage(0, 0, ScreenImages[EndGameBackground], kPutBlend, opacity);
}

void FadeInEndPicture() {
    do {
        DrawEndPicture(FadeAlpha);
        FadeAlpha += kScreenFadeStep;
        PresentPage();
    } while (FadeAlpha < kEndPictureFadeUntil);
}

// The epilogue rises one pixel a frame, each line fading in from the bottom.
void ScrollEpilogue() {
    float s = 0;
    for (int k = 1; k <= kEpilogueLines; ++k)
        LineAlpha[k] = 0;
    for (;;) {
        BeginSwappedFrame();
        ReadScreenMouse();
        DrawEndPicture(kEpilogueBackdrop);
        for (int k = 1; k <= kEpilogueLines; ++k) {
            LineAlpha[k] = std::min(RoundEven(s + 110 - 10 * k), 255);
        }
        s = std::min(s + 1, kEpilogueTop);
        for (int k = 1; k <= kEpilogueLines; ++k) {
            const char *line = kEpilogueText[static_cast<std::size_t>(k - 1)];
            if (line == nullptr) continue;
            DrawTextBlended(kEpilogueX, RoundEven(390.0f + 10 * k - s), line, GameFont,
                            kTextSpacing, LineAlpha[k]);
        }
        EndSwappedFrame();
        if (s > kEpilogueConfirmAfter && EnterOrClickHeld()) return;
    }
}

// "THE END" while the picture brightens from 150 to 255.
void ShowTheEnd() {
    for (;;) {
        BeginSwappedFrame();
        ReadScreenMouse();
        DrawEndPicture(FadeAlpha);
        DrawText(kTheEndX, kTheEndY, "THE END", GameFont, kTheEndSpacing, kTextTransparent);
        FadeAlpha = std::min(FadeAlpha + kScreenFadeStep, 255);
        EndSwappedFrame();
        if (FadeAlpha == 255 && EnterOrClickHeld()) return;
    }
}

} // namespace

void ShowEndGame() {
    GameCompleted = 1;
    GrabCapture();
    StopMusic();
    WaitEnterClickRelease();
    FadeAlpha = 255;
    FadeCaptureOut();
    PlayMusic("Sound/end_music.mp3");
    FadeInEndPicture();
    ScrollEpilogue();
    KeyHeld = 0;
    WaitEnterClickRelease();
    ShowTheEnd();
    GrabCapture();
    FadeCaptureOut();
}

} // namespace halvane
