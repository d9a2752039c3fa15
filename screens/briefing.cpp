#include "screens/briefing.h"

#include <algorithm>
#include <cmath>

#include "core/game_state.h"
#include "core/image_store.h"
#include "core/numbers.h"
#include "platform/audio.h"
#include "platform/image_file.h"
#include "platform/input.h"
#include "platform/random.h"
#include "platform/screen.h"
#include "platform/timing.h"
#include "render/font.h"
#include "screens/briefing_texts.h"
#include "screens/screen_steps.h"
#include "world/lives.h"

namespace halvane {

namespace {

// The mission of LevelNumber, or nullptr when it names none.
const BriefingMission *CurrentMission() {
    const int level = RoundEven(LevelNumber);
    if (static_cast<float>(level) != LevelNumber || !BriefingMissions.Contains(level)) {
        return nullptr;
    }
    return &BriefingMissions[level];
}

void FadeInBackground() {
    FadeAlpha = 0;
    ClearWorkPage();
    do {
        ClearWorkPage();
        PutImage(0, 0, ScreenImages[BriefingBackground], kPutBlend, FadeAlpha);
        FadeAlpha += kScreenFadeStep;
        if (FadeAlpha == kBriefingOpenSoundAt) PlayEffect(SfxBriefingOpen);
        FadeAlpha = std::min(FadeAlpha, 255);
        PresentPage();
    } while (FadeAlpha != 255);
}

void DrawItems(const BriefingMission &mission, float steps, int alpha) {
    for (int i = 0; i < mission.itemCount; ++i) {
        const BriefingItem &item = mission.items[i];
        if (static_cast<float>(item.step) > steps) continue;
        if (item.text != nullptr) {
            DrawTextBlended(item.x, item.y, item.text, GameFont, kTextSpacing, alpha);
        } else {
            PutImage(static_cast<float>(item.x), static_cast<float>(item.y), Sprites[item.sprite],
                     kPutOpaque, 0);
        }
    }
}

// One press of S gives one file; the briefing waits here while S is held.
void ScreenshotKey() {
    if (!KeyDown(kKeyS)) return;
    TakeScreenshot();
    ScreenshotNumber += 1;
    while (KeyDown(kKeyS)) {
    }
}

// Reveals the transmission until a confirm from step 2 on.
void RunTransmission(const BriefingMission *mission) {
    float steps = 0;
    for (;;) {
        BeginSwappedFrame();
        ClearWorkPage();
        PutImage(0, 0, ScreenImages[BriefingBackground], kPutOpaque, 0);
        AnimCycle6 = (AnimCycle6 & 7) + 1;
        if (AnimCycle6 == kBriefingStepFrame) {
            steps += 1;
            if (mission != nullptr && steps <= static_cast<float>(mission->lastStep)) {
                PlayEffect(SfxBriefingLine);
            }
        }
        const int pick = static_cast<int>(std::floor(RandomUnit() * 3));
        const int alpha = kBriefingFlicker[static_cast<std::size_t>(std::clamp(pick, 0, 2))];
        ReadScreenMouse();
        if (mission != nullptr) DrawItems(*mission, steps, alpha);
        EndSwappedFrame();
        ScreenshotKey();
        if (steps > 1 && ConfirmHeld()) return;
    }
}

} // namespace

void ShowBriefing() {
    WaitConfirmRelease();
    // The menu tune is still playing before the first mission.
    if (LevelNumber == 1) StopMusic();
    PlayMusic("Sound/brief_music.mp3");
    FadeInBackground();
    RunTransmission(CurrentMission());
    StopMusic();
    GrabCapture();
    FadeAlpha = 255;
    FadeCaptureOut();
    WaitConfirmRelease();
    PlayMusic("Sound/game_music.mp3");
    RespawnCraft();
}

} // namespace halvane
