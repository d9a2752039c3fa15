#include "screens/hiscore_check.h"

#include <algorithm>
#include <array>

#include "core/game_state.h"
#include "core/numbers.h"
#include "platform/audio.h"
#include "platform/screen.h"
#include "platform/timing.h"
#include "render/font.h"
#include "screens/hiscore_file.h"
#include "screens/level_stats.h"
#include "screens/screen_steps.h"

namespace halvane {

namespace {

void DrawCongratulation() {
    std::array<char, 64> line{};
    ClearWorkPage();
    DrawTextBlended(kCongratulationX, kCongratulationY, "Congratulations! You beat the hi-score!",
                    GameFont, kTextSpacing, FadeAlpha);
    DrawTextBlended(kNewScoreX, kNewScoreY, JoinNumber(line, "The new hi-score is ", Score, "."),
                    GameFont, kTextSpacing, FadeAlpha);
    DrawTextBlended(kCongratulationPromptX, kCongratulationPromptY, kConfirmPrompt, GameFont,
                    kTextSpacing, FadeAlpha);
}

} // namespace

void CheckHiScore() {
    WaitEnterClickRelease();
    StopMusic();
    if (!(static_cast<double>(Score) > static_cast<double>(HiScore))) return;
    // Written before anything is shown, so the new best survives the program
    // being ended on the congratulation screen. A failed write loses nothing:
    // the old file stays whole.
    WriteHiScoreFile(Score);
    HiScore = RoundEven(Score);
    do {
        ReadScreenMouse();
        FadeAlpha = std::min(FadeAlpha + kScreenFadeStep, 255);
        DrawCongratulation();
        PresentPage();
    } while (!(FadeAlpha > kCongratulationConfirmAbove && EnterOrClickHeld()));
    do {
        FadeAlpha = std::max(FadeAlpha - kScreenFadeStep, 0);
        DrawCongratulation();
        PresentPage();
    } while (FadeAlpha != 0);
    WaitEnterClickRelease();
}

} // namespace halvane
