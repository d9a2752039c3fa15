#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "platform/screen.h"
#include "render/font.h"
#include "screens/help.h"
#include "screens/options.h"

namespace halvane {
namespace {

class ShippedFontTest : public ::testing::Test {
  protected:
    void SetUp() override {
        OpenOffscreenPages(32);
        ASSERT_TRUE(
            LoadFont(HALVANE_SOURCE_DIR "/Graphics/zqfont.fnt", GameFont, kFontProportional));
    }
    // The first column after the text's last glyph.
    static int TextEnd(int x, std::string_view text) {
        return x + TextAdvance(text, GameFont, kTextSpacing) - kTextSpacing;
    }
};

TEST_F(ShippedFontTest, HasADistinctInkedGlyphForEveryPrintableCharacter) {
    EXPECT_EQ(GameFont.height, 9);
    EXPECT_EQ(GameFont.widths[0], 4); // the space
    for (int code = 33; code <= 126; ++code) {
        const int k = code - 32;
        const ImageHeader header = ReadImageHeader(GameFont.glyphs[k]);
        ASSERT_EQ(header.width, GameFont.widths[k]) << static_cast<char>(code);
        ASSERT_EQ(header.height, 9);
        ClearWorkPage();
        DrawText(0, 0, std::string(1, static_cast<char>(code)), GameFont, 2, kTextTransparent);
        int ink = 0;
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < header.width; ++x)
                ink += ReadPixel(static_cast<float>(x), static_cast<float>(y)) != 0;
        EXPECT_GT(ink, 0) << "no ink in " << static_cast<char>(code);
        // Two glyphs with the same picture could not be told apart.
        for (int other = 33; other < code; ++other) {
            const auto &a = GameFont.glyphs[k];
            const auto &b = GameFont.glyphs[other - 32];
            const size_t bytes = kImageHeaderBytes + 4u * header.width * header.height;
            EXPECT_FALSE(std::memcmp(a.data(), b.data(), bytes) == 0)
                << static_cast<char>(code) << " looks like " << static_cast<char>(other);
        }
    }
}

TEST_F(ShippedFontTest, EveryFixedTextFitsItsScreen) {
    for (const HelpLine &line : HelpText)
        EXPECT_LT(TextEnd(line.x, line.text), 630) << line.text;
    // The longest lines at each indent: the briefing console's text room
    // ends at x 610, the other screens at the screen's edge.
    const std::pair<int, const char *> briefings[] = {
        {70, "Once you have retrieved the information you must obliterate one"},
        {40, "decoy. It appears that the real rift was in the fortress you decimated"},
        {30, "Leave our space now. You will be destroyed if you continue your course."}};
    for (auto [x, text] : briefings)
        EXPECT_LT(TextEnd(x, text), 610) << text;
    const std::pair<int, const char *> others[] = {
        {55, "Being no longer accepted by your comrades, you have been condemned"},
        {250, "You missed 9999999 ships."},
        {180, "Congratulations! You beat the hi-score!"},
        {234, "The new hi-score is 9999999."}};
    for (auto [x, text] : others)
        EXPECT_LT(TextEnd(x, text), 640) << text;
    // The head-up display's three read-outs must not run into each other.
    EXPECT_LT(TextEnd(520, "HI-SCORE: 999999"), 640);
    EXPECT_LT(TextEnd(280, "SCORE: 999999"), 400);
    EXPECT_LT(TextEnd(400, "FPS: 45"), 520);

    // Options: the longest value after every label.
    for (int item = 1; item <= kOptionItems; ++item)
        EXPECT_LT(TextEnd(kOptionX, std::string(kOptionLabels[item - 1]) + "KEYBOARD"), 640);
}

} // namespace
} // namespace halvane
