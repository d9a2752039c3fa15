#include "screens/game_over.h"

#include <algorithm>

#include "core/game_state.h"
#include "core/numbers.h"
#include "platform/audio.h"
#include "platform/timing.h"
#include "render/font.h"
#include "render/terrain_view.h"
#include "screens/level_stats.h"
#include "screens/screen_steps.h"
#include "world/lives.h"

namespace halvane {

namespace {

// The explosion builds up over the frame being drawn: nothing is cleared.
void ExplodeCraft() {
    for (int k = 1; k <= kGameOverBursts; ++k) {
        WaitFrameTime();
        if (k == 1) PlayEffect(SfxCraftExplosion);
        DrawCraftExplosion();
        DrawScene();
        PresentPage();
    }
}

void DimLastFrame() {
    GrabCapture();
    FadeAlpha = 255;
    do {
        DrawFadedCapture();
        FadeAlpha -= kScreenFadeStep;
        PresentPage();
    } while (FadeAlpha >= kGameOverDimUntil);
}

// One frame of the rising text at rise s (before this frame's advance);
// returns the rise after it.
float DrawVerdict(float s) {
    for (int k = 1; k <= kGameOverPromptLine; ++k) {
        LineAlpha[k] = std::min(RoundEven(s + 110 - 10 * k), 255);
    }
    s = std::min(s + kGameOverRise, kGameOverTop);
    for (int k = 1; k <= static_cast<int>(kGameOverText.size()); ++k) {
        const int y = RoundEven(390.0f + 10 * k - s);
        DrawTextBlended(kGameOverTextX, y, kGameOverText[k - 1], GameFont, kTextSpacing,
                        LineAlpha[k]);
    }
    DrawTextBlended(kGameOverPromptX, RoundEven(kGameOverPromptY - s), kConfirmPrompt, GameFont,
                    kTextSpacing, LineAlpha[kGameOverPromptLine]);
    return s;
}

} // namespace

void ShowGameOver() {
    StopMusic();
    ExplodeCraft();
    DimLastFrame();
    WaitConfirmRelease();
    float s = 0;
    for (int k = 1; k <= kGameOverPromptLine; ++k)
        LineAlpha[k] = 0;
    for (;;) {
        BeginSwappedFrame();
        ReadScreenMouse();
        DrawFadedCapture();
        s = DrawVerdict(s);
        EndSwappedFrame();
        if (s > kGameOverConfirmAfter && ConfirmHeld()) break;
    }
    GrabCapture();
    FadeAlpha = 255;
}

} // namespace halvane
