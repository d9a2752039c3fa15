// The whole program against broken installations and being ended at any
// moment: pictures missing, empty, cut short or of another format, the
// Graphics folder gone, level files missing, short or junk, the screenshot
// folder gone, and the end of the program raised on every kind of screen.
#include <filesystem>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "platform/image_file.h"
#include "platform/screen.h"
#include "tests/files/temp_dir.h"
#include "tests/soak/soak_run.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

// A copy of the shipped Data and Graphics folders that a test may break.
class BrokenInstall : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        fs::copy(fs::path(HALVANE_SOURCE_DIR) / "Data", "Data");
        fs::copy(fs::path(HALVANE_SOURCE_DIR) / "Graphics", "Graphics");
    }
    static std::string Read(const std::string &name) {
        const std::vector<uint8_t> bytes = ReadBytes(name);
        return {bytes.begin(), bytes.end()};
    }
    // Plays `frames` frames of play and checks that nothing broke.
    SoakResult Play(long frames, long endAtPresent = 0) {
        const SoakResult r = RunSoak(dir_.string(), frames, 77, endAtPresent);
        EXPECT_EQ(r.failure, "");
        EXPECT_EQ(r.exitCode, 0);
        if (endAtPresent == 0) {
            EXPECT_EQ(r.playFrames, frames);
        }
        return r;
    }
};

TEST_F(BrokenInstall, BrokenPicturesOfEveryKindLeaveAPlayableGame) {
    const char *const pictures[] = {"mmenu.bgr",   "backg1.bgr",   "backg2.bgr",
                                    "backg3.bgr",  "backg4.bgr",   "briefscrn.bgr",
                                    "endgame.bgr", "zqsprite.spr", "crymsg.spr"};
    std::vector<std::string> goods;
    for (const char *picture : pictures)
        goods.push_back(Read(std::string("Graphics/") + picture));
    // Missing, empty, cut after the header, cut in the pixels, a text file,
    // and a BMP of a depth the game refuses.
    for (int kind = 0; kind < 6; ++kind) {
        for (std::size_t i = 0; i < goods.size(); ++i) {
            const std::string name = std::string("Graphics/") + pictures[i];
            std::string sixteen = goods[i];
            sixteen[28] = 16;
            const std::string broken[] = {"",
                                          "",
                                          goods[i].substr(0, 60),
                                          goods[i].substr(0, goods[i].size() / 2),
                                          "this is not a picture\n",
                                          sixteen};
            WriteText(name, broken[kind]);
            if (kind == 0) fs::remove(name);
        }
        SCOPED_TRACE("kind " + std::to_string(kind));
        Play(300);
    }
}

TEST_F(BrokenInstall, WithoutGraphicsTheGameSaysWhatIsMissingAndStops) {
    fs::remove_all("Graphics");
    ::testing::internal::CaptureStderr();
    const SoakResult r = RunSoak(dir_.string(), 100, 31);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.presents, 0);
    EXPECT_NE(said.find("Graphics/zqfont.fnt"), std::string::npos) << said;
}

TEST_F(BrokenInstall, BrokenLevelFilesArePlayedOverGeneratedTerrain) {
    const std::string good = Read("Data/level3.dat");
    fs::remove("Data/level1.dat");
    WriteText("Data/level2.dat", good.substr(0, good.size() / 3));
    std::string junk = good;
    for (std::size_t i = 0; i < junk.size(); i += 7)
        junk[i] = "x\"\r,-.e"[i % 7];
    WriteText("Data/level3.dat", junk);
    WriteText("Data/level4.dat", std::string(5000, '\xff'));
    WriteText("Data/level5.dat", "1e39,-1e39,nan,inf," + good);
    EXPECT_GE(Play(6000).levelsCompleted, 1);
}

TEST_F(BrokenInstall, EndedOnAnyScreenTheGameExitsCleanlyWithTheBestScoreWhole) {
    // A first run counts the pages of a won game and a lost one; then the
    // game is ended at pages spread over them, as a closed window or SIGTERM
    // would end it (menu, briefings, play, statistics, fly-out, epilogue,
    // best-score screen, game over), and in play in the first level and a
    // later one.
    const SoakResult whole = Play(16000);
    ASSERT_GE(whole.gamesWon, 1);
    ASSERT_GE(whole.gamesLost, 1);
    for (int i = 0; i < 6; ++i) {
        const long at = 1 + whole.presents * i / 6;
        SCOPED_TRACE("ended at page " + std::to_string(at));
        const SoakResult r = Play(16000, at);
        EXPECT_EQ(r.presents, at);
        EXPECT_TRUE(r.bestScoreKept);
    }
    for (long frame : {400L, 7000L}) {
        SCOPED_TRACE("ended at frame " + std::to_string(frame));
        EXPECT_TRUE(Play(frame).bestScoreKept);
    }
}

TEST(ScreenshotFaults, AFolderThatIsGoneTakesNoShotAndTheGameGoesOn) {
    const fs::path home = fs::current_path();
    std::string pattern = (fs::temp_directory_path() / "halvane-gone-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    fs::current_path(pattern);
    fs::remove(pattern); // nothing can be created here, not even by the superuser
    OpenOffscreenPages(32);
    ScreenshotNumber = 1;
    TakeScreenshot();
    EXPECT_FALSE(SaveScreenImage("shot.bmp"));
    EXPECT_FALSE(fs::exists("screenshot1.bmp"));
    ScreenshotNumber += 1; // as the callers do
    TakeScreenshot();
    EXPECT_EQ(ScreenshotNumber, 2);
    fs::current_path(home);
}

} // namespace
} // namespace halvane
