#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/game_state.h"
#include "world/level.h"
#include "world/terrain.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

// Each test works in a fresh folder of its own, since the game's paths are
// relative to the working directory.
class LevelFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        home = fs::current_path();
        folder =
            fs::temp_directory_path() /
            ("halvane-levels-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder / "Data");
        fs::current_path(folder);
    }
    void TearDown() override {
        fs::current_path(home);
        fs::remove_all(folder);
    }
    static void Write(const std::string &name, const std::string &text) {
        std::ofstream(name, std::ios::binary) << text;
    }
    // n numbers 1, 2, 3, ... with the separator between them.
    static std::string Numbers(int n, const std::string &separator) {
        std::string text;
        for (int i = 1; i <= n; ++i) {
            text += std::to_string(i % 7) + (i < n ? separator : "\n");
        }
        return text;
    }
    fs::path home;
    fs::path folder;
};

TEST_F(LevelFiles, LoaderMakesWildValuesSafe) {
    std::string text = "1e39,-1e39,junk,3.5e2,-12345,2.5\n";
    text += Numbers(40, " ");
    Write("wild.dat", text);
    LevelMap[3][250] = 9; // a value left from an earlier level
    LoadLevelFile("wild.dat");
    EXPECT_EQ(LevelMap[1][1], 1000);
    EXPECT_EQ(LevelMap[2][1], -1000);
    EXPECT_EQ(LevelMap[3][1], 0);
    EXPECT_EQ(LevelMap[4][1], 350);
    EXPECT_EQ(LevelMap[5][1], -1000);
    EXPECT_FLOAT_EQ(LevelMap[6][1], 2.5f);
    EXPECT_EQ(LevelMap[7][1], 1); // the numbers after the first six
    EXPECT_EQ(LevelMap[3][250], 0) << "a short file reads its missing values as 0";
    for (int k = 0; k <= 30; ++k) {
        for (int r = -20; r <= 300; ++r) {
            ASSERT_TRUE(std::isfinite(LevelMap[k][r]));
            ASSERT_LE(std::fabs(LevelMap[k][r]), 1000);
        }
        EXPECT_EQ(LevelMap[k][0], 0);
    }
}

TEST_F(LevelFiles, CheckAcceptsOnlyFilesWithNineThousandNumbers) {
    Write("commas.dat", Numbers(9000, ","));
    Write("blanks.dat", Numbers(9000, " \t"));
    Write("lines.dat", Numbers(9000, "\r\n"));
    Write("short.dat", Numbers(8999, ","));
    std::string junk = Numbers(9000, ",");
    junk.replace(junk.find(",", 8000) + 1, 1, "x");
    Write("junk.dat", junk);
    Write("text.dat", "this is not a level file\n");
    EXPECT_TRUE(LevelFileComplete("commas.dat"));
    EXPECT_TRUE(LevelFileComplete("blanks.dat"));
    EXPECT_TRUE(LevelFileComplete("lines.dat"));
    EXPECT_FALSE(LevelFileComplete("short.dat"));
    EXPECT_FALSE(LevelFileComplete("junk.dat"));
    EXPECT_FALSE(LevelFileComplete("text.dat"));
    EXPECT_FALSE(LevelFileComplete("missing.dat"));
}

TEST_F(LevelFiles, ABrokenFileGivesThatLevelGeneratedTerrain) {
    const std::string good = Numbers(9000, ",");
    Write("Data/level1.dat", good);
    Write("Data/level2.dat", good.substr(0, good.size() / 2));
    Write("Data/level4.dat", good);
    Write("Data/level5.dat", good);
    CheckLevelFiles();
    EXPECT_EQ(RandomTerrain, 1);
    const int broken[] = {0, 1, 1, 0, 0};
    for (int level = 1; level <= 5; ++level) {
        EXPECT_EQ(LevelFileBroken[level], broken[level - 1]) << "level " << level;
    }

    SpeedFactor = 1;
    LevelNumber = 0;
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
    for (int r = 1; r <= 20; ++r) {
        for (int c = -5; c <= 5; ++c) {
            ASSERT_GE(TerrainDepth[r][c], 0.75f);
            ASSERT_LE(TerrainDepth[r][c], 7.25f);
        }
    }
}

// The five shipped levels, read through the game's own loader.
class ShippedLevels : public ::testing::Test {
  protected:
    static std::string FileOf(int level) {
        return std::string(HALVANE_SOURCE_DIR) + "/Data/level" + std::to_string(level) + ".dat";
    }
    // The window at rest on the level's end, as the shifts leave it.
    static void RestOnTheEnd() {
        MapPosition = 280;
        for (int r = 1; r <= 20; ++r) {
            for (int c = -7; c <= 7; ++c) {
                TerrainDepth[r][c] = LevelMap[c + 8][r + 280];
            }
        }
    }
};

TEST_F(ShippedLevels, StructuresNeedMoreHitsFromMissionToMission) {
    int lastHits = 0;
    for (int level = 1; level <= 5; ++level) {
        ASSERT_TRUE(LevelFileComplete(FileOf(level).c_str())) << FileOf(level);
        LoadLevelFile(FileOf(level).c_str());
        RestOnTheEnd();
        const float sum = StructureSum();
        // Each hit adds at most the 3.0 of one crater to the sum.
        const int hits = static_cast<int>(std::floor((650 - sum) / 3.0f)) + 1;
        EXPECT_GE(hits, 24) << "level " << level << " sums to " << sum;
        EXPECT_GT(hits, lastHits) << "level " << level;
        lastHits = hits;
        // The raised mass lies where missiles can dig it: rows 299 and 300
        // are not raised above the channel.
        for (int c = -5; c <= 5; ++c) {
            EXPECT_GE(LevelMap[c + 8][299], LevelMap[c + 8][1] - 1e-4) << "level " << level;
            EXPECT_GE(LevelMap[c + 8][300], LevelMap[c + 8][1] - 1e-4) << "level " << level;
        }
    }
}

TEST_F(ShippedLevels, EachLevelStartsOnTheHalfPipeWithItsOwnColours) {
    ResetTerrain();
    float firstCentreColour[6] = {};
    for (int level = 1; level <= 5; ++level) {
        LoadLevelFile(FileOf(level).c_str());
        for (int r = 1; r <= 10; ++r) {
            for (int c = -6; c <= 6; ++c) {
                ASSERT_NEAR(LevelMap[c + 8][r], TerrainDepth[1][c], 1e-4) << "level " << level;
            }
        }
        for (int k = 16; k <= 30; ++k) {
            for (int r = 1; r <= 300; ++r) {
                const float code = LevelMap[k][r];
                ASSERT_TRUE(code >= 0 && code <= 5 && code == std::floor(code));
            }
        }
        firstCentreColour[level] = LevelMap[23][1];
        for (int other = 1; other < level; ++other) {
            EXPECT_NE(firstCentreColour[level], firstCentreColour[other]) << level << " " << other;
        }
    }
}

} // namespace
} // namespace halvane
