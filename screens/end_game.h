// end_game.h -- the end-of-game epilogue. LoadNextLevel calls it once the
// fifth level is completed (LevelNumber 6).
#pragma once

#include <array>

namespace halvane {

constexpr int kEpilogueLines = 11; // LineAlpha slots; 3, 6 and 9 stay blank
constexpr int kEpilogueX = 55;
constexpr int kEpilogueBackdrop = 150; // opacity of the end picture behind the text
constexpr float kEpilogueTop = 250;    // rise at which the text stops
constexpr float kEpilogueConfirmAfter = 150;
constexpr int kTheEndX = 280;
constexpr int kTheEndY = 210;
constexpr int kTheEndSpacing = 4;
// Line k stands at 390 + 10 k before it rises; nullptr for the blank lines.
constexpr std::array<const char *, kEpilogueLines> kEpilogueText{
    "You have done it, you have destroyed the aliens!",
    "You have saved your nation and probably your world from invasion.",
    nullptr,
    "As you head to the portal that will take you back to your world",
    "you receive a transmission from mission control.",
    nullptr,
    "'You have done it! When you get back you are probably going to get",
    "every medal we have! Can't wait for your return, enjoy your trip!'",
    nullptr,
    "You finally feel relief and relaxation, you don't need to fight",
    "anymore."};

// Sets GameCompleted, fades the last game frame out, fades the end picture in
// to 135 with the end tune, scrolls the epilogue up (a confirm counts from
// its 151st frame), shows "THE END" while the picture brightens to 255 and
// fades everything out. Enter or the left button confirm, Space does not.
// Returns with FadeAlpha 0; writes LineAlpha 1..11 and KeyHeld (0).
void ShowEndGame();

} // namespace halvane
