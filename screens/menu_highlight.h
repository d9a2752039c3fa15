// menu_highlight.h -- the highlight of the main menu and the options screen:
// item opacities and the arrow keys under the KeyHeld latch.
#pragma once

namespace halvane {

constexpr int kItemHighlight = 255; // opacity of the highlighted item
constexpr int kItemDimmed = 160;    // opacity of the others

// LineAlpha 1..items to 160, the entry of MenuSelection to 255. The screens
// set these before the move, so a move shows from the next pass on.
void LightMenuItems(int items);

// Down, then Up, moves MenuSelection by one when KeyHeld is 0 and sets the
// latch; Down wins when both are held. Wraps within 1..items.
void MoveMenuHighlight(int items);

} // namespace halvane
