// Start-up under the headless display: setup file, pictures into their slots,
// best score, start-up values, the menu it ends in, and the refusal to start
// without a font sheet.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/startup.h"
#include "core/game_state.h"
#include "core/image_store.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "screens/hiscore_file.h"
#include "tests/app/test_pictures.h"

namespace halvane {
namespace {

using test::PatternColour;
using test::ScratchDirectory;
using test::WritePatternBmp;
using test::WriteTextFile;

constexpr double kStartTime = 100.0;
constexpr double kQuitTime = 101.0; // Up moves LAUNCH to QUIT, Enter quits
constexpr int kSpriteSheetSeed = 20;
constexpr int kMessageSheetSeed = 30;

// Nothing held, then Up and, once released, Enter on QUIT.
std::array<ScriptStep, 4> QuitScript() {
    std::array<ScriptStep, 4> steps{};
    steps[0].time = 0.0;
    steps[1].time = kQuitTime;
    steps[1].state.keys[kKeyUp] = true;
    steps[2].time = kQuitTime + 0.2;
    steps[3].time = kQuitTime + 0.4;
    steps[3].state.keys[kKeyEnter] = true;
    return steps;
}

// Runs the whole start-up with the script; returns the exit code. The game
// will not start without its font, so the shipped sheet comes along.
int RunStartUp(bool withFont = true) {
    if (withFont) {
        std::filesystem::create_directories("Graphics");
        std::filesystem::copy_file(HALVANE_SOURCE_DIR "/Graphics/zqfont.fnt", "Graphics/zqfont.fnt",
                                   std::filesystem::copy_options::overwrite_existing);
    }
    static std::array<ScriptStep, 4> steps = QuitScript();
    UseScript(steps);
    HeadlessSetClock(kStartTime);
    return HeadlessRun(StartUp);
}

uint32_t PixelAt(const FullScreenImage &image, int x, int y) {
    uint32_t value = 0;
    std::memcpy(&value, image.data() + kImageHeaderBytes + (y * kScreenWidth + x) * 4, 4);
    return value;
}

uint16_t To565(uint32_t rgb) {
    return static_cast<uint16_t>(((rgb >> 8) & 0xF800) | ((rgb >> 5) & 0x7E0) |
                                 ((rgb & 0xFF) >> 3));
}

void WriteAllPictures() {
    const char *names[] = {"mmenu", "backg1", "backg2", "backg3", "backg4", "briefscrn", "endgame"};
    for (int slot = 1; slot <= 7; ++slot)
        WritePatternBmp(std::string("Graphics/") + names[slot - 1] + ".bgr", 640, 480, slot);
    WritePatternBmp("Graphics/zqsprite.spr", 128, 16, kSpriteSheetSeed);
    WritePatternBmp("Graphics/crymsg.spr", 320, 100, kMessageSheetSeed);
}

TEST(StartUp, PicturesLandInTheirSlots) {
    ScratchDirectory dir;
    WriteTextFile("Data/setup.dat", "0,0,32\n");
    WriteAllPictures();
    // A missing picture leaves the page as it was: its slot repeats the one before.
    std::filesystem::remove("Graphics/backg3.bgr");
    ASSERT_EQ(RunStartUp(), 0);

    for (int slot : {1, 2, 3, 5, 6, 7}) {
        const ImageHeader header = ReadImageHeader(ScreenImages[slot]);
        ASSERT_EQ(header.width, 640);
        ASSERT_EQ(header.height, 480);
        ASSERT_EQ(header.bytesPerPixel, 4);
        for (auto [x, y] : {std::pair{0, 0}, {639, 0}, {0, 479}, {123, 456}, {639, 479}})
            EXPECT_EQ(PixelAt(ScreenImages[slot], x, y), PatternColour(slot, x, y))
                << "slot " << slot << " at " << x << "," << y;
    }
    EXPECT_EQ(ScreenImages[LevelBackground3], ScreenImages[LevelBackground2]);
    const ImageHeader capture = ReadImageHeader(ScreenImages[CaptureImage]);
    EXPECT_EQ(capture.width, 0);
    EXPECT_EQ(capture.height, 0);

    struct Cut {
        int slot, seed, x1, y1, x2, y2;
    };
    const Cut cuts[] = {
        {1, kSpriteSheetSeed, 0, 0, 106, 10},   {7, kSpriteSheetSeed, 112, 0, 125, 11},
        {2, kMessageSheetSeed, 0, 0, 319, 18},  {3, kMessageSheetSeed, 133, 20, 280, 38},
        {4, kMessageSheetSeed, 0, 40, 106, 58}, {5, kMessageSheetSeed, 0, 60, 306, 78},
        {6, kMessageSheetSeed, 0, 80, 54, 96},
    };
    for (const Cut &cut : cuts) {
        const auto &sprite = Sprites[cut.slot];
        const ImageHeader header = ReadImageHeader(sprite);
        const int w = cut.x2 - cut.x1 + 1;
        const int h = cut.y2 - cut.y1 + 1;
        ASSERT_EQ(header.width, w) << "sprite " << cut.slot;
        ASSERT_EQ(header.height, h) << "sprite " << cut.slot;
        int wrong = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                uint32_t value = 0;
                std::memcpy(&value, sprite.data() + kImageHeaderBytes + (y * w + x) * 4, 4);
                wrong += value != PatternColour(cut.seed, cut.x1 + x, cut.y1 + y);
            }
        }
        EXPECT_EQ(wrong, 0) << "sprite " << cut.slot;
    }
}

