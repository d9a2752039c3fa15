// The font the game ships: every glyph is there and distinct, and every fixed
// text of the game fits on its screen.
#include <array>
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

struct PlacedText {
    int x;
    const char *text;
};

TEST_F(ShippedFontTest, EveryFixedTextFitsItsScreen) {
    // Help: every line from its x ends before x 630.
    for (const HelpLine &line : HelpText)
        EXPECT_LT(TextEnd(line.x, line.text), 630) << line.text;

    // Briefings: the text room of the console ends at x 610.
    const PlacedText briefings[] = {
        {70, "There is precious little time, so this will be brief. The first"},
        {70, "objective in your mission is to penetrate an enemy outpost to"},
        {70, "Once you have retrieved the information you must obliterate one"},
        {70, "We will send wingmen if possible, but do not rely on this."},
        {40, "Now that you have removed the immediate threat we have time to talk."},
        {40, "We believe the force you were fighting was of non-human origin."},
        {40, "To the best of our knowledge, they have opened a spacial rift to"},
        {40, "another universe. Your next mission will be to investigate a suspected"},
        {40, "location of the rift. If you are successful, you will pass through the"},
        {40, "Unfortunately we have discovered that the suspected location was a"},
        {40, "decoy. It appears that the real rift was in the fortress you decimated"},
        {40, "in your first mission. The fortress wasn't destroy either. That also"},
        {40, "Because of the time spent on the second mission they have rebuilt"},
        {40, "the fortress stronger than before. You must infiltrate their base"},
        {30, "Leave our space now. You will be destroyed if you continue your course."},
        {40, "Mission: Destroy all resistance, this is your last mission."},
        {40, "You will be punished for entering our space!"},
        {70, "*** END OF TRANSMISSION ***"},
    };
    for (const PlacedText &line : briefings)
        EXPECT_LT(TextEnd(line.x, line.text), 610) << line.text;

    // Epilogue, game over and the other screens: on the screen.
    const PlacedText others[] = {
        {55, "You have saved your nation and probably your world from invasion."},
        {55, "'You have done it! When you get back you are probably going to get"},
        {55, "every medal we have! Can't wait for your return, enjoy your trip!'"},
        {55, "You finally feel relief and relaxation, you don't need to fight"},
        {55, "You have failed your mission due to your lack of competence."},
        {55, "Being no longer accepted by your comrades, you have been condemned"},
        {55, "to the bowels of the sewers. There you will live on the corpses of"},
        {250, "You missed 9999999 ships."},
        {180, "Congratulations! You beat the hi-score!"},
        {234, "The new hi-score is 9999999."},
    };
    for (const PlacedText &line : others)
        EXPECT_LT(TextEnd(line.x, line.text), 640) << line.text;

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
