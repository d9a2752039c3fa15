#include <cmath>
#include <string>

#include "core/game_state.h"
#include "tests/files/temp_dir.h"
#include "world/level.h"
#include "world/terrain.h"

namespace halvane {
namespace {

// n small numbers with the separator between them.
std::string Numbers(int n, const std::string &separator) {
    std::string text;
    for (int i = 1; i <= n; ++i)
        text += std::to_string(i % 7) + (i < n ? separator : "\n");
    return text;
}

class LevelFiles : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        std::filesystem::create_directory("Data");
    }
};

TEST_F(LevelFiles, LoaderMakesWildValuesSafe) {
    WriteText("wild.dat", "1e39,-1e39,junk,3.5e2,-12345,2.5,nan,inf\n" + Numbers(40, " "));
    LevelMap[3][250] = 9; // a value left from an earlier level
    LoadLevelFile("wild.dat");
    const float firstRow[] = {1000, -1000, 0, 350, -1000, 2.5f, 0, 0, 1};
    for (int k = 1; k <= 9; ++k)
        EXPECT_FLOAT_EQ(LevelMap[k][1], firstRow[k - 1]) << k;
    EXPECT_EQ(LevelMap[3][250], 0) << "a short file reads its missing values as 0";
    for (int k = 0; k <= 30; ++k) {
        for (int r = -20; r <= 300; ++r)
            ASSERT_TRUE(std::isfinite(LevelMap[k][r]) && std::fabs(LevelMap[k][r]) <= 1000);
        EXPECT_EQ(LevelMap[k][0], 0);
    }
}

TEST_F(LevelFiles, CheckAcceptsOnlyFilesWithNineThousandNumbers) {
    std::string junk = Numbers(9000, ",");
    junk.replace(junk.find(",", 8000) + 1, 1, "x");
    const std::pair<std::string, bool> files[] = {{Numbers(9000, ","), true},
                                                  {Numbers(9000, " \t"), true},
                                                  {Numbers(9000, "\r\n"), true},
                                                  {Numbers(8999, ","), false},
                                                  {junk, false}};
    for (const auto &[text, complete] : files) {
        WriteText("level.dat", text);
        EXPECT_EQ(LevelFileComplete("level.dat"), complete) << text.substr(0, 20);
    }
    EXPECT_FALSE(LevelFileComplete("missing.dat"));
}

TEST_F(LevelFiles, ABrokenFileGivesThatLevelGeneratedTerrain) {
    const std::string good = Numbers(9000, ",");
    WriteText("Data/level1.dat", good);
    WriteText("Data/level2.dat", good.substr(0, good.size() / 2));
    WriteText("Data/level4.dat", good);
    WriteText("Data/level5.dat", good);
    CheckLevelFiles();
    EXPECT_EQ(RandomTerrain, 1);
    const int broken[] = {0, 1, 1, 0, 0};
    for (int level = 1; level <= 5; ++level)
        EXPECT_EQ(LevelFileBroken[level], broken[level - 1]) << "level " << level;
    SpeedFactor = 1;
    ResetForLevel();
    LoadNextLevel();
    EXPECT_EQ(GeneratedTerrain, 0);
    EXPECT_EQ(LevelMap[2][1], 2);
    ResetForLevel();
    LoadNextLevel();
    EXPECT_EQ(GeneratedTerrain, 1);
    EXPECT_EQ(LevelNumber, 2) << "the missions go on as usual";
    for (int frame = 0; frame < 1600; ++frame) {
        AdvanceTerrain();
        ShiftTerrain();
    }
    EXPECT_EQ(MapPosition, 280);
    for (int r = 1; r <= 20; ++r)
        for (int c = -5; c <= 5; ++c)
            ASSERT_TRUE(TerrainDepth[r][c] >= 0.75f && TerrainDepth[r][c] <= 7.25f) << r << c;
}

std::string ShippedFile(int level) {
    return std::string(HALVANE_SOURCE_DIR) + "/Data/level" + std::to_string(level) + ".dat";
}

TEST(ShippedLevels, StructuresNeedMoreHitsFromMissionToMissionAndStartOnTheHalfPipe) {
    ResetTerrain();
    int lastHits = 0;
    float centreColour[6] = {};
    for (int level = 1; level <= 5; ++level) {
        ASSERT_TRUE(LevelFileComplete(ShippedFile(level).c_str())) << level;
        LoadLevelFile(ShippedFile(level).c_str());
        float sum = 0; // the structure as the window rests on the level's end
        for (int r = 10; r <= 20; ++r)
            for (int c = -5; c <= 5; ++c)
                sum += LevelMap[c + 8][r + 280];
        // Each hit adds at most the 3.0 of one crater.
        const int hits = static_cast<int>(std::floor((650 - sum) / 3.0f)) + 1;
        EXPECT_GE(hits, 24) << "level " << level << " sums to " << sum;
        EXPECT_GT(hits, lastHits) << "level " << level;
        lastHits = hits;
        for (int c = -6; c <= 6; ++c) {
            // Rows 299 and 300 are not raised where missiles cannot dig them.
            EXPECT_GE(LevelMap[c + 8][299], LevelMap[c + 8][1] - 1e-4) << level;
            EXPECT_GE(LevelMap[c + 8][300], LevelMap[c + 8][1] - 1e-4) << level;
            for (int r = 1; r <= 10; ++r)
                ASSERT_NEAR(LevelMap[c + 8][r], TerrainDepth[1][c], 1e-4) << level;
        }
        for (int k = 16; k <= 30; ++k) {
            for (int r = 1; r <= 300; ++r) {
                ASSERT_TRUE(LevelMap[k][r] >= 0 && LevelMap[k][r] <= 5 &&
                            LevelMap[k][r] == std::floor(LevelMap[k][r]));
            }
        }
        centreColour[level] = LevelMap[23][1];
        for (int other = 1; other < level; ++other)
            EXPECT_NE(centreColour[level], centreColour[other]) << level << " " << other;
    }
}

} // namespace
} // namespace halvane
