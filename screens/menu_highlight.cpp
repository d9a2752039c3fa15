#include "screens/menu_highlight.h"

#include "core/game_state.h"
#include "platform/input.h"

namespace halvane {

void LightMenuItems(int items) {
    for (int i = 1; i <= items; ++i)
        LineAlpha[i] = kItemDimmed;
    LineAlpha[MenuSelection] = kItemHighlight;
}

void MoveMenuHighlight(int items) {
    if (KeyDown(kKeyDown) && KeyHeld == 0) {
        ++MenuSelection;
        KeyHeld = 1;
    }
    if (KeyDown(kKeyUp) && KeyHeld == 0) {
        --MenuSelection;
        KeyHeld = 1;
    }
    if (MenuSelection < 1) MenuSelection = items;
    if (MenuSelection > items) MenuSelection = 1;
}

} // namespace halvane
