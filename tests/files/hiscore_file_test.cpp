#include "screens/hiscore_file.h"

#include <string>

#include "temp_dir.h"

namespace halvane {
namespace {

std::string Scrambled(std::string text) {
    ScrambleText(text, HiScoreKey);
    return text;
}

TEST(Scramble, AddsTheRepeatedKeyAndEveryByteComesBack) {
    // The sixth and seventh bytes take the key's first and second again.
    const std::string plain = "1234567\xF0", key = "braskbra";
    const std::string s = Scrambled(plain);
    for (std::size_t i = 0; i < s.size(); ++i)
        EXPECT_EQ(uint8_t(s[i]), uint8_t(plain[i] + key[i])) << i;
    std::string every(256, '\0');
    for (int i = 0; i < 256; ++i)
        every[i] = char(i);
    std::string copy = Scrambled(every);
    UnscrambleText(copy, HiScoreKey);
    EXPECT_EQ(copy, every);
}

using HiScoreFileTest = TempDirTest;

TEST_F(HiScoreFileTest, WrittenScoresReadBackAndHalvesTieToEven) {
    EXPECT_EQ(ReadHiScoreFile(), 0); // no file yet
    std::filesystem::create_directory("Data");
    ASSERT_TRUE(WriteHiScoreFile(1234.0f));
    const auto bytes = ReadBytes("Data/hs.dat");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), Scrambled("1234") + "\r\n");
    WriteText("Data/hs.dat", Scrambled("12.5") + "\r\n");
    EXPECT_EQ(ReadHiScoreFile(), 12);
}

} // namespace
} // namespace halvane
