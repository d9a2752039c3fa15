// The font loader and the text operations, on a sheet the test draws: a
// magenta page with the grid, size markers and glyphs of known widths.
#include <cstdint>
#include <cstdio>

#include <gtest/gtest.h>

#include "platform/image_file.h"
#include "platform/screen.h"
#include "render/font.h"

namespace halvane {
namespace {

constexpr uint32_t kMagenta = 0xFF00FF;
constexpr uint32_t kInk = 0xFF8040;
constexpr int kCellWidth = 6;
constexpr int kHeight = 8;
constexpr int kA = 'A' - 32;

// Marks pixel (column, row) of glyph k's cell, both counted from 1.
void Ink(int k, int column, int row, uint32_t colour = kInk) {
    const float x = static_cast<float>(23 * (k % 12) + column);
    const float y = static_cast<float>(23 * (k / 12) + row);
    FillBox(x, y, x, y, colour);
}

void DrawSheet() {
    FillBox(0, 0, 639, 479, kMagenta);
    // Separators in a colour of their own: the loader must never read them.
    for (int c = 0; c <= 12; ++c)
        DrawLine(23.0f * c, 0, 23.0f * c, 184, 0x00FF00);
    for (int r = 0; r <= 8; ++r)
        DrawLine(0, 23.0f * r, 276, 23.0f * r, 0x00FF00);
    FillBox(277 + kCellWidth, 1, 277 + kCellWidth, 1, 0xFFFFFF);
    FillBox(298, 1 + kHeight, 298, 1 + kHeight, 0xFFFFFF);
    Ink(0, 15, 2);                // ignored: the space is a blank of the cell width
    Ink(kA, 1, 1);                // top-left ink ...
    Ink(kA, 9, 3, 0x102030);      // ... and the rightmost in column 9; 'B' stays empty
    Ink(kA + 2, 1, 4);            // C: ink only in column 1, which is never measured
    Ink(kA + 3, 12, kHeight + 2); // D: ink below the glyph height does not count
    Ink(kA + 3, 3, kHeight);
    Ink(127 - 32, 22, 1); // DEL: ink in the last column
}

uint32_t Pixel(int x, int y) {
    return static_cast<uint32_t>(ReadPixel(static_cast<float>(x), static_cast<float>(y)));
}

int InkedPixels() {
    int count = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            count += Pixel(x, y) != 0;
    return count;
}

class FontTest : public ::testing::Test {
  protected:
    void SetUp() override {
        OpenOffscreenPages(32);
        SetPages(1, 0);
        DrawSheet();
    }
    BitmapFont font{};
};

TEST_F(FontTest, MeasuresWidthsFromTheRightmostInkWithinTheGlyphHeight) {
    ASSERT_TRUE(CutFontFromWorkPage(font, kFontProportional));
    EXPECT_EQ(font.height, kHeight);
    // Space, A, B (empty), C, D, DEL; codes 128 and 129 are never filled.
    const std::pair<int, int> widths[] = {{0, kCellWidth}, {kA, 9},  {kA + 1, 1}, {kA + 2, 1},
                                          {kA + 3, 3},     {95, 22}, {96, 0},     {97, 0}};
    for (auto [k, width] : widths)
        EXPECT_EQ(font.widths[k], width) << "glyph " << k;
    EXPECT_EQ(ReadImageHeader(font.glyphs[kA]).width, 9);
    EXPECT_EQ(ReadImageHeader(font.glyphs[kA]).height, kHeight);
    EXPECT_EQ(InkedPixels(), 0) << "the loader leaves a cleared work page behind";

    // Fixed mode cuts every glyph at the cell width; an unknown mode is proportional.
    DrawSheet();
    ASSERT_TRUE(CutFontFromWorkPage(font, kFontFixed));
    EXPECT_EQ(ReadImageHeader(font.glyphs[kA]).width, kCellWidth);
    EXPECT_EQ(DrawText(0, 0, "AB C", font, 2, kTextTransparent), 4 * (kCellWidth + 2));
    EXPECT_EQ(InkedPixels(), 2); // A's ink in column 9 lies beyond the cut
    ClearWorkPage();
    DrawSheet();
    ASSERT_TRUE(CutFontFromWorkPage(font, 5));
    EXPECT_EQ(font.widths[kA], 9);
}

TEST_F(FontTest, LoadsTheSameSheetFromAFileAndRefusesAMissingOrUnmarkedOne) {
    ASSERT_TRUE(SaveScreenImage("drawn_sheet.bmp"));
    ClearWorkPage();
    ASSERT_TRUE(LoadFont("drawn_sheet.bmp", font, kFontProportional));
    std::remove("drawn_sheet.bmp");
    EXPECT_EQ(font.widths[kA], 9);
    EXPECT_EQ(font.height, kHeight);
    EXPECT_EQ(WorkPageIndex(), 1);
    EXPECT_EQ(VisiblePageIndex(), 0);
    EXPECT_FALSE(LoadFont("no_such_sheet.fnt", font, kFontProportional));
    FillBox(0, 0, 639, 479, kMagenta);
    EXPECT_FALSE(CutFontFromWorkPage(font, kFontProportional));
}

TEST_F(FontTest, DrawsTransparentOrOpaqueAndAdvancesByWidthPlusSpacing) {
    ASSERT_TRUE(CutFontFromWorkPage(font, kFontProportional));
    // A, B (empty), space, A: 9+2, 1+2, 6+2, 9+2.
    EXPECT_EQ(DrawText(100, 50, "AB A", font, 2, kTextTransparent), 133);
    EXPECT_EQ(Pixel(100, 50), kInk);
    EXPECT_EQ(Pixel(108, 52), 0x102030u);
    EXPECT_EQ(Pixel(122, 50), kInk); // the second A after 11 + 3 + 8
    EXPECT_EQ(InkedPixels(), 4);     // magenta skipped

    ClearWorkPage();
    EXPECT_EQ(DrawText(100, 50, "A", font, 5, kTextOpaque), 114);
    EXPECT_EQ(Pixel(101, 50), kMagenta); // the glyph's background is put too
    EXPECT_EQ(Pixel(109, 50), 0u);       // but nothing beyond its width or height
    EXPECT_EQ(Pixel(108, 50 + kHeight - 1), kMagenta);
    EXPECT_EQ(Pixel(108, 50 + kHeight), 0u);

    ClearWorkPage();
    DrawText(100, 50, "A", font, 2, 7); // any other mode draws transparently
    EXPECT_EQ(Pixel(100, 50), kInk);
    EXPECT_EQ(Pixel(101, 50), 0u);

    // Characters outside the font draw nothing and advance by the spacing.
    ClearWorkPage();
    const char text[] = {'\x01', 'A', '\x80', '\x81', '\xC8', '\x1F', 'A', '\xFF'};
    const std::string_view view(text, sizeof text);
    EXPECT_EQ(DrawText(0, 0, view, font, 2, kTextOpaque), 2 + 11 + 8 + 11 + 2);
    EXPECT_EQ(TextAdvance(view, font, 2), 34);
    EXPECT_EQ(Pixel(2, 0), kInk);
    EXPECT_EQ(Pixel(21, 0), kInk);
    EXPECT_EQ(Pixel(13, 0) + Pixel(20, 0), 0u); // nothing between the two A's
    EXPECT_EQ(DrawText(0, 100, "\x7F", font, 2, kTextTransparent), 24); // DEL is a glyph
    EXPECT_EQ(Pixel(21, 100), kInk);
}

TEST_F(FontTest, BlendedTextClampsItsOpacity) {
    ASSERT_TRUE(CutFontFromWorkPage(font, kFontProportional));
    // At 128 each channel moves 129/256 of the way from black.
    EXPECT_EQ(DrawTextBlended(10, 10, "A", font, 2, 128), 21);
    EXPECT_EQ(Pixel(10, 10), 0x804020u);
    for (int opacity : {300, -1, 255}) {
        ClearWorkPage();
        DrawTextBlended(10, 10, "A", font, 2, opacity);
        EXPECT_EQ(Pixel(10, 10), kInk) << opacity;
        EXPECT_EQ(Pixel(11, 10), 0u) << opacity;
    }
    ClearWorkPage();
    EXPECT_EQ(DrawTextBlended(10, 10, "AA", font, 2, 0), 32);
    EXPECT_EQ(InkedPixels(), 0);
}

} // namespace
} // namespace halvane
