#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/startup.h"
#include "core/game_state.h"
#include "core/image_store.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "screens/hiscore_file.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

constexpr double kQuitTime = 101.0; // Up moves LAUNCH to QUIT, Enter quits
constexpr int kSpriteSeed = 20;
constexpr int kMessageSeed = 30;

// Every channel depends on the position and the seed, so a shifted,
// mirrored or swapped copy shows.
uint32_t PatternColour(int seed, int x, int y) {
    return ((x * 3 + seed * 40) & 0xFF) << 16 | ((y * 5 + seed * 17) & 0xFF) << 8 |
           ((x + 2 * y + seed * 91) & 0xFF);
}

void WriteFile(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A w x h 24-bit BMP, bottom row first, painted with PatternColour.
void WritePatternBmp(const std::string &path, int w, int h, int seed) {
    const int rowBytes = (w * 3 + 3) / 4 * 4;
    std::string bmp = "BM";
    auto put = [&bmp](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp += static_cast<char>(value >> (8 * i));
    };
    const uint32_t size = rowBytes * h;
    const uint32_t header[] = {
        54 + size, 0, 54, 40, uint32_t(w), uint32_t(h), 1 | 24 << 16, 0, size, 2835, 2835, 0, 0};
    for (uint32_t value : header)
        put(value, 4);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x)
            put(PatternColour(seed, x, y), 3);
        bmp.append(rowBytes - w * 3, '\0');
    }
    WriteFile(path, bmp);
}

// A fresh working directory with Data/ and Graphics/ (and the shipped font,
// without which the game will not start) while the object lives.
struct ScratchDirectory {
    ScratchDirectory() {
        std::string pattern = (fs::temp_directory_path() / "halvane-app-XXXXXX").string();
        path = mkdtemp(pattern.data());
        fs::create_directories(path / "Data");
        fs::create_directories(path / "Graphics");
        fs::copy_file(HALVANE_SOURCE_DIR "/Graphics/zqfont.fnt", path / "Graphics/zqfont.fnt");
        fs::current_path(path);
    }
    ~ScratchDirectory() {
        fs::current_path(previous);
        fs::remove_all(path);
    }
    fs::path previous = fs::current_path();
    fs::path path;
};

// Runs the whole start-up: nothing held, then Up and, once released, Enter on
// QUIT. Returns the exit code.
int RunStartUp() {
    static std::array<ScriptStep, 4> steps{};
    steps[1] = {kQuitTime, {}};
    steps[1].state.keys[kKeyUp] = true;
    steps[2].time = kQuitTime + 0.2;
    steps[3] = {kQuitTime + 0.4, {}};
    steps[3].state.keys[kKeyEnter] = true;
    UseScript(steps);
    HeadlessSetClock(100);
    return HeadlessRun(StartUp);
}

uint32_t PixelOf(const uint8_t *pixels, int w, int x, int y) {
    uint32_t value = 0;
    std::memcpy(&value, pixels + (y * w + x) * 4, 4);
    return value;
}

void WriteAllPictures() {
    WriteFile("Data/setup.dat", "0,0,32\n");
    const char *names[] = {"mmenu", "backg1", "backg2", "backg3", "backg4", "briefscrn", "endgame"};
    for (int slot = 1; slot <= 7; ++slot)
        WritePatternBmp(std::string("Graphics/") + names[slot - 1] + ".bgr", 640, 480, slot);
    WritePatternBmp("Graphics/zqsprite.spr", 128, 16, kSpriteSeed);
    WritePatternBmp("Graphics/crymsg.spr", 320, 100, kMessageSeed);
}

std::vector<uint8_t> LastPage;

// Keeps the last page shown before the player's first key.
void KeepPage(const Page &page) {
    if (HeadlessClock() < kQuitTime)
        LastPage.assign(page.pixels, page.pixels + kScreenWidth * kScreenHeight * 4);
}

TEST(StartUp, PicturesLandInTheirSlotsAndTheMenuShowsUntilQuit) {
    ScratchDirectory dir;
    WriteAllPictures();
    // A missing picture leaves the page as it was: its slot repeats the one before.
    fs::remove("Graphics/backg3.bgr");
    HeadlessSetObserver(KeepPage);
    ASSERT_EQ(RunStartUp(), 0);
    HeadlessSetObserver(nullptr);

    for (int slot : {1, 2, 3, 5, 6, 7}) {
        const ImageHeader header = ReadImageHeader(ScreenImages[slot]);
        ASSERT_EQ(header.width * 1000 + header.height * 10 + header.bytesPerPixel, 644804);
        const uint8_t *pixels = ScreenImages[slot].data() + kImageHeaderBytes;
        for (auto [x, y] : {std::pair{0, 0}, {639, 0}, {0, 479}, {123, 456}, {639, 479}})
            EXPECT_EQ(PixelOf(pixels, 640, x, y), PatternColour(slot, x, y))
                << "slot " << slot << " at " << x << "," << y;
    }
    EXPECT_EQ(ScreenImages[LevelBackground3], ScreenImages[LevelBackground2]);
    EXPECT_EQ(ReadImageHeader(ScreenImages[CaptureImage]).width, 0);

    struct Cut {
        int slot, seed, x1, y1, x2, y2;
    };
    const Cut cuts[] = {
        {1, kSpriteSeed, 0, 0, 106, 10},   {7, kSpriteSeed, 112, 0, 125, 11},
        {2, kMessageSeed, 0, 0, 319, 18},  {3, kMessageSeed, 133, 20, 280, 38},
        {4, kMessageSeed, 0, 40, 106, 58}, {5, kMessageSeed, 0, 60, 306, 78},
        {6, kMessageSeed, 0, 80, 54, 96},
    };
    for (const Cut &cut : cuts) {
        const ImageHeader header = ReadImageHeader(Sprites[cut.slot]);
        const int w = cut.x2 - cut.x1 + 1;
        const int h = cut.y2 - cut.y1 + 1;
        ASSERT_EQ(header.width, w) << "sprite " << cut.slot;
        ASSERT_EQ(header.height, h) << "sprite " << cut.slot;
        int wrong = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                wrong += PixelOf(Sprites[cut.slot].data() + kImageHeaderBytes, w, x, y) !=
                         PatternColour(cut.seed, cut.x1 + x, cut.y1 + y);
        EXPECT_EQ(wrong, 0) << "sprite " << cut.slot;
    }

    // The menu was shown until the keys, then QUIT's fade ended the run.
    EXPECT_GE(HeadlessPresentCount(), 50u);
    EXPECT_TRUE(HeadlessClock() >= kQuitTime + 0.4 && HeadlessClock() < kQuitTime + 1.5);
    ASSERT_EQ(LastPage.size(), std::size_t{kScreenWidth} * kScreenHeight * 4);
    int wrong = 0;
    int ink = 0; // "LAUNCH" at (290, 130) at full opacity
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const bool differs = PixelOf(LastPage.data(), 640, x, y) != PatternColour(1, x, y);
            const bool items = x >= 285 && y >= 125 && y <= 175; // the four menu items
            wrong += differs && !items;
            ink += differs && x >= 290 && x < 330 && y >= 130 && y < 140;
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(ink, 20);
    EXPECT_EQ(WorkPageIndex(), 1);
    EXPECT_EQ(VisiblePageIndex(), 0);
}