std::vector<uint8_t> LastPage;

// Keeps the last page shown before the player's first key.
void KeepPage(const Page &page) {
    if (HeadlessClock() >= kQuitTime) return;
    LastPage.assign(page.pixels, page.pixels + kScreenWidth * kScreenHeight * page.bytesPerPixel);
}

TEST(StartUp, EndsInTheMenuWhoseQuitEndsWithZero) {
    ScratchDirectory dir;
    WriteTextFile("Data/setup.dat", "0,0,32\n");
    WriteAllPictures();
    HeadlessSetObserver(KeepPage);
    EXPECT_EQ(RunStartUp(), 0);
    HeadlessSetObserver(nullptr);

    // The menu was shown until the keys, then QUIT's fade ended the run.
    EXPECT_GE(HeadlessPresentCount(), 50u);
    EXPECT_GE(HeadlessClock(), kQuitTime + 0.4);
    EXPECT_LT(HeadlessClock(), kQuitTime + 1.5);
    ASSERT_EQ(LastPage.size(), std::size_t{kScreenWidth} * kScreenHeight * 4);
    int wrong = 0;
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            uint32_t value = 0;
            std::memcpy(&value, LastPage.data() + (y * kScreenWidth + x) * 4, 4);
            const bool items = x >= 285 && y >= 125 && y <= 175; // the four menu items
            if (!items) wrong += value != PatternColour(1, x, y);
        }
    }
    EXPECT_EQ(wrong, 0);
    // "LAUNCH" stands at (290, 130) at full opacity: some of its pixels differ.
    int ink = 0;
    for (int y = 130; y < 140; ++y)
        for (int x = 290; x < 330; ++x) {
            uint32_t value = 0;
            std::memcpy(&value, LastPage.data() + (y * kScreenWidth + x) * 4, 4);
            ink += value != PatternColour(1, x, y);
        }
    EXPECT_GT(ink, 20);
    EXPECT_EQ(WorkPageIndex(), 1);
    EXPECT_EQ(VisiblePageIndex(), 0);
}

TEST(StartUp, SetsTheStartValuesAndAngleTables) {
    ScratchDirectory dir;
    ShowFps = 1;
    ScreenshotNumber = 9;
    ASSERT_EQ(RunStartUp(), 0);
    EXPECT_EQ(ShowFps, 0);
    EXPECT_EQ(ScreenshotNumber, 1);
    EXPECT_EQ(TargetFps, 20);
    EXPECT_EQ(OptControls, 1);
    EXPECT_EQ(OptBackground, 1);
    EXPECT_EQ(OptGameSpeed, 2);
    EXPECT_EQ(OptSfxVolume, 3);
    EXPECT_EQ(OptMusicVolume, 3);
    EXPECT_EQ(OptAltitudeMeter, 1);
    // Index 4 is level; -1 and 9 are 40 degrees either side, 8 degrees a step.
    const float sin40 = std::sin(40.0f * 3.14159265f / 180.0f);
    EXPECT_EQ(AngleSin[4], 0.0f);
    EXPECT_EQ(AngleCos[4], 1.0f);
    EXPECT_NEAR(AngleSin[9], sin40, 1e-6);
    EXPECT_NEAR(AngleSin[-1], -sin40, 1e-6);
    EXPECT_NEAR(AngleCos[-1], AngleCos[9], 1e-7);
    EXPECT_NEAR(AngleSin[5], std::sin(8.0f * 3.14159265f / 180.0f), 1e-6);
}

