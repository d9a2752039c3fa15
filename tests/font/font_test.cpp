// The font loader and text drawing on a sheet drawn here (magenta, grid, size markers, glyphs
// of known widths); then the shipped font: distinct glyphs, fixed texts that fit, the notice.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "platform/headless.h"
#include "platform/image_file.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "render/font.h"
#include "screens/briefing_texts.h"
#include "screens/end_game.h"
#include "screens/game_over.h"
#include "screens/help.h"
#include "screens/level_files_message.h"
#include "screens/options.h"
#include "world/level_file.h"

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

TEST(DrawnFont, WidthsComeFromTheRightmostInkAndTextIsDrawnInEveryMode) {
    static BitmapFont font;
    OpenOffscreenPages(32);
    SetPages(1, 0);
    DrawSheet();
    ASSERT_TRUE(SaveScreenImage("drawn_sheet.bmp"));
    ASSERT_TRUE(CutFontFromWorkPage(font, kFontProportional));
    EXPECT_EQ(font.height, kHeight);
    // Space, A, B (empty), C, D, DEL; codes 128 and 129 are never filled.
    const std::pair<int, int> widths[] = {{0, kCellWidth}, {kA, 9},  {kA + 1, 1}, {kA + 2, 1},
                                          {kA + 3, 3},     {95, 22}, {96, 0},     {97, 0}};
    for (auto [k, width] : widths)
        EXPECT_EQ(font.widths[k], width) << "glyph " << k;
    EXPECT_EQ(ReadImageHeader(font.glyphs[kA]).width, 9);
    EXPECT_EQ(InkedPixels(), 0) << "the loader leaves a cleared work page behind";

    // A, B (empty), space, A: 9+2, 1+2, 6+2, 9+2.
    EXPECT_EQ(DrawText(100, 50, "AB A", font, 2, kTextTransparent), 133);
    // The second A after 11 + 3 + 8; magenta skipped, and by any other mode too.
    EXPECT_EQ(std::tuple(Pixel(100, 50), Pixel(108, 52), Pixel(122, 50), InkedPixels()),
              std::tuple(kInk, 0x102030u, kInk, 4));
    EXPECT_EQ(DrawText(200, 50, "A", font, 2, 7), 211);
    EXPECT_EQ(InkedPixels(), 6);

    ClearWorkPage();
    EXPECT_EQ(DrawText(100, 50, "A", font, 5, kTextOpaque), 114);
    // The glyph's background is put too, but nothing beyond its width or height.
    EXPECT_EQ(Pixel(101, 50) & Pixel(108, 50 + kHeight - 1), kMagenta);
    EXPECT_EQ(Pixel(109, 50) | Pixel(108, 50 + kHeight), 0u);

    // Characters outside the font draw nothing and advance by the spacing.
    ClearWorkPage();
    const char text[] = {'\x01', 'A', '\x80', '\x81', '\xC8', '\x1F', 'A', '\xFF'};
    const std::string_view view(text, sizeof text);
    EXPECT_EQ(DrawText(0, 0, view, font, 2, kTextOpaque), 2 + 11 + 8 + 11 + 2);
    EXPECT_EQ(TextAdvance(view, font, 2), 34);
    EXPECT_EQ(Pixel(2, 0) & Pixel(21, 0), kInk);
    EXPECT_EQ(Pixel(13, 0) + Pixel(20, 0), 0u); // nothing between the two A's
    EXPECT_EQ(DrawText(0, 100, "\x7F", font, 2, kTextTransparent), 24); // DEL is a glyph
    EXPECT_EQ(Pixel(21, 100), kInk);

    // Blended, at 128 each channel moves 129/256 of the way from black; wild
    // opacities are taken as opaque.
    ClearWorkPage();
    EXPECT_EQ(DrawTextBlended(10, 10, "A", font, 2, 128), 21);
    EXPECT_EQ(Pixel(10, 10), 0x804020u);
    for (int opacity : {-1, 300, 255}) { // -1 first: it would leave the pixel as it was
        DrawTextBlended(10, 10, "A", font, 2, opacity);
        EXPECT_EQ(std::pair(Pixel(10, 10), Pixel(11, 10)), std::pair(kInk, 0u)) << opacity;
    }
    ClearWorkPage();
    EXPECT_EQ(DrawTextBlended(10, 10, "AA", font, 2, 0), 32);
    EXPECT_EQ(InkedPixels(), 0);

    // Fixed mode cuts every glyph at the cell width; an unknown mode is proportional.
    DrawSheet();
    ASSERT_TRUE(CutFontFromWorkPage(font, kFontFixed));
    EXPECT_EQ(DrawText(0, 0, "AB C", font, 2, kTextTransparent), 4 * (kCellWidth + 2));
    EXPECT_EQ(InkedPixels(), 2); // A's ink in column 9 lies beyond the cut
    DrawSheet();
    ASSERT_TRUE(CutFontFromWorkPage(font, 5));
    EXPECT_EQ(font.widths[kA], 9);

    // The same sheet from a file, on the pages as they were; missing or
    // unmarked sheets are refused.
    ASSERT_TRUE(LoadFont("drawn_sheet.bmp", font, kFontFixed));
    std::remove("drawn_sheet.bmp");
    EXPECT_EQ(std::pair(font.widths[kA], font.height), std::pair(kCellWidth, kHeight));
    EXPECT_EQ(std::pair(WorkPageIndex(), VisiblePageIndex()), std::pair(1, 0));
    EXPECT_FALSE(LoadFont("no_such_sheet.fnt", font, kFontProportional));
    FillBox(0, 0, 639, 479, kMagenta);
    EXPECT_FALSE(CutFontFromWorkPage(font, kFontProportional));
}

