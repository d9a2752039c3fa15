// The whole program against broken installations and being ended at any
// moment: pictures missing, empty, cut short or of another format, the
// Graphics folder gone, level files missing, short or junk, the screenshot
// folder gone, and the end of the program raised on every kind of screen.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "platform/image_file.h"
#include "platform/screen.h"
#include "tests/soak/soak_run.h"

namespace fs = std::filesystem;

namespace halvane {
namespace {

const char *const kPictures[] = {"mmenu.bgr",   "backg1.bgr",   "backg2.bgr",
                                 "backg3.bgr",  "backg4.bgr",   "briefscrn.bgr",
                                 "endgame.bgr", "zqsprite.spr", "crymsg.spr"};

// A copy of the project's Data and Graphics folders that a test may break.
class BrokenInstall : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "halvane-install-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        fs::copy(fs::path(HALVANE_SOURCE_DIR) / "Data", dir_ / "Data");
        fs::remove(dir_ / "Data/hs.dat");
        fs::copy(fs::path(HALVANE_SOURCE_DIR) / "Graphics", dir_ / "Graphics");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    void Write(const std::string &name, const std::string &bytes) {
        std::ofstream out(dir_ / name, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    std::string Read(const std::string &name) {
        std::ifstream in(dir_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Plays `frames` frames of play and checks that nothing broke.
    SoakResult Play(long frames) {
        const SoakResult r = RunSoak(dir_.string(), frames, 31);
        EXPECT_EQ(r.failure, "");
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.playFrames, frames);
        return r;
    }
    fs::path dir_;
};

TEST_F(BrokenInstall, BrokenPicturesOfEveryKindLeaveAPlayableGame) {
    // Missing, empty, cut after the header, cut in the pixels, a text file,
    // and a BMP of a depth the game refuses.
    std::vector<std::string> goods;
    for (const char *picture : kPictures)
        goods.push_back(Read(std::string("Graphics/") + picture));
    for (int kind = 0; kind < 6; ++kind) {
        for (std::size_t i = 0; i < goods.size(); ++i) {
            const std::string name = std::string("Graphics/") + kPictures[i];
            const std::string &good = goods[i];
            ASSERT_GT(good.size(), 60u) << name;
            if (kind == 0) fs::remove(dir_ / name);
            if (kind == 1) Write(name, "");
            if (kind == 2) Write(name, good.substr(0, 60));
            if (kind == 3) Write(name, good.substr(0, good.size() / 2));
            if (kind == 4) Write(name, "this is not a picture\n");
            if (kind == 5) {
                std::string sixteen = good;
                sixteen[28] = 16;
                Write(name, sixteen);
            }
        }
        SCOPED_TRACE("kind " + std::to_string(kind));
        Play(300);
    }
}

TEST_F(BrokenInstall, WithoutGraphicsTheGameSaysWhatIsMissingAndStops) {
    fs::remove_all(dir_ / "Graphics");
    ::testing::internal::CaptureStderr();
    const SoakResult r = RunSoak(dir_.string(), 100, 31);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.presents, 0);
    EXPECT_NE(said.find("Graphics/zqfont.fnt"), std::string::npos) << said;
}

TEST_F(BrokenInstall, BrokenLevelFilesArePlayedOverGeneratedTerrain) {
    const std::string good = Read("Data/level3.dat");
    fs::remove(dir_ / "Data/level1.dat");
    Write("Data/level2.dat", good.substr(0, good.size() / 3));
    std::string junk = good;
    for (std::size_t i = 0; i < junk.size(); i += 7)
        junk[i] = static_cast<char>("x\"\r,-.e"[i % 7]);
    Write("Data/level3.dat", junk);
    Write("Data/level4.dat", std::string(5000, '\xff'));
    Write("Data/level5.dat", "1e39,-1e39,nan,inf," + good);
    const SoakResult r = Play(6000);
    EXPECT_GE(r.levelsCompleted, 1);
}

TEST_F(BrokenInstall, EndedOnAnyScreenTheGameExitsCleanlyWithTheBestScoreWhole) {
    // A first run counts the pages of a won game and a lost one; then the
    // game is ended at pages spread over them, as a closed window or SIGTERM
    // would end it (menu, briefings, play, statistics, fly-out, epilogue,
    // best-score screen, game over).
    const SoakResult whole = RunSoak(dir_.string(), 16000, 77);
    ASSERT_EQ(whole.failure, "");
    ASSERT_GE(whole.gamesWon, 1);
    ASSERT_GE(whole.gamesLost, 1);
    constexpr int kEnds = 6;
    for (int i = 0; i < kEnds; ++i) {
        fs::remove(dir_ / "Data/hs.dat");
        const long at = 1 + whole.presents * i / kEnds;
        const SoakResult r = RunSoak(dir_.string(), 16000, 77, at);
        EXPECT_EQ(r.exitCode, 0) << "ended at page " << at;
        EXPECT_EQ(r.presents, at);
        EXPECT_TRUE(r.bestScoreKept) << "ended at page " << at;
    }
    // And in the middle of play, in the first level and a later one.
    for (long frame : {400L, 7000L}) {
        fs::remove(dir_ / "Data/hs.dat");
        const SoakResult r = RunSoak(dir_.string(), frame, 77);
        EXPECT_EQ(r.exitCode, 0) << "ended at frame " << frame;
        EXPECT_TRUE(r.bestScoreKept) << "ended at frame " << frame;
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
