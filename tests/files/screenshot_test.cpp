#include <array>
#include <cstring>

#include "core/game_state.h"
#include "platform/image_file.h"
#include "platform/screen.h"
#include "temp_dir.h"

namespace halvane {
namespace {

using Bgr = std::array<uint8_t, 3>;

// Blue, green, red of screen pixel (x, y) in a 640 x 480 24-bit BMP.
Bgr FilePixel(const std::vector<uint8_t> &b, int x, int y) {
    const std::size_t at = 54 + std::size_t(479 - y) * 1920 + x * 3;
    return {b[at], b[at + 1], b[at + 2]};
}

class ScreenshotTest : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        OpenOffscreenPages(32);
        ScreenshotNumber = 1;
    }
};

TEST_F(ScreenshotTest, FirstShotHasTheExactBmpLayout) {
    FillBox(0, 0, 639, 479, 0x102030);
    const uint32_t corner = 0xFFAA0000; // a top byte set is dropped
    std::memcpy(PagePixels(WorkPageIndex()), &corner, 4);
    FillBox(0, 479, 0, 479, 0x0000CC);
    TakeScreenshot();
    EXPECT_EQ(ScreenshotNumber, 1); // the caller adds 1
    const auto b = ReadBytes("screenshot1.bmp");
    ASSERT_EQ(b.size(), 921654u);
    const uint8_t header[54] = {'B',  'M',  0x36, 0x10, 0x0E, 0, 0, 0,    0,    0, 54,   0,    0, 0,
                                40,   0,    0,    0,    0x80, 2, 0, 0,    0xE0, 1, 0,    0,    1, 0,
                                24,   0,    0,    0,    0,    0, 0, 0x10, 0x0E, 0, 0x12, 0x0B, 0, 0,
                                0x12, 0x0B, 0,    0,    0,    0, 0, 0,    0,    0, 0,    0};
    EXPECT_TRUE(std::equal(header, header + 54, b.begin()));
    EXPECT_EQ(FilePixel(b, 0, 0), (Bgr{0, 0, 0xAA}));
    EXPECT_EQ(FilePixel(b, 0, 479), (Bgr{0xCC, 0, 0}));
    EXPECT_EQ(FilePixel(b, 639, 0), (Bgr{48, 32, 16}));
    // A 16-bit page is widened.
    OpenOffscreenPages(16);
    FillBox(0, 0, 639, 479, 0x102030);
    FillBox(10, 20, 10, 20, 0xFFFFFF);
    ASSERT_TRUE(SaveScreenImage("wide.BMP"));
    const auto w = ReadBytes("wide.BMP");
    EXPECT_EQ(FilePixel(w, 0, 0), (Bgr{49, 32, 16}));
    EXPECT_EQ(FilePixel(w, 10, 20), (Bgr{255, 255, 255}));
}

TEST_F(ScreenshotTest, ExistingShotsAreNeverReplaced) {
    WriteText("screenshot1.bmp", "from an earlier run");
    WriteText("screenshot3.bmp", "kept");
    TakeScreenshot();
    EXPECT_EQ(ScreenshotNumber, 2); // the gap left by a deleted file is used
    ++ScreenshotNumber;
    TakeScreenshot();
    EXPECT_EQ(ScreenshotNumber, 4);
    const std::pair<const char *, std::size_t> sizes[] = {{"screenshot1.bmp", 19},
                                                          {"screenshot2.bmp", 921654},
                                                          {"screenshot3.bmp", 4},
                                                          {"screenshot4.bmp", 921654}};
    for (const auto &[name, size] : sizes)
        EXPECT_EQ(ReadBytes(name).size(), size) << name;
}

TEST_F(ScreenshotTest, SavedPicturesLoadBackToTheSamePage) {
    for (int x = 0; x < 640; x += 7)
        DrawLine(x, 0, 639 - x / 2, 479, 0x010203u * uint32_t(x % 80));
    const std::vector<uint8_t> before(PagePixels(0), PagePixels(0) + 640 * 480 * 4);
    // ".bmp" gives a BMP; any other extension a raw long-header image.
    for (const char *name : {"round.bmp", "round.bmpx"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(SaveScreenImage(name));
        ClearWorkPage();
        ASSERT_EQ(LoadImageFile(name), kImageLoaded);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), PagePixels(0)));
    }
    EXPECT_EQ(ReadBytes("round.bmpx").size(), 5u + 640 * 480 * 4);
}

} // namespace
} // namespace halvane
