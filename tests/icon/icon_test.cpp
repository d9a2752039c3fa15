// The game's icon drawn at the sizes desktops ask for: a transparent margin,
// an opaque tile, the craft and the channel where the drawing puts them, and
// thin strokes still visible at 16 pixels.
#include <gtest/gtest.h>

#include <vector>

#include "platform/app_icon.h"

namespace halvane {
namespace {

uint32_t Alpha(uint32_t p) {
    return p >> 24;
}
uint32_t Rgb(uint32_t p) {
    return p & 0xFFFFFF;
}
int Channel(uint32_t p, int shift) {
    return static_cast<int>((p >> shift) & 0xFF);
}

TEST(Icon, RefusesSizesAndBuffersItCannotFill) {
    std::vector<uint32_t> pixels(64 * 64);
    EXPECT_FALSE(DrawIcon(0, pixels));
    EXPECT_FALSE(DrawIcon(65, pixels));
    EXPECT_FALSE(DrawIcon(2000, pixels));
    EXPECT_TRUE(DrawIcon(64, pixels));
}

TEST(Icon, EverySizeHasItsMarginTileCraftAndChannel) {
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        std::vector<uint32_t> pixels(static_cast<std::size_t>(size) * size, 0xDEADBEEF);
        ASSERT_TRUE(DrawIcon(size, pixels));
        auto at = [&](float x, float y) { // a point of the 256 x 256 drawing
            const int px = static_cast<int>(x * size / kIconSide);
            const int py = static_cast<int>(y * size / kIconSide);
            return pixels[static_cast<std::size_t>(py) * size + px];
        };
        // The four corners lie outside the rounded tile.
        for (float c : {1.0f, 254.9f}) {
            EXPECT_EQ(at(c, 1), 0u) << size;
            EXPECT_EQ(at(c, 254.9f), 0u) << size;
        }
        int opaque = 0, green = 0, white = 0;
        for (uint32_t p : pixels) {
            opaque += Alpha(p) == 255;
            green += Alpha(p) == 255 && Channel(p, 8) > 2 * Channel(p, 16) + 40;
            white += Alpha(p) == 255 && Channel(p, 16) > 180 && Channel(p, 8) > 180 &&
                     Channel(p, 0) > 180;
        }
        // The tile covers most of the square; wire of both kinds shows.
        EXPECT_GT(opaque, size * size * 6 / 10) << size;
        EXPECT_GT(green, size) << size;
        EXPECT_GT(white, size / 4) << size;
        // The tile's own colour between the wires; from 64 pixels on, the
        // craft's spine is a whole pixel wide and white.
        EXPECT_EQ(Rgb(at(40, 40)), kIconTile) << size;
        if (size >= 64) {
            EXPECT_GT(Channel(at(128, 150), 16), 180) << size;
        }
    }
}

// The strokes stay on the tile, so no wire is cut by its rounded edge.
TEST(Icon, StrokesLieInsideTheTile) {
    for (const IconStroke &s : IconStrokes()) {
        EXPECT_GT(s.width, 0.0f);
        for (float v : {s.x1, s.y1, s.x2, s.y2}) {
            EXPECT_GE(v - s.width / 2, kIconInset + 8);
            EXPECT_LE(v + s.width / 2, kIconSide - kIconInset - 8);
        }
    }
}

} // namespace
} // namespace halvane
