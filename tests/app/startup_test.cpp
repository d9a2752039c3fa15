// Start-up as a whole, headless, in a temporary folder with pictures the test paints.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <span>
#include <tuple>

#include "app/startup.h"
#include "core/game_state.h"
#include "core/image_store.h"
#include "platform/file_places.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "render/models.h"
#include "screens/hiscore_file.h"
#include "tests/files/bmp_file.h"
#include "tests/files/temp_dir.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

constexpr double kQuitTime = 101.0; // Up moves LAUNCH to QUIT, Enter quits
constexpr int kSpriteSeed = 20, kMessageSeed = 30;

// Every channel depends on the position and the seed, so a shifted,
// mirrored or swapped copy shows.
uint32_t PatternColour(int seed, int x, int y) {
    return ((x * 3 + seed * 40) & 0xFF) << 16 | ((y * 5 + seed * 17) & 0xFF) << 8 |
           ((x + 2 * y + seed * 91) & 0xFF);
}

// The pixels of a w x h, 32-bit `image` that differ from pattern `seed` cut
// at (x1, y1); -1 when the image has another size or depth.
int WrongPixels(std::span<const uint8_t> image, int seed, int x1, int y1, int w, int h) {
    const ImageHeader header = ReadImageHeader(image);
    if (header.width != w || header.height != h || header.bytesPerPixel != 4) return -1;
    int wrong = 0;
    for (int i = 0; i < w * h; ++i) {
        uint32_t pixel = 0;
        std::memcpy(&pixel, image.data() + kImageHeaderBytes + i * 4, 4);
        wrong += pixel != PatternColour(seed, x1 + i % w, y1 + i / w);
    }
    return wrong;
}

// The whole start-up, ended by Up and then Enter on QUIT; returns the exit code.
int RunStartUp() {
    static std::array<ScriptStep, 4> steps{};
    steps[1].time = kQuitTime, steps[2].time = kQuitTime + 0.2, steps[3].time = kQuitTime + 0.4;
    steps[1].state.keys[kKeyUp] = steps[3].state.keys[kKeyEnter] = true;
    UseScript(steps);
    HeadlessSetClock(100);
    return HeadlessRun(StartUp);
}

// A working folder with Data/, Graphics/ and the shipped font, without which
// the game will not start.
class StartUpTest : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        fs::create_directories("Data");
        fs::create_directories("Graphics");
        fs::copy_file(HALVANE_SOURCE_DIR "/Graphics/zqfont.fnt", "Graphics/zqfont.fnt");
    }
    // A w x h 24-bit BMP painted with PatternColour.
    static void WritePatternBmp(const std::string &path, int w, int h, int seed) {
        WriteBytes(path,
                   MakeBmp(w, h, 24, [seed](int x, int y) { return PatternColour(seed, x, y); }));
    }
};

TEST_F(StartUpTest, PicturesLandInTheirSlotsAndTheMenuShowsUntilQuit) {
    WriteText("Data/setup.dat", "0,0,32\n");
    const char *names[] = {"mmenu", "backg1", "backg2", "backg4", "briefscrn", "endgame"};
    for (int slot : {1, 2, 3, 5, 6, 7}) // no backg3: its slot repeats the one before
        WritePatternBmp(std::string("Graphics/") + names[slot - (slot > 4) - 1] + ".bgr", 640, 480,
                        slot);
    WritePatternBmp("Graphics/zqsprite.spr", 128, 16, kSpriteSeed);
    WritePatternBmp("Graphics/crymsg.spr", 320, 100, kMessageSeed);
    ASSERT_EQ(RunStartUp(), 0);

    for (int slot : {1, 2, 3, 5, 6, 7})
        EXPECT_EQ(WrongPixels(ScreenImages[slot], slot, 0, 0, 640, 480), 0) << "slot " << slot;
    EXPECT_TRUE(ScreenImages[LevelBackground3] == ScreenImages[LevelBackground2]);
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
    for (const Cut &c : cuts)
        EXPECT_EQ(
            WrongPixels(Sprites[c.slot], c.seed, c.x1, c.y1, c.x2 - c.x1 + 1, c.y2 - c.y1 + 1), 0)
            << "sprite " << c.slot;
    EXPECT_NEAR(AngleSin[9], std::sin(40 * 3.14159265 / 180), 1e-6); // the tables are filled
    // The menu was shown until the keys, then QUIT's fade ended the run.
    EXPECT_GE(HeadlessPresentCount(), 50u);
    EXPECT_TRUE(HeadlessClock() >= kQuitTime + 0.4 && HeadlessClock() < kQuitTime + 1.5);
    EXPECT_EQ(WorkPageIndex(), 1);
    EXPECT_EQ(VisiblePageIndex(), 0);
}

// The setup file's text and the bytes per pixel it opens; the best-score
// file's text and the best score read ("none": no file).
using Files = std::tuple<std::string, int, std::string, int32_t>;

class StartUpFiles : public StartUpTest, public ::testing::WithParamInterface<Files> {};