// The first column after the text's last glyph.
int TextEnd(int x, std::string_view text) {
    return x + TextAdvance(text, GameFont, kTextSpacing) - kTextSpacing;
}

TEST(ShippedFont, DistinctInkedGlyphsFixedTextsFitAndTheLevelFilesNoticeWaitsForAFreshEnter) {
    OpenOffscreenPages(32);
    ASSERT_TRUE(LoadFont(HALVANE_SOURCE_DIR "/Graphics/zqfont.fnt", GameFont, kFontProportional));
    EXPECT_EQ(std::pair(GameFont.height, GameFont.widths[0]), std::pair(9, 4)); // 0: the space
    for (int k = 1; k <= 126 - 32; ++k) {
        const ImageHeader header = ReadImageHeader(GameFont.glyphs[k]);
        ASSERT_EQ(std::pair(header.width, header.height), std::pair(GameFont.widths[k], 9)) << k;
        ClearWorkPage();
        DrawText(0, 0, std::string(1, static_cast<char>(k + 32)), GameFont, 2, kTextTransparent);
        EXPECT_GT(InkedPixels(), 0) << "no ink in " << static_cast<char>(k + 32);
        // Two glyphs with the same picture could not be told apart.
        const size_t bytes = kImageHeaderBytes + 4u * header.width * header.height;
        for (int other = 1; other < k; ++other)
            EXPECT_NE(std::memcmp(GameFont.glyphs[k].data(), GameFont.glyphs[other].data(), bytes),
                      0)
                << static_cast<char>(k + 32) << " looks like " << static_cast<char>(other + 32);
    }

    for (const HelpLine &line : HelpText)
        EXPECT_LT(TextEnd(line.x, line.text), 630) << line.text;
    for (int mission = 1; mission <= kMissions; ++mission) // the console's text room ends at 610
        for (const BriefingItem &item : BriefingMissions[mission].items)
            EXPECT_LT(TextEnd(item.x, item.text != nullptr ? item.text : ""), 610)
                << mission << " " << item.x;
    for (const char *line : kGameOverText)
        EXPECT_LT(TextEnd(kGameOverTextX, line), 640) << line;
    for (const char *line : kEpilogueText) // blank lines are null
        EXPECT_LT(TextEnd(kEpilogueX, line != nullptr ? line : ""), 640) << kEpilogueX;
    for (const char *label : kOptionLabels) // the longest value after every label
        EXPECT_LT(TextEnd(kOptionX, std::string(label) + "KEYBOARD"), 640) << label;
    // The widest numbers; the head-up display's read-outs must not run into each other.
    const std::tuple<int, const char *, int> others[] = {
        {250, "You missed 9999999 ships.", 640},
        {180, "Congratulations! You beat the hi-score!", 640},
        {234, "The new hi-score is 9999999.", 640},
        {520, "HI-SCORE: 999999", 640},
        {280, "SCORE: 999999", 400},
        {400, "FPS: 45", 520}};
    for (auto [x, text, end] : others)
        EXPECT_LT(TextEnd(x, text), end) << text;

    // The notice about broken level files: shown only for them, left on a fresh Enter released.
    ClearWorkPage();
    HeadlessSetClock(10);
    InputState enter, none; // Enter of LAUNCH still held, released, then pressed again
    enter.keys[kKeyEnter] = true;
    const std::array<ScriptStep, 4> script{{{0, enter}, {10.2, none}, {10.8, enter}, {10.9, none}}};
    UseScript(script);
    const uint64_t before = HeadlessPresentCount();
    ShowLevelFilesMessage(); // sound files: nothing shown
    EXPECT_EQ(HeadlessPresentCount(), before);
    RandomTerrain = 1;
    ShowLevelFilesMessage();
    EXPECT_GE(HeadlessClock(), 10.9) << "returns only once the fresh press is released";
    EXPECT_GT(InkedPixels(), 0);
}

} // namespace
} // namespace halvane
