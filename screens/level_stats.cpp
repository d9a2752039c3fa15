#include "screens/level_stats.h"

#include <array>

#include "core/game_state.h"
#include "platform/audio.h"
#include "platform/timing.h"
#include "render/font.h"
#include "screens/screen_steps.h"
#include "world/level.h"

namespace halvane {

namespace {

constexpr int kDimUntil = 140; // the fade down stops once FadeAlpha falls below this

void DrawStatistics() {
    std::array<char, 64> line{};
    DrawFadedCapture();
    DrawText(kStatsX, kStatsShipsY, JoinNumber(line, "You missed ", MissedShips, " ships."),
             GameFont, kTextSpacing, kTextTransparent);
    DrawText(kStatsX, kStatsMinesY, JoinNumber(line, "You missed ", MissedMines, " mines."),
             GameFont, kTextSpacing, kTextTransparent);
    DrawText(kStatsPromptX, kStatsPromptY, kConfirmPrompt, GameFont, kTextSpacing,
             kTextTransparent);
}

void RunStatisticsScreen() {
    WaitConfirmRelease();
    PlayEffect(SfxLevelStats);
    // The last game frame sinks to 135 behind the text: 255, 240, ..., 150.
    FadeAlpha = 255;
    do {
        DrawFadedCapture();
        FadeAlpha -= kScreenFadeStep;
        PresentPage();
    } while (FadeAlpha >= kDimUntil);
    StopMusic();
    do {
        ReadScreenMouse();
        DrawStatistics();
        PresentPage();
    } while (!ConfirmHeld());
    // The dimmed frame with its text fades out from 135 to black.
    GrabCapture();
    FadeCaptureOut();
    WaitConfirmRelease();
}

} // namespace

void ShowLevelStats() {
    ResetWorldForLevel();
    if (Lives > -1) RunStatisticsScreen();
    ResetCraftForLevel();
}

} // namespace halvane
