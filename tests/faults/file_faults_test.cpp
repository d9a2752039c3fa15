// The best-score file against hand edits, folders in the way, a full disk
// and a kill in the middle of the write: start-up always reads a number, and
// the file always holds the old best or the new one, never a torn one. And
// pipes, devices and folders in place of the game's files.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

#include "platform/image_file.h"
#include "platform/screen.h"
#include "platform/text_fields.h"
#include "screens/hiscore_file.h"
#include "tests/files/temp_dir.h"
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
    // A file where the Data folder should be: nothing can be created below
    // it, whoever runs the game (permissions do not stop the superuser).
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
        if (child == 0) {
            for (int i = 0;; ++i)
                WriteHiScoreFile(i % 2 == 0 ? 1234565 : 5);
        }
        usleep(static_cast<useconds_t>(200 + gen() % 20000));
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

} // namespace
} // namespace halvane
