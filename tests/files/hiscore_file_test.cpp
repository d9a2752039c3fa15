#include "screens/hiscore_file.h"

#include <string>

#include "temp_dir.h"

namespace halvane {
namespace {

std::string Scrambled(std::string text, std::string_view key = HiScoreKey) {
    ScrambleText(text, key);
    return text;
}

TEST(Scramble, EveryByteValueAndLengthComesBack) {
    for (std::size_t length = 0; length <= 13; ++length) {
        for (int start = 0; start < 256; ++start) {
            std::string text(length, '\0');
            for (std::size_t i = 0; i < length; ++i)
                text[i] = static_cast<char>(start + 37 * i);
            std::string copy = Scrambled(text);
            UnscrambleText(copy, HiScoreKey);
            ASSERT_EQ(copy, text) << "length " << length << " start " << start;
        }
    }
}

TEST(Scramble, AddsTheKeyBytesAndRestartsTheKey) {
    // The sixth and seventh bytes take the key's first and second again.
    const std::string s = Scrambled("1234567\xF0");
    const std::string key = "braskbra";
    for (std::size_t i = 0; i < s.size(); ++i)
        EXPECT_EQ(static_cast<unsigned char>(s[i]),
                  (static_cast<unsigned char>("1234567\xF0"[i]) + key[i]) % 256)
            << i;
    EXPECT_EQ(Scrambled("abc", ""), "abc");
}

class HiScoreFileTest : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        std::filesystem::create_directory("Data");
    }
};

TEST_F(HiScoreFileTest, WrittenScoresReadBack) {
    ASSERT_TRUE(WriteHiScoreFile(1234.0f));
    const auto bytes = ReadBytes("Data/hs.dat");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), Scrambled("1234") + "\r\n");
    EXPECT_EQ(ReadHiScoreFile(), 1234);
    ASSERT_TRUE(WriteHiScoreFile(5.0f));
    EXPECT_EQ(ReadBytes("Data/hs.dat").size(), 3u);
    EXPECT_EQ(ReadHiScoreFile(), 5);
}

TEST_F(HiScoreFileTest, OtherFilesGiveTheirNumberOrNone) {
    EXPECT_EQ(ReadHiScoreFile(), 0); // no file yet
    WriteText("Data/hs.dat", Scrambled("12.5") + "\r\n");
    EXPECT_EQ(ReadHiScoreFile(), 12); // ties to even
    // Plain digits turn into bytes below '0' when the key is taken off.
    WriteText("Data/hs.dat", "1234\r\n");
    EXPECT_EQ(ReadHiScoreFile(), 0);
    std::filesystem::remove_all("Data");
    EXPECT_FALSE(WriteHiScoreFile(50.0f));
}

} // namespace
} // namespace halvane
