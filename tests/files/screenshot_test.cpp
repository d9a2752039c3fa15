#include <array>
#include <cstring>

#include "core/game_state.h"
#include "platform/image_file.h"
#include "platform/screen.h"
#include "temp_dir.h"

namespace halvane {
namespace {

uint32_t Get32(const std::vector<uint8_t> &b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// Blue, green, red of screen pixel (x, y) in a 640 x 480 24-bit BMP.
std::array<uint8_t, 3> FilePixel(const std::vector<uint8_t> &b, int x, int y) {
    const std::size_t at = 54 + static_cast<std::size_t>(479 - y) * 1920 + x * 3;
    return {b[at], b[at + 1], b[at + 2]};
}

class ScreenshotTest : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        OpenOffscreenPages(32);
        ScreenshotNumber = 1;
    }
    bool Exists(const char *name) { return std::filesystem::exists(name); }
};

TEST_F(ScreenshotTest, FirstShotHasTheExactBmpLayout) {
    FillBox(0, 0, 639, 479, 0x102030);
    TakeScreenshot();
    EXPECT_EQ(ScreenshotNumber, 1); // the caller adds 1
    const auto b = ReadBytes("screenshot1.bmp");
    ASSERT_EQ(b.size(), 921654u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    const std::pair<std::size_t, uint32_t> fields[] = {
        {2, 921654}, {6, 0},       {10, 54},   {14, 40},   {18, 640}, {22, 480},
        {30, 0},     {34, 921600}, {38, 2834}, {42, 2834}, {46, 0},   {50, 0}};
    for (const auto &[at, value] : fields)
        EXPECT_EQ(Get32(b, at), value) << "at offset " << at;
    EXPECT_EQ(b[26] | (b[27] << 8), 1);
    EXPECT_EQ(b[28] | (b[29] << 8), 24);
    int wrong = 0;
    for (std::size_t i = 54; i < b.size(); i += 3)
        wrong += b[i] != 48 || b[i + 1] != 32 || b[i + 2] != 16;
    EXPECT_EQ(wrong, 0);
}

TEST_F(ScreenshotTest, RowsRunBottomUpAndTheTopByteIsDropped) {
    // Pixels written straight into the page, with a top byte set.
    auto put = [](int x, int y, uint32_t v) {
        std::memcpy(PagePixels(WorkPageIndex()) + (y * 640 + x) * 4, &v, 4);
    };
    put(0, 0, 0xFFAA0000);
    put(639, 0, 0x0000BB00);
    put(0, 479, 0x770000CC);
    ASSERT_TRUE(SaveScreenImage("corners.BMP"));
    const auto b = ReadBytes("corners.BMP");
    ASSERT_EQ(b.size(), 921654u);
    EXPECT_EQ(FilePixel(b, 0, 0), (std::array<uint8_t, 3>{0, 0, 0xAA}));
    EXPECT_EQ(FilePixel(b, 639, 0), (std::array<uint8_t, 3>{0, 0xBB, 0}));
    EXPECT_EQ(FilePixel(b, 0, 479), (std::array<uint8_t, 3>{0xCC, 0, 0}));
    EXPECT_EQ(FilePixel(b, 1, 1), (std::array<uint8_t, 3>{0, 0, 0}));
}

TEST_F(ScreenshotTest, SixteenBitPagesAreWidened) {
    OpenOffscreenPages(16);
    FillBox(0, 0, 639, 479, 0x102030);
    FillBox(10, 20, 10, 20, 0xFFFFFF);
    ASSERT_TRUE(SaveScreenImage("wide.bmp"));
    const auto b = ReadBytes("wide.bmp");
    ASSERT_EQ(b.size(), 921654u);
    EXPECT_EQ(FilePixel(b, 0, 0), (std::array<uint8_t, 3>{49, 32, 16}));
    EXPECT_EQ(FilePixel(b, 10, 20), (std::array<uint8_t, 3>{255, 255, 255}));
}

TEST_F(ScreenshotTest, ExistingShotsAreNeverReplaced) {
    WriteText("screenshot1.bmp", "from an earlier run");
    WriteText("screenshot3.bmp", "also kept");
    TakeScreenshot();
    EXPECT_EQ(ScreenshotNumber, 2); // the gap left by a deleted file is used
    EXPECT_EQ(ReadBytes("screenshot2.bmp").size(), 921654u);
    ++ScreenshotNumber;
    TakeScreenshot();
    EXPECT_EQ(ScreenshotNumber, 4);
    EXPECT_EQ(ReadBytes("screenshot4.bmp").size(), 921654u);
    const auto kept = ReadBytes("screenshot1.bmp");
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "from an earlier run");
    EXPECT_EQ(ReadBytes("screenshot3.bmp").size(), 9u);
}

TEST_F(ScreenshotTest, AFolderThatCannotTakeFilesGetsNothing) {
    // A working folder that no longer exists: nothing can be created in it,
    // even by root.
    std::filesystem::create_directory("gone");
    std::filesystem::current_path("gone");
    std::filesystem::remove(dir_ / "gone");
    TakeScreenshot();
    EXPECT_EQ(ScreenshotNumber, 1);
    EXPECT_FALSE(SaveScreenImage("shot.bmp"));
    std::filesystem::current_path(dir_);
    EXPECT_TRUE(std::filesystem::is_empty(dir_));
}

TEST_F(ScreenshotTest, SavedPicturesLoadBackToTheSamePage) {
    for (int x = 0; x < 640; x += 7)
        DrawLine(x, 0, 639 - x / 2, 479, 0x010203u * static_cast<uint32_t>(x % 80));
    FillBox(50, 60, 70, 90, 0xFF8000);
    std::vector<uint8_t> before(PagePixels(0), PagePixels(0) + 640 * 480 * 4);

    ASSERT_TRUE(SaveScreenImage("round.bmp"));
    ClearWorkPage();
    ASSERT_EQ(LoadImageFile("round.bmp"), kImageLoaded);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), PagePixels(0)));

    // Any other extension writes the page as a raw long-header image.
    ASSERT_TRUE(SaveScreenImage("round.bmpx"));
    EXPECT_EQ(ReadBytes("round.bmpx").size(), 5u + 640 * 480 * 4);
    ClearWorkPage();
    ASSERT_EQ(LoadImageFile("round.bmpx"), kImageLoaded);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), PagePixels(0)));
}

} // namespace
} // namespace halvane
