// The shipped pictures as the game cuts them: the script strips carry the
// briefing console's own ground, the gauge frame leaves its inside clear.
#include <array>
#include <string>

#include <gtest/gtest.h>

#include "core/image.h"
#include "platform/image_file.h"
#include "platform/screen.h"

namespace halvane {
namespace {

constexpr uint32_t kMagenta = 0xFF00FF;

uint32_t Pixel(int x, int y) {
    return static_cast<uint32_t>(ReadPixel(static_cast<float>(x), static_cast<float>(y)));
}

class PicturesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        OpenOffscreenPages(32);
        SetPages(1, 0);
    }
    static void Load(const char *name) {
        ClearWorkPage();
        ASSERT_EQ(LoadImageFile((std::string(HALVANE_SOURCE_DIR "/Graphics/") + name).c_str()),
                  kImageLoaded)
            << name;
    }
};

TEST_F(PicturesTest, ScriptStripsStandOnTheConsoleWhereTheBriefingsPutThem) {
    struct Strip {
        int sheetX, sheetY, width, height, screenX, screenY;
    };
    const Strip strips[] = {{0, 0, 320, 19, 30, 130},
                            {133, 20, 148, 19, 349, 130},
                            {0, 40, 107, 19, 496, 130},
                            {0, 60, 307, 19, 40, 187},
                            {0, 80, 55, 17, 346, 187}};
    Load("briefscrn.bgr");
    static std::array<uint32_t, 640 * 480> console;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            console[y * 640 + x] = Pixel(x, y);
    Load("crymsg.spr");
    for (int i = 0; i < 5; ++i) {
        const Strip &s = strips[i];
        int ground = 0, script = 0, magenta = 0;
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) {
                const uint32_t p = Pixel(s.sheetX + x, s.sheetY + y);
                magenta += p == kMagenta;
                const bool onGround = p == console[(s.screenY + y) * 640 + s.screenX + x];
                ground += onGround;
                script += !onGround;
            }
        EXPECT_EQ(magenta, 0) << "strip " << i + 2;
        // Mostly ground, with a fair share of script on it.
        EXPECT_GT(script, s.width * s.height / 20) << "strip " << i + 2;
        EXPECT_GT(ground, s.width * s.height / 2) << "strip " << i + 2;
    }
}

TEST_F(PicturesTest, GaugeFrameLeavesItsInsideClearAndTheLifeIconHasInk) {
    Load("zqsprite.spr");
    // Put at (10, 5), the frame's inside x 4..103, y 3..7 holds the gauge.
    for (int y = 3; y <= 7; ++y)
        for (int x = 4; x <= 103; ++x)
            ASSERT_EQ(Pixel(x, y), kMagenta) << x << "," << y;
    for (int x = 0; x <= 106; ++x)
        EXPECT_NE(Pixel(x, 0), kMagenta);
    int icon = 0;
    for (int y = 0; y <= 11; ++y)
        for (int x = 112; x <= 125; ++x)
            icon += Pixel(x, y) != kMagenta;
    EXPECT_GT(icon, 20);
}

} // namespace
} // namespace halvane
