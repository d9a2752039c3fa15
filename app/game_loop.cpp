#include "app/game_loop.h"

#include <algorithm>

#include "core/game_state.h"
#include "core/image_store.h"
#include "core/numbers.h"
#include "platform/audio.h"
#include "platform/image_file.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "platform/timing.h"
#include "render/font.h"
#include "render/terrain_view.h"
#include "screens/hiscore_check.h"
#include "world/craft.h"
#include "world/level.h"
#include "world/terrain.h"
#include "world/world_update.h"

namespace halvane {

int32_t FpsSecondMark = 0;

namespace {

constexpr float kScreenRight = kScreenWidth - 1;
constexpr float kScreenBottom = kScreenHeight - 1;

void GrabFrame() {
    GrabImage(0, 0, kScreenRight, kScreenBottom, ScreenImages[CaptureImage]);
}

// The full-screen picture in `slot` over black at opacity FadeAlpha.
void ShowFaded(int slot) {
    ClearWorkPage();
    PutImage(0, 0, ScreenImages[slot], kPutBlend, FadeAlpha);
}

void DrawBackground() {
    if (OptBackground == 0) {
        ClearWorkPage();
    } else if (OptBackground == 1 && ScreenImages.Contains(LevelBackdrop)) {
        PutImage(0, 0, ScreenImages[LevelBackdrop], kPutOpaque, 0);
    }
}

// One press gives one file; the game waits here while S is held.
void ScreenshotKey() {
    if (!KeyDown(kKeyS)) return;
    TakeScreenshot();
    ScreenshotNumber += 1;
    while (KeyDown(kKeyS)) {
    }
}

void FadeInMenu() {
    FadeAlpha = 0;
    do {
        ShowFaded(MenuBackground);
        FadeAlpha = std::min(FadeAlpha + kFadeStep, 255);
        PresentPage();
    } while (FadeAlpha != 255);
}

// Per-frame counters: the blink cycles and the frame-rate count.
void CountFrame(float &frameCount) {
    AnimCycle6 = AnimCycle6 % 6 + 1;
    AnimCycle20 = AnimCycle20 % 20 + 1;
    frameCount += 1;
    const double now = ClockSeconds();
    if (now > static_cast<double>(FpsSecondMark) + 1) {
        MeasuredFps = RoundEven(frameCount);
        frameCount = 0;
        FpsSecondMark = RoundEven(now);
    }
}

// The Esc prompt over the frame just drawn; true when the player chose Y.
bool AskAbort() {
    GrabFrame();
    FadeAlpha = 255;
    do {
        ShowFaded(CaptureImage);
        FadeAlpha -= kFadeStep;
        PresentPage();
    } while (FadeAlpha >= kPauseDimAlpha);
    for (;;) {
        ShowFaded(CaptureImage);
        DrawText(kPromptX, kPromptY, kPromptText, GameFont, kTextSpacing, kTextTransparent);
        PresentPage();
        // N first: N and Y together resume.
        if (KeyDown(kKeyN)) {
            ClearWorkPage();
            do {
                ShowFaded(CaptureImage);
                FadeAlpha = std::min(FadeAlpha + kFadeStep, 255);
                PresentPage();
            } while (FadeAlpha != 255);
            return false;
        }
        if (KeyDown(kKeyY)) return true;
    }
}

// Fades CaptureImage out from FadeAlpha down to 0.
void FadeOutCapture() {
    do {
        ShowFaded(CaptureImage);
        FadeAlpha = std::max(FadeAlpha - kFadeStep, 0);
        PresentPage();
    } while (FadeAlpha != 0);
}

// What ended the frame loop.
enum class GameEnd { Lost, Aborted, Completed };

// Frames until the game ends one way or another. Returns how.
GameEnd PlayFrames() {
    float frameCount = 0;
    for (;;) {
        // The page drawn last frame becomes visible now.
        SetPages(WorkPage, WorkPage ^ 1);
        DrawBackground();
        Invulnerable = std::max(Invulnerable - 1, 0);
        CountFrame(frameCount);
        UpdateWorld();
        // The last life went in the world update, which ran the game-over
        // sequence; it left its last picture in CaptureImage.
        if (Lives < 0) return GameEnd::Lost;
        DrawScene();
        DrawCraftLayer();
        AdvanceTerrain();
        if (EndPhase > 0) {
            // May complete the level, with statistics and the next briefing
            // (or the end of the game) inside this frame.
            RunEndPhase();
            if (GameCompleted == 1) return GameEnd::Completed;
        }
        CheckEndStructure();
        UpdateCraft();
        ShiftTerrain();
        WorkPage ^= 1;
        WaitFrame();
        ScreenshotKey();
        if (KeyDown(kKeyEsc) && AskAbort()) return GameEnd::Aborted;
        if (Lives < 0) {
            GrabFrame();
            return GameEnd::Lost;
        }
    }
}

} // namespace

void RunGame() {
    const GameEnd end = PlayFrames();
    // A completed game ends on the end-of-game screen, without a fade of play.
    if (end != GameEnd::Completed) FadeOutCapture();
    StopMusic();
    // An abandoned game never makes a best score.
    if (end != GameEnd::Aborted) CheckHiScore();
    FadeInMenu();
}

} // namespace halvane
