// help.h -- the help screen, reached from the main menu's HELP item: a page
// about the game and its controls over the dimmed menu picture.
#pragma once

#include <array>

namespace halvane {

struct HelpLine {
    int x;
    int y;
    const char *text;
};

constexpr int kHelpLines = 30; // 29 lines of text and the closing prompt
extern const std::array<HelpLine, kHelpLines> HelpText;

// Called by the main menu; returns on Enter or Space with FadeAlpha 255 and
// MenuSelection 1, the menu picture fully shown.
void ShowHelp();

} // namespace halvane