TEST(StartUp, FillsTheAngleTablesAndRefusesToStartWithoutItsFontSheet) {
    {
        ScratchDirectory dir;
        ASSERT_EQ(RunStartUp(), 0);
    }
    // Index 4 is level; -1 and 9 are 40 degrees either side, 8 degrees a step.
    const float sin40 = std::sin(40.0f * 3.14159265f / 180.0f);
    EXPECT_EQ(AngleSin[4], 0.0f);
    EXPECT_EQ(AngleCos[4], 1.0f);
    EXPECT_NEAR(AngleSin[9], sin40, 1e-6);
    EXPECT_NEAR(AngleSin[-1], -sin40, 1e-6);
    EXPECT_NEAR(AngleCos[-1], AngleCos[9], 1e-7);
    EXPECT_NEAR(AngleSin[5], std::sin(8.0f * 3.14159265f / 180.0f), 1e-6);

    ScratchDirectory dir;
    WriteAllPictures();
    fs::remove("Graphics/zqfont.fnt");
    EXPECT_EQ(RunStartUp(), 1);
}

// The setup file's text ("none": no file) and the bytes per pixel it opens.
class SetupFile : public ::testing::TestWithParam<std::pair<std::string, int>> {};

TEST_P(SetupFile, ChoosesTheColourDepth) {
    ScratchDirectory dir;
    const auto [text, bytesPerPixel] = GetParam();
    if (text != "none") WriteFile("Data/setup.dat", text);
    WritePatternBmp("Graphics/mmenu.bgr", 640, 480, 1);
    ASSERT_EQ(RunStartUp(), 0);
    ASSERT_EQ(ScreenBytesPerPixel(), bytesPerPixel);
    ASSERT_EQ(ReadImageHeader(ScreenImages[MenuBackground]).bytesPerPixel, bytesPerPixel);
    const uint8_t *pixels = ScreenImages[MenuBackground].data() + kImageHeaderBytes;
    const uint32_t rgb = PatternColour(1, 300, 200);
    if (bytesPerPixel == 2) {
        const uint8_t *at = pixels + (200 * kScreenWidth + 300) * 2;
        EXPECT_EQ(at[0] | (at[1] << 8),
                  ((rgb >> 8) & 0xF800) | ((rgb >> 5) & 0x7E0) | ((rgb & 0xFF) >> 3));
    } else {
        EXPECT_EQ(PixelOf(pixels, 640, 300, 200), rgb);
    }
}

// One line or three, CR LF, a rounded depth; a missing file, a depth the game
// cannot draw and a short file all open 32 bits.
INSTANTIATE_TEST_SUITE_P(Depths, SetupFile,
                         ::testing::Values(std::pair{"0,0,32\n", 4}, std::pair{"0\n0\n32\n", 4},
                                           std::pair{"0,0,16\n", 2},
                                           std::pair{"1\r\n0\r\n15\r\n", 2},
                                           std::pair{"0,0,15.5\n", 2}, std::pair{"0,0,24\n", 4},
                                           std::pair{std::string("none"), 4},
                                           std::pair{"0,0,8\n", 4}, std::pair{"0,16\n", 4}));

class HiScoreFile : public ::testing::TestWithParam<std::pair<std::string, int32_t>> {};

TEST_P(HiScoreFile, IsReadAtStartUpRoundingHalvesToEven) {
    ScratchDirectory dir;
    if (GetParam().first != "none") {
        std::string text = GetParam().first;
        ScrambleText(text, HiScoreKey);
        WriteFile("Data/hs.dat", text + "\r\n");
    }
    HiScore = -7;
    ASSERT_EQ(RunStartUp(), 0);
    EXPECT_EQ(HiScore, GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Files, HiScoreFile,
                         ::testing::Values(std::pair{"1234", 1234}, std::pair{"12.5", 12},
                                           std::pair{"13.5", 14},
                                           std::pair{std::string("none"), 0}));

} // namespace
} // namespace halvane
