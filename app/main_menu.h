// main_menu.h -- the hub of the program: the menu with LAUNCH, OPTIONS, HELP
// and QUIT, the launch of a game, and the one way out, QuitGame.
#pragma once

#include <array>

namespace halvane {

constexpr int kMenuItems = 4;
constexpr int kMenuLaunch = 1;
constexpr int kMenuOptions = 2;
constexpr int kMenuHelp = 3;
constexpr int kMenuQuit = 4;
constexpr int kMenuItemX = 290;
constexpr int kMenuItemTop = 130; // item i stands at y 130 + 10 (i - 1)
constexpr int kMenuItemSpacing = 4;
constexpr std::array<const char *, kMenuItems> kMenuTexts{"LAUNCH", "OPTIONS", "HELP", "QUIT"};
// TargetFps by OptGameSpeed 1..4: SLOW, NORMAL, FAST, TURBO.
constexpr std::array<int, 4> kGameSpeedFps{13, 23, 33, 45};

// Entered once by start-up; fades the menu picture in and runs the menu for
// the rest of the program. Never returns: the program ends in QuitGame.
[[noreturn]] void MainMenu();

// The launch sequence of a new game (menu item LAUNCH): resets the world and
// the craft, sets TargetFps from OptGameSpeed and loads the first level with
// its briefing.
void LaunchGame();

// Fades the menu picture out and ends the program with exit code 0.
[[noreturn]] void QuitGame();

} // namespace halvane
