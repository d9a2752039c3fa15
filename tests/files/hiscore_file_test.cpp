#include "screens/hiscore_file.h"

#include <string>

#include "temp_dir.h"

namespace halvane {
namespace {

std::string Scrambled(std::string text, std::string_view key = HiScoreKey) {
    ScrambleText(text, key);
    return text;
}

TEST(Scramble, AddsTheRepeatedKeyAndEveryByteComesBack) {
    // The sixth and seventh bytes take the key's first and second again.
    const std::string plain = "1234567\xF0", key = "braskbra";
    const std::string s = Scrambled(plain);
    for (std::size_t i = 0; i < s.size(); ++i)
        EXPECT_EQ(uint8_t(s[i]), uint8_t(plain[i] + key[i])) << i;
    EXPECT_EQ(Scrambled("abc", ""), "abc");
    for (int start = 0; start < 256; ++start) {
        std::string text(13, '\0');
        for (std::size_t i = 0; i < text.size(); ++i)
            text[i] = char(start + 37 * i);
        std::string copy = Scrambled(text);
        UnscrambleText(copy, HiScoreKey);
        ASSERT_EQ(copy, text) << start;
    }
}

class HiScoreFileTest : public TempDirTest {};

TEST_F(HiScoreFileTest, WrittenScoresReadBackAndHalvesTieToEven) {
    EXPECT_EQ(ReadHiScoreFile(), 0); // no file yet
    std::filesystem::create_directory("Data");
    ASSERT_TRUE(WriteHiScoreFile(1234.0f));
    const auto bytes = ReadBytes("Data/hs.dat");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), Scrambled("1234") + "\r\n");
    EXPECT_EQ(ReadHiScoreFile(), 1234);
    WriteText("Data/hs.dat", Scrambled("12.5") + "\r\n");
    EXPECT_EQ(ReadHiScoreFile(), 12); // ties to even
}

} // namespace
} // namespace halvane
