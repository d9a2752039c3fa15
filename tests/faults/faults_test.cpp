// Hostile files and broken installations: the best-score file edited, blocked, on a full
// disk or killed mid-write; pipes in place of files; pictures, levels and folders broken.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <random>

#include "core/game_state.h"
#include "platform/image_file.h"
#include "platform/screen.h"
#include "platform/text_fields.h"
#include "screens/hiscore_file.h"
#include "tests/files/temp_dir.h"
#include "tests/soak/soak_run.h"
#include "world/level_file.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

class FileFaults : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        fs::create_directory("Data");
    }
};

std::string Scrambled(std::string text) {
    ScrambleText(text, HiScoreKey);
    return text;
}

TEST_F(FileFaults, HandEditedBestScoresReadAsANumberAndTakeANewBest) {
    const std::string full = Scrambled("123456");
    struct Case {
        std::string bytes;
        int32_t expected;
    } cases[] = {
        {full.substr(0, 3), 123},                                // cut short, no line end
        {full + "\r\n" + full + "\r\n", 123456},                 // a second line is ignored
        {Scrambled("99999999999999999999") + "\r\n", INT32_MAX}, // saturates
        {Scrambled("-99999999999") + "\r\n", INT32_MIN},
        {"", 0},
        {std::string("\0\0\0\xff\x01", 5), 0},
        {std::string(300000, '\xa0'), 0}, // one field longer than any buffer
    };
    for (const Case &c : cases) {
        WriteText(kHiScoreFileName, c.bytes);
        EXPECT_EQ(ReadHiScoreFile(), c.expected) << c.bytes.size() << " bytes";
        ASSERT_TRUE(WriteHiScoreFile(750));
        EXPECT_EQ(ReadHiScoreFile(), 750);
    }
}

TEST_F(FileFaults, FoldersInTheWayReadZeroAndFailTheWriteWithoutATrace) {
    fs::create_directory(kHiScoreFileName);
    EXPECT_EQ(ReadHiScoreFile(), 0);
    EXPECT_FALSE(WriteHiScoreFile(500));
    EXPECT_TRUE(fs::is_directory(kHiScoreFileName));
    EXPECT_FALSE(fs::exists(kHiScoreTempName));
    // A file in place of the Data folder stops even the superuser.
    fs::remove_all("Data");
    WriteText("Data", "not a folder");
    EXPECT_EQ(ReadHiScoreFile(), 0);
    EXPECT_FALSE(WriteHiScoreFile(500));
    EXPECT_EQ(ReadBytes("Data").size(), 12u);
}

TEST_F(FileFaults, AFullDiskKeepsTheOldBest) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    ASSERT_TRUE(WriteHiScoreFile(1200));
    const auto before = ReadBytes(kHiScoreFileName);
    fs::create_symlink("/dev/full", kHiScoreTempName); // every write fails as on a full disk
    EXPECT_FALSE(WriteHiScoreFile(99995));
    EXPECT_EQ(ReadBytes(kHiScoreFileName), before);
    EXPECT_FALSE(fs::exists(fs::symlink_status(kHiScoreTempName)));
    // The next write, with room on the disk, goes through.
    EXPECT_TRUE(WriteHiScoreFile(99995));
    EXPECT_EQ(ReadHiScoreFile(), 99995);
}

