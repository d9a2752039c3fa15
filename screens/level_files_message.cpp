#include "screens/level_files_message.h"

#include <cstdint>
#include <string_view>

#include "platform/input.h"
#include "platform/screen.h"
#include "platform/timing.h"
#include "render/font.h"
#include "world/level_file.h"

namespace halvane {

namespace {

constexpr std::string_view kNotice[] = {
    "Your level files are either corrupt or missing.",
    "Please replace your files with originals.",
    "Gameplay will be over a random terrain untill files are replaced.",
};
constexpr int kLineGap = 4; // pixels between two lines of the notice

bool ConfirmPressed() {
    int32_t x = 0;
    int32_t y = 0;
    int32_t wheel = 0;
    int32_t buttons = 0;
    const bool mouse = ReadMouse(x, y, wheel, buttons);
    return KeyDown(kKeyEnter) || KeyDown(kKeySpace) || (mouse && buttons == kMouseLeft);
}

void DrawNotice() {
    ClearWorkPage();
    int y = 0;
    for (std::string_view line : kNotice) {
        DrawText(0, y, line, GameFont, kTextSpacing, kTextTransparent);
        y += GameFont.height + kLineGap;
    }
    PresentPage();
}

} // namespace

void ShowLevelFilesMessage() {
    if (RandomTerrain == 0) {
        return;
    }
    while (KeyDown(kKeyEnter) || KeyDown(kKeySpace)) {
        PresentPage();
    }
    do {
        DrawNotice();
    } while (!ConfirmPressed());
    // The confirming key must not also confirm the first briefing.
    while (ConfirmPressed()) {
        PresentPage();
    }
}

} // namespace halvane