struct SetupCase {
    const char *name;
    const char *text; // nullptr: no setup file
    int bytesPerPixel;
};

class SetupFile : public ::testing::TestWithParam<SetupCase> {};

TEST_P(SetupFile, ChoosesTheColourDepth) {
    ScratchDirectory dir;
    if (GetParam().text != nullptr) WriteTextFile("Data/setup.dat", GetParam().text);
    WritePatternBmp("Graphics/mmenu.bgr", 640, 480, 1);
    ASSERT_EQ(RunStartUp(), 0);
    ASSERT_EQ(ScreenBytesPerPixel(), GetParam().bytesPerPixel);
    const ImageHeader header = ReadImageHeader(ScreenImages[MenuBackground]);
    ASSERT_EQ(header.bytesPerPixel, GetParam().bytesPerPixel);
    if (header.bytesPerPixel == 2) {
        const uint8_t *at = ScreenImages[MenuBackground].data() + kImageHeaderBytes +
                            (200 * kScreenWidth + 300) * 2;
        EXPECT_EQ(at[0] | (at[1] << 8), To565(PatternColour(1, 300, 200)));
    } else {
        EXPECT_EQ(PixelAt(ScreenImages[MenuBackground], 300, 200), PatternColour(1, 300, 200));
    }
}

// A missing file and a depth the game cannot draw both open 32 bits.
INSTANTIATE_TEST_SUITE_P(Depths, SetupFile,
                         ::testing::Values(SetupCase{"OneLine32", "0,0,32\n", 4},
                                           SetupCase{"ThreeLines32", "0\n0\n32\n", 4},
                                           SetupCase{"OneLine16", "0,0,16\n", 2},
                                           SetupCase{"CrLfLines15", "1\r\n0\r\n15\r\n", 2},
                                           SetupCase{"RoundedTo16", "0,0,15.5\n", 2},
                                           SetupCase{"Depth24", "0,0,24\n", 4},
                                           SetupCase{"Missing", nullptr, 4},
                                           SetupCase{"Unsupported8", "0,0,8\n", 4},
                                           SetupCase{"TwoFieldsOnly", "0,16\n", 4}),
                         [](const auto &info) { return std::string(info.param.name); });

struct HiScoreCase {
    const char *name;
    const char *text; // nullptr: no best-score file
    int32_t hiScore;
};

class HiScoreFile : public ::testing::TestWithParam<HiScoreCase> {};

TEST_P(HiScoreFile, IsReadAtStartUp) {
    ScratchDirectory dir;
    if (GetParam().text != nullptr) {
        std::string text = GetParam().text;
        ScrambleText(text, HiScoreKey);
        WriteTextFile("Data/hs.dat", text + "\r\n");
    }
    HiScore = -7;
    ASSERT_EQ(RunStartUp(), 0);
    EXPECT_EQ(HiScore, GetParam().hiScore);
}

INSTANTIATE_TEST_SUITE_P(Files, HiScoreFile,
                         ::testing::Values(HiScoreCase{"Whole", "1234", 1234},
                                           HiScoreCase{"HalfToEvenDown", "12.5", 12},
                                           HiScoreCase{"HalfToEvenUp", "13.5", 14},
                                           HiScoreCase{"Missing", nullptr, 0}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(StartUp, RefusesToStartWithoutItsFontSheet) {
    ScratchDirectory dir;
    WriteTextFile("Data/setup.dat", "0,0,32\n");
    WriteAllPictures();
    EXPECT_EQ(RunStartUp(false), 1);
}

} // namespace
} // namespace halvane
