#include "platform/screen.h"
#include "tools/paint/paint.h"

namespace halvane {

// The sprite sheet of the head-up display: the shield gauge's frame at
// (0,0)-(106,10) and the spare-life icon at (112,0)-(125,11), on magenta.
void PaintHudSprites() {
    FillBox(0, 0, 639, 479, kMagenta);

    // The frame is put at (10, 5); its inside x 4..103, y 3..7 stays clear
    // for the gauge (screen x 14..113, y 8..12).
    FillBox(0, 0, 106, 10, 0x141C26);
    FillBox(4, 3, 103, 7, kMagenta);
    DrawLine(0, 0, 106, 0, 0x8CA0B8);
    DrawLine(0, 0, 0, 10, 0x8CA0B8);
    DrawLine(106, 0, 106, 10, 0x3A4654);
    DrawLine(0, 10, 106, 10, 0x3A4654);
    DrawLine(3, 2, 104, 2, 0x3A4654);
    DrawLine(3, 2, 3, 8, 0x3A4654);
    DrawLine(104, 2, 104, 8, 0xA8BCD4);
    DrawLine(3, 8, 104, 8, 0xA8BCD4);
    // Tenths of the shield along the top edge.
    for (int i = 1; i < 10; ++i)
        Plot(4 + 10 * i - 1, 1, 0x6A7C92);

    // The spare life: the player's craft seen from above, in its grey.
    constexpr float x = 112;
    DrawLine(x + 6, 0, x + 0, 9, 0xABABAB);
    DrawLine(x + 7, 0, x + 13, 9, 0xABABAB);
    DrawLine(x + 0, 9, x + 13, 9, 0xABABAB);
    DrawLine(x + 4, 9, x + 5, 11, 0x6A6A6A);
    DrawLine(x + 9, 9, x + 8, 11, 0x6A6A6A);
    DrawLine(x + 5, 11, x + 8, 11, 0x6A6A6A);
    DrawLine(x + 6, 2, x + 6, 8, 0x6A6A6A);
    DrawLine(x + 7, 2, x + 7, 8, 0x6A6A6A);
    FillBox(x + 6, 4, x + 7, 5, 0x58E8FF);
}

} // namespace halvane