TEST_P(StartUpFiles, ChooseTheColourDepthAndTheBestScore) {
    const auto [setup, bytesPerPixel, best, hiScore] = GetParam();
    if (setup != "none") WriteText("Data/setup.dat", setup);
    if (best != "none") {
        std::string text = best;
        ScrambleText(text, HiScoreKey);
        WriteText("Data/hs.dat", text + "\r\n");
    }
    WritePatternBmp("Graphics/mmenu.bgr", 640, 480, 1); // kept at the page's depth
    HiScore = -7;
    ASSERT_EQ(RunStartUp(), 0);
    EXPECT_EQ(HiScore, hiScore);
    ASSERT_EQ(ScreenBytesPerPixel(), bytesPerPixel);
    ASSERT_EQ(ReadImageHeader(ScreenImages[MenuBackground]).bytesPerPixel, bytesPerPixel);
}

// Setup: one line or three, CR LF, a rounded depth; a missing file, a depth
// the game cannot draw and a short file all open 32 bits. Best score: halves
// round to even.
INSTANTIATE_TEST_SUITE_P(
    Depths, StartUpFiles,
    ::testing::Values(Files{"0,0,32\n", 4, "1234", 1234}, Files{"0\n0\n32\n", 4, "12.5", 12},
                      Files{"0,0,16\n", 2, "13.5", 14}, Files{"1\r\n0\r\n15\r\n", 2, "none", 0},
                      Files{"0,0,15.5\n", 2, "none", 0}, Files{"0,0,24\n", 4, "none", 0},
                      Files{"none", 4, "none", 0}, Files{"0,0,8\n", 4, "none", 0},
                      Files{"0,16\n", 4, "none", 0}));

// The command line's screen mode and depth replace the file's for the run;
// the file keeps its bytes. Overrides of -1 keep the file's values.
struct Override {
    std::string setup;
    int screenMode, colourDepth; // the overrides
    float flags, depth;          // what ReadSetup then holds
    int bytesPerPixel;           // the screen StartUp opens
};

TEST_F(StartUpTest, CommandLineOverridesTheSetupFileForThisRunOnly) {
    const Override cases[] = {
        {"1,0,32\n", -1, -1, 1, 32, 4}, {"1,0,32\n", 0, -1, 0, 32, 4},
        {"0,0,32\n", 1, 16, 1, 16, 2},  {"0,0,16\n", -1, 32, 0, 32, 4},
        {"none", 1, 16, 1, 16, 2},      {"0,0,24\n", -1, 16, 0, 16, 2},
    };
    for (const Override &c : cases) {
        std::error_code ignored;
        fs::remove("Data/setup.dat", ignored);
        if (c.setup != "none") WriteText("Data/setup.dat", c.setup);
        ScreenModeOverride = c.screenMode;
        ColourDepthOverride = c.colourDepth;
        ReadSetup();
        EXPECT_EQ(SetupScreenFlags, c.flags) << c.setup << " " << c.screenMode;
        EXPECT_EQ(SetupColourDepth, c.depth) << c.setup << " " << c.colourDepth;
        if (c.setup != "none") {
            const std::vector<uint8_t> bytes = ReadBytes("Data/setup.dat");
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), c.setup);
        } else {
            EXPECT_FALSE(fs::exists("Data/setup.dat"));
        }
    }
    // The whole start-up opens the depth asked for.
    WriteText("Data/setup.dat", "0,0,32\n");
    ColourDepthOverride = 16;
    ASSERT_EQ(RunStartUp(), 0);
    EXPECT_EQ(ScreenBytesPerPixel(), 2);
    const std::vector<uint8_t> bytes = ReadBytes("Data/setup.dat");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "0,0,32\n");
}

// Installed: the pictures and setup from the installed folder, the best score
// from the player's; --data to a folder without Graphics/ refuses to start as
// a checkout without its font sheet does, naming the file it looked for.
TEST_F(StartUpTest, InstalledAndGivenFoldersFeedTheStartUp) {
    fs::create_directories("inst");
    fs::rename("Data", "inst/Data");
    fs::rename("Graphics", "inst/Graphics");
    WriteText("inst/Data/setup.dat", "0,0,16\n");
    WritePatternBmp("inst/Graphics/mmenu.bgr", 640, 480, 1);
    const std::string root = fs::current_path().string();
    FilePlaces installed =
        ChooseFilePlaces({nullptr, nullptr, root.c_str(), (root + "/inst").c_str()});
    ASSERT_EQ(installed.layout, FileLayout::Installed);
    PreparePlayerFolder(installed);
    std::string best = "4321";
    ScrambleText(best, HiScoreKey);
    WriteText(root + "/.local/share/halvane/hs.dat", best + "\r\n");
    UseFilePlaces(installed);
    ASSERT_EQ(RunStartUp(), 0);
    EXPECT_EQ(HiScore, 4321);
    EXPECT_EQ(ScreenBytesPerPixel(), 2); // the shipped setup, copied for the player
    EXPECT_EQ(ReadImageHeader(ScreenImages[MenuBackground]).bytesPerPixel, 2);

    fs::create_directories("nographics/Data");
    UseFilePlaces(ChooseFilePlaces({"nographics", nullptr, nullptr, nullptr}));
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(HeadlessRun(StartUp), 1);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("cannot read the font sheet " + root + "/nographics/Graphics/zqfont.fnt"),
              std::string::npos)
        << said;
}

} // namespace
} // namespace halvane
