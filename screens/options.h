// options.h -- the options screen, reached from the main menu's OPTIONS item:
// six settings and GO BACK over the dimmed menu picture. Also the two fades
// it shares with the help screen.
#pragma once

#include <array>

namespace halvane {

constexpr int kOptionItems = 7; // six settings and GO BACK
constexpr int kOptionGoBack = 7;
constexpr int kOptionX = 250;
constexpr int kOptionTop = 120;  // item i stands at y 120 + 10 (i - 1)
constexpr int kDimmedMenu = 135; // opacity of the menu picture behind the screen
constexpr std::array<const char *, kOptionItems> kOptionLabels{
    "CONTROLS: ",     "BACKGROUND: ",     "GAME SPEED: ", "SFX VOLUME: ",
    "MUSIC VOLUME: ", "ALTITUDE METER: ", "GO BACK"};

// Called by the main menu. Returns with MenuSelection 2 (OPTIONS), KeyHeld 1
// and FadeAlpha 255, the menu picture fully shown. Changes the Opt* settings.
void ShowOptions();

// The text of item `item`'s current value ("MOUSE", "25 %", ...); empty for
// GO BACK. Reads the Opt* settings.
const char *OptionValueText(int item);

// Fades the menu picture down from 255 to 150 in 8 presented frames, leaving
// FadeAlpha 135. Used by the options and help screens on entry.
void DimMenuPicture();

// Grabs the work page into CaptureImage, then cross-fades from it to the menu
// picture in 8 presented frames, leaving FadeAlpha 255. Used by the options
// and help screens on leaving.
void CrossFadeToMenu();

} // namespace halvane