TEST_F(FileFaults, AKillDuringTheWriteLeavesTheOldOrTheNewBest) {
    // Two scores of different lengths, so that a torn file would show.
    ASSERT_TRUE(WriteHiScoreFile(5));
    std::mt19937 gen(11);
    int seenLong = 0;
    for (int round = 0; round < 25; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        for (int i = 0; child == 0; ++i) // the child writes until it is killed
            WriteHiScoreFile(i % 2 == 0 ? 1234565 : 5);
        usleep(useconds_t(200 + gen() % 20000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        const std::size_t bytes = ReadBytes(kHiScoreFileName).size();
        const int32_t best = ReadHiScoreFile();
        ASSERT_TRUE((best == 5 && bytes == 3) || (best == 1234565 && bytes == 9))
            << "round " << round << ": " << best << " in " << bytes << " bytes";
        seenLong += best == 1234565;
    }
    // A temporary file left by the kill does not stop the next write.
    ASSERT_TRUE(WriteHiScoreFile(40));
    EXPECT_EQ(ReadHiScoreFile(), 40);
    std::printf("kill during the write: the longer score found %d times of 25\n", seenLong);
}

// Before the readers checked for plain files, a named pipe in place of a
// file hung the game for good (nothing ever writes to it).
TEST_F(FileFaults, PipesDevicesAndFoldersReadAsMissingFilesAtOnce) {
    for (const char *name : {kHiScoreFileName, "Data/level1.dat", "picture.bmp"})
        ASSERT_EQ(mkfifo(name, 0644), 0) << name;
    fs::create_directory("folder.bmp");
    EXPECT_EQ(ReadHiScoreFile(), 0);
    EXPECT_FALSE(LevelFileComplete("Data/level1.dat"));
    OpenOffscreenPages(32);
    for (const char *name : {"picture.bmp", "folder.bmp", "/dev/zero"})
        EXPECT_EQ(LoadImageFile(name), kImageCannotOpen) << name;
    OpenForReading(2, "/dev/zero");
    EXPECT_EQ(ReadIntField(2), 0);
    EXPECT_FALSE(LastFieldHadNumber(2));
    CloseFile(2);
    // A new best still replaces the pipe with a file.
    ASSERT_TRUE(WriteHiScoreFile(35));
    EXPECT_EQ(ReadHiScoreFile(), 35);
}

TEST_F(FileFaults, AScreenshotFolderThatIsGoneTakesNoShotAndTheGameGoesOn) {
    fs::create_directory("gone");
    fs::current_path("gone");
    fs::remove(dir_ / "gone"); // nothing can be created here, not even by the superuser
    OpenOffscreenPages(32);
    ScreenshotNumber = 1;
    TakeScreenshot();
    EXPECT_FALSE(SaveScreenImage("shot.bmp"));
    EXPECT_FALSE(fs::exists("screenshot1.bmp"));
    ScreenshotNumber += 1; // as the callers do
    TakeScreenshot();
    EXPECT_EQ(ScreenshotNumber, 2);
}

// A copy of the shipped Data and Graphics folders to break, played by the pilot.
class BrokenInstall : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        fs::copy(fs::path(HALVANE_SOURCE_DIR) / "Data", "Data");
        fs::copy(fs::path(HALVANE_SOURCE_DIR) / "Graphics", "Graphics");
    }
    static std::string Read(const fs::path &name) {
        const std::vector<uint8_t> bytes = ReadBytes(name);
        return {bytes.begin(), bytes.end()};
    }
    // Plays `frames` frames of play and checks that nothing broke.
    SoakResult Play(long frames) {
        const SoakResult r = RunSoak(dir_.string(), frames, 31);
        EXPECT_EQ(r.failure, "");
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.playFrames, frames);
        return r;
    }
};

TEST_F(BrokenInstall, BrokenPicturesOfEveryKindLeaveAPlayableGame) {
    std::vector<std::pair<fs::path, std::string>> goods; // every picture but the font
    for (const auto &entry : fs::directory_iterator("Graphics"))
        if (entry.path().extension() != ".fnt") goods.push_back({entry.path(), Read(entry.path())});
    ASSERT_EQ(goods.size(), 9u);
    // Missing, empty, cut in the header or pixels, text, and a depth the game refuses.
    for (int kind = 0; kind < 6; ++kind) {
        for (auto &[name, good] : goods) {
            const std::size_t keep[] = {0, 0, 60, good.size() / 2, 0, good.size()};
            std::string bytes = kind == 4 ? "this is not a picture\n" : good.substr(0, keep[kind]);
            if (kind == 5) bytes[28] = 16;
            WriteText(name, bytes);
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

TEST_F(BrokenInstall, BrokenLevelFilesArePlayedClampedOrOverGeneratedTerrain) {
    const std::string good = Read("Data/level3.dat");
    std::string huge = good; // every "6." becomes "9e39", beyond any float
    for (std::size_t at = huge.find("6."); at != std::string::npos; at = huge.find("6.", at))
        huge.replace(at, 2, "9e39");
    WriteText("Data/level1.dat", huge);
    fs::remove("Data/level2.dat");
    WriteText("Data/level3.dat", good.substr(0, good.size() / 3));
    std::string junk = good;
    for (std::size_t i = 0; i < junk.size(); i += 7)
        junk[i] = "x\"\r,-.e"[i % 7];
    WriteText("Data/level4.dat", junk);
    WriteText("Data/level5.dat", std::string(5000, '\xff'));
    EXPECT_GE(Play(8000).levelsCompleted, 1);
}

} // namespace
} // namespace halvane
