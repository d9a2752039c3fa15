// The best-score check: when it writes, what it writes, the congratulation
// and its keys, and files that cannot be written.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/game_state.h"
#include "platform/audio.h"
#include "platform/headless.h"
#include "platform/screen.h"
#include "render/font.h"
#include "screens/hiscore_check.h"
#include "screens/hiscore_file.h"
#include "tests/files/temp_dir.h"
#include "tests/screens/screens_harness.h"

namespace halvane {
namespace {

class HiScoreCheck : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        std::filesystem::create_directory("Data");
        PrepareScreens();
    }
    // The file an earlier game left with the best 40.
    std::vector<uint8_t> WriteOldBest() {
        std::string text = "40";
        ScrambleText(text, HiScoreKey);
        WriteText("Data/hs.dat", text + "\r\n");
        HiScore = 40;
        return ReadBytes("Data/hs.dat");
    }
};

TEST_F(HiScoreCheck, AFirstBestOfFiveWritesThreeBytesAndCongratulates) {
    Score = 5;
    HoldKey(kKeyEnter, 0, 0.2);
    HoldKey(kKeyEnter, 0.25, 2.0);
    CheckHiScore();

    EXPECT_EQ(ReadBytes("Data/hs.dat"), (std::vector<uint8_t>{'5' + 'b', 0x0D, 0x0A}));
    EXPECT_FALSE(std::filesystem::exists("Data/hs.dat.tmp"));
    EXPECT_EQ(HiScore, 5);
    // Fading in by 15 from 0, taking the held Enter at 165, then out to 0.
    ASSERT_EQ(ShotCount, 11 + 11);
    EXPECT_GE(Shots[0].time, 0.2);
    for (int i = 0; i < 22; ++i)
        EXPECT_EQ(Shots[i].fade, i < 11 ? 15 * (i + 1) : 150 - 15 * (i - 11));
    ClearWorkPage();
    DrawTextBlended(180, 190, "Congratulations! You beat the hi-score!", GameFont, 2, 165);
    DrawTextBlended(234, 210, "The new hi-score is 5.", GameFont, 2, 165);
    DrawTextBlended(199, 240, "Press ENTER or left mouse button", GameFont, 2, 165);
    EXPECT_EQ(Shots[10].hash, WorkPageHash());
    EXPECT_GE(HeadlessClock() - kStart, 2.0); // released before the menu
    EXPECT_EQ(Sounds[0].kind, SoundKind::Stop);
}

TEST_F(HiScoreCheck, AnEqualScoreChangesNothing) {
    const auto before = WriteOldBest();
    Score = 40;
    CheckHiScore();
    EXPECT_EQ(ReadBytes("Data/hs.dat"), before);
    EXPECT_EQ(ShotCount, 0);
    EXPECT_EQ(HiScore, 40);
}

TEST_F(HiScoreCheck, SpaceNeitherHoldsTheCheckUpNorConfirms) {
    Score = 1234;
    HoldKey(kKeySpace, 0, 3.0);
    HoldButtons(kMouseLeft, 2.0, 2.1);
    CheckHiScore();
    ASSERT_GT(ShotCount, 60);
    EXPECT_LT(Shots[0].time, 0.1);
    // Faded in to 255 and held there until the click; 17 frames out from there.
    EXPECT_EQ(Shots[ShotCount - 80].fade, 255);
    EXPECT_EQ(Shots[ShotCount - 18].fade, 255);
    EXPECT_GE(Shots[ShotCount - 18].time, 2.0);
    EXPECT_EQ(ReadBytes("Data/hs.dat").size(), 6u);
}

TEST_F(HiScoreCheck, AFileThatCannotBeWrittenIsSkippedAndTheOldBestKept) {
    const auto before = WriteOldBest();
    Score = 100;
    HoldKey(kKeyEnter, 0.5, 0.6);
    // A full disk: the new file beside the old one cannot be flushed.
    if (std::filesystem::exists("/dev/full")) {
        std::filesystem::create_symlink("/dev/full", "Data/hs.dat.tmp");
        CheckHiScore();
        EXPECT_EQ(ReadBytes("Data/hs.dat"), before);
        EXPECT_FALSE(std::filesystem::is_symlink("Data/hs.dat.tmp"));
        EXPECT_EQ(HiScore, 100); // raised for this run all the same
        EXPECT_GT(ShotCount, 0);
    }
    // A name that cannot be opened for writing.
    std::filesystem::create_directory("Data/hs.dat.tmp");
    EXPECT_FALSE(WriteHiScoreFile(100));
    EXPECT_EQ(ReadBytes("Data/hs.dat"), before);
    std::filesystem::remove("Data/hs.dat.tmp");
    // A read-only folder (the superuser writes anyway, so only for others).
    if (geteuid() != 0) {
        chmod("Data", 0555);
        EXPECT_FALSE(WriteHiScoreFile(100));
        EXPECT_EQ(ReadBytes("Data/hs.dat"), before);
        chmod("Data", 0755);
    }
    EXPECT_TRUE(WriteHiScoreFile(100)); // a write that can go through replaces it whole
    EXPECT_EQ(ReadHiScoreFile(), 100);
}

} // namespace
} // namespace halvane
