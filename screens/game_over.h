// game_over.h -- the game-over sequence. LoseLife calls it when the last life
// is lost, from inside the frame's world update.
#pragma once

#include <array>

namespace halvane {

constexpr int kGameOverBursts = 20;          // explosion frames over the last game frame
constexpr int kGameOverDimUntil = 150;       // the fade down ends below this: at 135
constexpr float kGameOverRise = 4;           // pixels the text rises per frame
constexpr float kGameOverTop = 250;          // where the rise stops
constexpr float kGameOverConfirmAfter = 100; // rise after which a confirm counts
constexpr int kGameOverTextX = 55;
constexpr int kGameOverPromptX = 180;
constexpr int kGameOverPromptY = 470;
constexpr int kGameOverPromptLine = 8; // LineAlpha slot of the prompt
constexpr std::array<const char *, 6> kGameOverText{
    "You have failed your mission due to your lack of competence.",
    "You have brought your nation to a dark and depressing age",
    "that will never end.",
    "Being no longer accepted by your comrades, you have been condemned",
    "to the bowels of the sewers. There you will live on the corpses of",
    "rats, trying to think of how you could have done better."};

// The craft explodes over the last game frame for 20 paced frames, the
// picture dims to 135, and the verdict rises from the bottom, each line
// fading in, until Enter, Space or the left button (taken from the 26th
// frame of the text on). Returns with the last picture in CaptureImage and
// FadeAlpha 255 for the game loop's closing fade. Writes LineAlpha 1..8.
void ShowGameOver();

} // namespace halvane
