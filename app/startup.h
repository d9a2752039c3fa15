// startup.h -- the program's entry: configuration, screen, pictures, font,
// best score, tables and options, then the main menu, which never returns.
#pragma once

namespace halvane {

// Called by main; never returns in the game (it ends in the main menu).
void StartUp();

} // namespace halvane
