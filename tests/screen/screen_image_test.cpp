// Grabbing and putting images: exact clipping, wild numbers and refused buffers.
#include <cmath>
#include <utility>

#include "tests/screen/screen_test_util.h"

namespace halvane {
namespace {

// x in red, y in green, a fixed blue: a shifted, mirrored or swapped copy shows.
uint32_t GlyphPixel(int x, int y) {
    return NativeColour((x * 8u) << 16 | (y * 8u) << 8 | 0x48);
}

using ScreenImage = ScreenAtDepth;

TEST_P(ScreenImage, PutsAreClippedAndKeepTheirPosition) {
    const auto glyph = MakeImage(23, 23, GlyphPixel);
    const struct {
        float x, y;
        int firstColumn, columns, firstRow, rows;
    } cases[] = {
        {630, 100, 0, 10, 0, 23}, {-5, 100, 5, 18, 0, 23},  {300, 470, 0, 23, 0, 10},
        {300, -7, 0, 23, 7, 16},  {-22, -22, 22, 1, 22, 1}, {640, 100, 0, 0, 0, 0},
        {100, 480, 0, 0, 0, 0},   {-23, 100, 0, 0, 0, 0},
    };
    for (const auto &c : cases) {
        ClearWorkPage();
        PutImage(c.x, c.y, glyph, kPutOpaque, 0);
        EXPECT_EQ(LitPixels().size(), std::size_t(c.columns * c.rows)) << c.x << "," << c.y;
        for (int row = c.firstRow; row < c.firstRow + c.rows; ++row)
            for (int col = c.firstColumn; col < c.firstColumn + c.columns; ++col)
                ASSERT_EQ(RawPixel(int(c.x) + col, int(c.y) + row), GlyphPixel(col, row))
                    << c.x << "," << c.y << " glyph pixel " << col << "," << row;
    }
}

// The pixel rules themselves are checked exactly elsewhere; here, what lies outside them.
TEST_P(ScreenImage, OpacityOutsideItsRangeAndUnknownModes) {
    const auto glyph = MakeImage(4, 4, [](int x, int y) { return GlyphPixel(x + 1, y); });
    PutImage(0, 0, glyph, kPutBlend, 0);
    PutImage(0, 0, glyph, kPutBlend, -40);
    PutImage(0, 0, glyph, 2, 255);
    EXPECT_EQ(LitPixels().size(), 0u);
    PutImage(0, 0, glyph, kPutBlend, 1000); // acts as 255
    EXPECT_EQ(RawPixel(3, 2), GlyphPixel(4, 2));
}

TEST_P(ScreenImage, FullPageGrabRoundTripsAndRefusedGrabsStoreNothing) {
    for (int i = 0; i < 640 * 480; ++i) {
        const uint32_t v = GlyphPixel(i % 32, i / 640 % 32) + i % 640 / 32;
        std::memcpy(RawAt(i % 640, i / 640), &v, ScreenBytesPerPixel());
    }
    static FullScreenImage grab;
    GrabImage(639, 479, 0, 0, grab);
    SetPages(1, 0);
    PutImage(0, 0, grab, kPutOpaque, 0);
    EXPECT_EQ(std::memcmp(PagePixels(0), PagePixels(1), 640 * 480 * ScreenBytesPerPixel()), 0);
    std::vector<uint8_t> buffer(4 + 10 * 10 * 4, 0xEE);
    GrabImage(-1, 0, 5, 5, buffer);
    GrabImage(635, 0, 640, 5, buffer);
    GrabImage(0, 0, 5, 479.5f, buffer);
    GrabImage(NAN, 0, 5, 5, buffer);
    GrabImage(0, 0, 10, 18, buffer); // 11 x 19 does not fit 10 x 10 at 32 bits
    GrabImage(0, 0, 0, 0, std::span(buffer).first(3));
    for (uint8_t b : buffer)
        ASSERT_EQ(b, 0xEE);
    // A buffer of exactly the needed size is filled to its last byte.
    FillBox(0, 0, 9, 9, 0x336699);
    std::vector<uint8_t> exact(4 + 3 * 2 * ScreenBytesPerPixel(), 0xEE);
    GrabImage(2, 3, 4, 4, exact);
    const ImageHeader header = ReadImageHeader(exact);
    EXPECT_EQ(std::pair(header.width, header.height), std::pair(3, 2));
    uint32_t last = 0;
    std::memcpy(&last, exact.data() + exact.size() - ScreenBytesPerPixel(), ScreenBytesPerPixel());
    EXPECT_EQ(last, NativeColour(0x336699));
}

TEST_P(ScreenImage, BadImagesAndWildPositionsDrawNothing) {
    auto image = MakeImage(4, 3, [](int x, int y) { return GlyphPixel(x + 1, y + 1); });
    auto otherDepth = image;
    otherDepth[0] = uint8_t(4 * 8 + (Wide() ? 2 : 4));
    PutImage(0, 0, otherDepth, kPutOpaque, 0);
    PutImage(0, 0, std::vector<uint8_t>(4, 0), kPutOpaque, 0);
    PutImage(0, 0, std::span(image).first(image.size() - 1), kPutOpaque, 0);
    PutImage(0, 0, std::span(image).first(3), kPutOpaque, 0);
    for (float x : {NAN, INFINITY, -1e30f, -2147483500.0f, 2147483500.0f})
        PutImage(x, 0, image, kPutOpaque, 0);
    PutImage(0, -3e9f, image, kPutTransparent, 0);
    EXPECT_EQ(LitPixels().size(), 0u);
    PutImage(0, 0, image, kPutOpaque, 0);
    EXPECT_EQ(LitPixels().size(), 12u);
}

INSTANTIATE_TEST_SUITE_P(Depths, ScreenImage, ::testing::Values(16, 32));

} // namespace
} // namespace halvane
