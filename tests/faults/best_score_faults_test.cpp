// The best-score file against hand edits, a folder in its place, a folder
// that cannot take a file, a full disk and a kill in the middle of the write:
// start-up always reads a number, and the file always holds the old best or
// the new one, never a torn one.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

#include "screens/hiscore_file.h"
#include "tests/files/temp_dir.h"

namespace halvane {
namespace {

class BestScoreFaults : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        std::filesystem::create_directory("Data");
    }
    static std::string Scrambled(std::string text) {
        ScrambleText(std::span<char>(text.data(), text.size()), HiScoreKey);
        return text;
    }
};

TEST_F(BestScoreFaults, HandEditedFilesReadAsANumberAndTakeANewBest) {
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
    // Random junk of every length reads as some number, never a crash.
    std::mt19937 gen(5);
    for (int i = 0; i < 200; ++i) {
        std::vector<uint8_t> junk(static_cast<std::size_t>(gen() % 64));
        for (uint8_t &b : junk)
            b = static_cast<uint8_t>(gen());
        WriteBytes(kHiScoreFileName, junk);
        ReadHiScoreFile();
    }
}

TEST_F(BestScoreFaults, AFolderInPlaceOfTheFileReadsZeroAndIsLeftAlone) {
    std::filesystem::create_directory(kHiScoreFileName);
    EXPECT_EQ(ReadHiScoreFile(), 0);
    EXPECT_FALSE(WriteHiScoreFile(500));
    EXPECT_TRUE(std::filesystem::is_directory(kHiScoreFileName));
    EXPECT_FALSE(std::filesystem::exists(kHiScoreTempName));
}

TEST_F(BestScoreFaults, AFolderThatTakesNoFileFailsTheWriteWithoutATrace) {
    // A file where the Data folder should be: nothing can be created below
    // it, whoever runs the game (permissions do not stop the superuser).
    std::filesystem::remove("Data");
    WriteText("Data", "not a folder");
    EXPECT_EQ(ReadHiScoreFile(), 0);
    EXPECT_FALSE(WriteHiScoreFile(500));
    EXPECT_EQ(ReadBytes("Data").size(), 12u);
}

TEST_F(BestScoreFaults, AFullDiskKeepsTheOldBest) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    ASSERT_TRUE(WriteHiScoreFile(1200));
    const auto before = ReadBytes(kHiScoreFileName);
    // Every write to /dev/full fails as on a full disk.
    std::filesystem::create_symlink("/dev/full", kHiScoreTempName);
    EXPECT_FALSE(WriteHiScoreFile(99995));
    EXPECT_EQ(ReadBytes(kHiScoreFileName), before);
    EXPECT_EQ(ReadHiScoreFile(), 1200);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(kHiScoreTempName)));
    // The next write, with room on the disk, goes through.
    EXPECT_TRUE(WriteHiScoreFile(99995));
    EXPECT_EQ(ReadHiScoreFile(), 99995);
}

TEST_F(BestScoreFaults, AKillDuringTheWriteLeavesTheOldOrTheNewBest) {
    // Two scores of different lengths, so that a torn file would show.
    constexpr float kShort = 5;
    constexpr float kLong = 1234565;
    ASSERT_TRUE(WriteHiScoreFile(kShort));
    std::mt19937 gen(11);
    int seenLong = 0;
    for (int round = 0; round < 25; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i)
                WriteHiScoreFile(i % 2 == 0 ? kLong : kShort);
        }
        usleep(static_cast<useconds_t>(200 + gen() % 20000));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));
        const auto bytes = ReadBytes(kHiScoreFileName);
        const int32_t best = ReadHiScoreFile();
        ASSERT_TRUE((best == 5 && bytes.size() == 3) || (best == 1234565 && bytes.size() == 9))
            << "round " << round << ": " << best << " in " << bytes.size() << " bytes";
        seenLong += best == 1234565;
    }
    // A temporary file left by the kill does not stop the next write.
    ASSERT_TRUE(WriteHiScoreFile(40));
    EXPECT_EQ(ReadHiScoreFile(), 40);
    std::printf("kill during the write: the longer score found %d times of 25\n", seenLong);
}

} // namespace
} // namespace halvane
