// The field reader of the data files, text to number, and the best-score file.
#include <cfloat>
#include <cmath>

#include "platform/text_fields.h"
#include "screens/hiscore_file.h"
#include "temp_dir.h"

namespace halvane {
namespace {

class DataFilesTest : public TempDirTest {
  protected:
    void Open(const std::string &text) {
        WriteText("data.txt", text);
        OpenForReading(1, "data.txt");
    }
    std::string Text(int fileNumber = 1) {
        char out[kTextFieldCapacity];
        return std::string(out, std::size_t(ReadTextField(fileNumber, out)));
    }
};

TEST_F(DataFilesTest, SeparatorsBlanksQuotesNumericPrefixesAndSaturation) {
    Open("1,0\n32\r\n5\r6, 7,\t8");         // a comma, LF, CR LF or CR ends one field
    for (int n : {1, 0, 32, 5, 6, 7, 8, 0}) // past the end every field is empty
        EXPECT_EQ(ReadIntField(1), n);
    EXPECT_EQ(Text(), "");
    Open("3.7,2.5e1,-.5,1e,+7x,abc,12 34,1.5E-2,7 ,6\n"
         "hello world,\"a, b\tc\",\"12\" ,x\r\n\r\ny,\"unclosed, to the end");
    EXPECT_EQ(ReadIntField(1), 3);
    // A blank ends a numeric field, so "7 ," holds an empty one.
    for (float n : {25.0f, -0.5f, 1.0f, 7.0f, 0.0f, 12.0f, 34.0f, 0.015f, 7.0f, 0.0f, 6.0f})
        EXPECT_FLOAT_EQ(ReadFloatField(1), n);
    EXPECT_EQ(Text(), "hello world"); // but belongs to a text field
    EXPECT_EQ(Text(), "a, b\tc");
    EXPECT_EQ(ReadFloatField(1), 12.0f);
    for (const char *text : {"x", "y", "unclosed, to the end"})
        EXPECT_EQ(Text(), text);
    Open("1e39,-1e39,1e-50,1e999999999999,99999999999,-9999999999");
    for (float n : {FLT_MAX, -FLT_MAX, 0.0f, FLT_MAX})
        EXPECT_EQ(ReadFloatField(1), n);
    EXPECT_EQ(ReadIntField(1), INT32_MAX);
    EXPECT_EQ(ReadIntField(1), INT32_MIN);
}

TEST_F(DataFilesTest, FieldsStopAtTheirMaximumLength) {
    Open("1234567890123456789,123456789012345\n-2147483648,5\n-1.234567890123\r\n7,");
    EXPECT_EQ(ReadFloatField(1), 123456789012345.0f); // 15 characters
    // 11 characters, "12345678901", saturated; one of exactly 11 owns its separator.
    for (int n : {6789, INT32_MAX, 2345, INT32_MIN, 5})
        EXPECT_EQ(ReadIntField(1), n);
    EXPECT_FLOAT_EQ(ReadFloatField(1), -1.234567890123f);
    EXPECT_EQ(ReadIntField(1), 7);
    // Text fields are cut to the caller's buffer but read whole.
    Open(std::string(1000, 'q') + ",after");
    char small[8];
    EXPECT_EQ(ReadTextField(1, small), 7);
    EXPECT_STREQ(small, "qqqqqqq");
    EXPECT_EQ(Text(), "after");
    // 400 KiB of "1,": the first 256 KiB hold 131,072 fields, then the end.
    std::string big(400 * 1024, ',');
    for (std::size_t i = 0; i < big.size(); i += 2)
        big[i] = '1';
    Open(big);
    int ones = 0;
    while (ReadIntField(1) == 1)
        ++ones;
    EXPECT_EQ(ones, 256 * 1024 / 2);
}

TEST_F(DataFilesTest, FileNumbersOpenCloseAndRunOut) {
    OpenForReading(2, "no-such-file.dat");
    EXPECT_EQ(Text(2) + Text(7), ""); // 7 was never opened
    WriteText("a.txt", "1,2");
    WriteText("b.txt", "10,20");
    for (int bad : {0, -1, 255})
        OpenForReading(bad, "a.txt"); // ignored
    OpenForReading(1, "a.txt");
    OpenForReading(254, "b.txt");
    EXPECT_EQ(ReadIntField(1), 1);
    EXPECT_EQ(ReadIntField(254), 10);
    CloseFile(1);
    EXPECT_EQ(ReadIntField(1), 0);
    OpenForReading(1, "a.txt"); // reopened from the top
    EXPECT_EQ(ReadIntField(1), 1);
    // Beyond four open at once a file reads empty; closing one makes room.
    OpenForReading(3, "a.txt");
    OpenForReading(4, "b.txt");
    EXPECT_EQ(ReadIntField(4), 0);
    CloseFile(2);
    OpenForReading(4, "b.txt");
    EXPECT_EQ(ReadIntField(4), 10);
    EXPECT_EQ(ReadIntField(254), 20);
}

TEST(TextToNumber, PrefixesInEveryBaseAndHugeTextStaysFinite) {
    const std::pair<const char *, double> cases[] = {
        {"&H1F", 31},       {"&o78", 7},          {"&B101", 5},
        {"&b2", 0},         {"&X12", 0},          {"  42abc", 42},
        {"\t-1.5e2", -150}, {"-1e400", -DBL_MAX}, {"0.000000001e-400", 0}};
    for (const auto &[text, number] : cases)
        EXPECT_EQ(TextToNumber(std::string(text)), number) << text;
    EXPECT_EQ(TextToNumber(std::string(400, '9')), DBL_MAX);
    EXPECT_EQ(TextToNumber(std::string(400, '9') + "e-300"), 1e100);
    EXPECT_EQ(TextToNumber("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(TextToNumber("&H" + std::string(400, 'F')), DBL_MAX);
    EXPECT_NEAR(TextToNumber("&H" + std::string(40, 'F')) / std::pow(16.0, 40), 1.0, 1e-12);
}

TEST_F(DataFilesTest, BestScoreIsScrambledWithTheRepeatedKeyAndReadsBackTiesToEven) {
    std::string every(256, '\0'), scrambled;
    for (int i = 0; i < 256; ++i)
        every[i] = char(i);
    ScrambleText(scrambled = every, HiScoreKey);
    for (int i = 0; i < 256; ++i) // added modulo 256, the key restarting after its fifth byte
        ASSERT_EQ(uint8_t(scrambled[i]), uint8_t(i + "brask"[i % 5])) << i;
    UnscrambleText(scrambled, HiScoreKey);
    EXPECT_EQ(scrambled, every);
    EXPECT_EQ(ReadHiScoreFile(), 0); // no file yet
    std::filesystem::create_directory("Data");
    ASSERT_TRUE(WriteHiScoreFile(1234.0f));
    EXPECT_EQ(ReadBytes("Data/hs.dat"), (std::vector<uint8_t>{0x93, 0xA4, 0x94, 0xA7, '\r', '\n'}));
    WriteText("Data/hs.dat", "\x93\xA4\x8F\xA8\r\n"); // "12.5"
    EXPECT_EQ(ReadHiScoreFile(), 12);
}

} // namespace
} // namespace halvane
