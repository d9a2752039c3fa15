#include "screens/hiscore_file.h"

#include <climits>
#include <string>

#include "temp_dir.h"

namespace halvane {
namespace {

std::string Scrambled(std::string text, std::string_view key = HiScoreKey) {
    ScrambleText(text, key);
    return text;
}

class HiScoreFileTest : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        std::filesystem::create_directory("Data");
    }
    // Writes the file as a hand or an older game would: scrambled text, CR LF.
    void WriteScrambled(const std::string &text) {
        WriteText("Data/hs.dat", Scrambled(text) + "\r\n");
    }
};

TEST(Scramble, EveryByteValueAndLengthComesBack) {
    for (std::size_t length = 0; length <= 13; ++length) {
        for (int start = 0; start < 256; ++start) {
            std::string text(length, '\0');
            for (std::size_t i = 0; i < length; ++i)
                text[i] = static_cast<char>(start + 37 * i);
            std::string copy = text;
            ScrambleText(copy, HiScoreKey);
            UnscrambleText(copy, HiScoreKey);
            ASSERT_EQ(copy, text) << "length " << length << " start " << start;
        }
    }
}

TEST(Scramble, AddsTheKeyBytesAndRestartsTheKey) {
    // "1234567": the sixth and seventh bytes use the key's first and second.
    const std::string s = Scrambled("1234567");
    const std::string key = "braskbr";
    for (std::size_t i = 0; i < s.size(); ++i)
        EXPECT_EQ(static_cast<unsigned char>(s[i]), ('1' + i) + key[i]) << i;
    // Sums wrap modulo 256 both ways.
    EXPECT_EQ(static_cast<unsigned char>(Scrambled("\xF0")[0]), (0xF0 + 'b') % 256);
    std::string low("\x01", 1);
    UnscrambleText(low, HiScoreKey);
    EXPECT_EQ(static_cast<unsigned char>(low[0]), 256 + 1 - 'b');
    // An empty key changes nothing.
    EXPECT_EQ(Scrambled("abc", ""), "abc");
    // Digits scrambled with the key never give a separator the reader stops at.
    for (char d = '0'; d <= '9'; ++d)
        for (char k : HiScoreKey)
            EXPECT_GE(static_cast<unsigned char>(d + k), 128);
}

TEST_F(HiScoreFileTest, WrittenScoresReadBack) {
    ASSERT_TRUE(WriteHiScoreFile(1234.0f));
    const auto bytes = ReadBytes("Data/hs.dat");
    ASSERT_EQ(bytes.size(), 6u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), Scrambled("1234") + "\r\n");
    EXPECT_EQ(ReadHiScoreFile(), 1234);

    ASSERT_TRUE(WriteHiScoreFile(5.0f));
    EXPECT_EQ(ReadBytes("Data/hs.dat").size(), 3u);
    EXPECT_EQ(ReadHiScoreFile(), 5);

    ASSERT_TRUE(WriteHiScoreFile(9999995.0f));
    EXPECT_EQ(ReadHiScoreFile(), 9999995);
}

TEST_F(HiScoreFileTest, FractionsRoundToEvenAndHugeValuesSaturate) {
    WriteScrambled("12.5");
    EXPECT_EQ(ReadHiScoreFile(), 12);
    WriteScrambled("13.5");
    EXPECT_EQ(ReadHiScoreFile(), 14);
    WriteScrambled("1e300");
    EXPECT_EQ(ReadHiScoreFile(), INT_MAX);
    WriteScrambled("-1e300");
    EXPECT_EQ(ReadHiScoreFile(), INT_MIN);
}

TEST_F(HiScoreFileTest, MissingEmptyOrUnscrambledFilesGiveNoScore) {
    EXPECT_EQ(ReadHiScoreFile(), 0);
    WriteText("Data/hs.dat", "");
    EXPECT_EQ(ReadHiScoreFile(), 0);
    // Plain digits turn into bytes below '0' when the key is taken off.
    WriteText("Data/hs.dat", "1234\r\n");
    EXPECT_EQ(ReadHiScoreFile(), 0);
}

TEST_F(HiScoreFileTest, AFileThatCannotBeWrittenReportsIt) {
    std::filesystem::remove("Data");
    EXPECT_FALSE(WriteHiScoreFile(50.0f));
    EXPECT_FALSE(std::filesystem::exists("Data"));
}

} // namespace
} // namespace halvane
