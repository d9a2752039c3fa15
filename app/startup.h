// startup.h -- the program's entry: configuration, screen, pictures, best
// score, tables and options, then the title picture until the menu exists.
#pragma once

// The angle tables and FillAngleTables live with the craft models.
#include "render/models.h"

namespace halvane {

// The screen mode (0 window, 1 full screen) and colour depth that ReadSetup
// takes from Data/setup.dat.
extern float SetupScreenFlags;
extern float SetupColourDepth;
// Set by main from the command line before StartUp: -1 keeps what
// Data/setup.dat says, any other value replaces it for this run only (the
// file is never rewritten).
extern int ScreenModeOverride;
extern int ColourDepthOverride;

// Called by main. Reads Data/setup.dat, opens the screen (no display: a
// message on stderr and exit code 1), loads the pictures into ScreenImages and
// Sprites, reads HiScore, fills the angle tables and sets the options, then
// enters the main menu, which never returns.
void StartUp();

// Called by StartUp, each step of it in turn; tests call them one by one.
void ReadSetup();
void LoadPictures();
void SetOptionDefaults();

} // namespace halvane
