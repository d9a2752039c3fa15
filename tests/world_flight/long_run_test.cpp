#include <algorithm>
#include <cmath>
#include <random>

#include "core/game_state.h"
#include "flight_fixture.h"
#include "platform/random.h"
#include "world/craft.h"
#include "world/level.h"
#include "world/objects.h"
#include "world/terrain.h"
#include "world/world_update.h"

namespace halvane {
namespace {

using LongRunTest = FlightTest;

// A level map of bumpy half-pipe whose end rows keep the half-pipe, so that
// every level ends at the first check and the runs pass many level ends.
void MakeBumpyMap(std::mt19937 &gen) {
    std::uniform_real_distribution<float> bump(-2.5f, 1.0f);
    for (int r = 1; r <= kMapLastRow; ++r) {
        for (int c = -7; c <= 7; ++c) {
            float base = 7 - 0.08f * static_cast<float>(c * c);
            LevelMap[c + 8][r] = r > 280 ? base : std::max(0.5f, base + bump(gen));
            LevelMap[c + 23][r] = static_cast<float>((r / 10) % 6);
        }
    }
}

// A player pressing anything at random (but F, whose release the game awaits).
void RandomInput(std::mt19937 &gen) {
    constexpr int kKeys[] = {kKeyUp,    kKeyDown,  kKeyLeft, kKeyRight,
                             kKeyEnter, kKeySpace, kKeyC,    kKeyV};
    std::uniform_int_distribution<int> pct(0, 99);
    if (pct(gen) < 30) {
        TestInput.mouseX = std::uniform_int_distribution<int>(-20, 660)(gen);
        TestInput.mouseY = std::uniform_int_distribution<int>(-20, 500)(gen);
    }
    if (pct(gen) < 20) {
        constexpr int kButtons[] = {0, 1, 2, 4, 3, 5, 4, 4};
        TestInput.buttons = kButtons[pct(gen) % 8];
    }
    for (int key : kKeys) {
        if (pct(gen) < 10) {
            TestInput.keys[key] = !TestInput.keys[key];
        }
    }
    if (pct(gen) < 1) {
        OptControls = OptControls == kMouseControls ? kKeyboardControls : kMouseControls;
    }
}

// The counters hold the number of records in state 1, except the ships'
// once the structure has fallen (until the next level's reset).
void ExpectCountersMatchTables(int frame) {
    ASSERT_EQ(ActiveMines(), MineCount) << "frame " << frame;
    ASSERT_EQ(ActiveMissiles(), MissileCount) << "frame " << frame;
    ASSERT_LE(MissileCount, 4);
    if (EndPhase == 0) {
        ASSERT_EQ(ActiveShips(), ShipCount) << "frame " << frame;
    }
    if (MapPosition < kMapEnd) {
        for (int i = kRegularShipSlots + 1; i <= kShipSlots; ++i) {
            ASSERT_EQ(Ship[i].state, kSlotFree) << "frame " << frame;
        }
    }
}

TEST_F(LongRunTest, CountersMatchTheTablesThroughRandomPlay) {
    for (unsigned seed = 1; seed <= 3; ++seed) {
        std::mt19937 gen(seed);
        SeedRandom(seed);
        MakeBumpyMap(gen);
        ResetForLevel();
        LevelNumber = 1;
        Lives = 1e6f; // play on through every lost life
        int levelsDone = 0;
        for (int frame = 1; frame <= 15000; ++frame) {
            RandomInput(gen);
            Invulnerable = std::max(Invulnerable - 1, 0);
            UpdateWorld();
            ExpectCountersMatchTables(frame);
            AdvanceTerrain();
            if (EndPhase > 0) {
                int stats = LevelStatsShown;
                RunEndPhase();
                if (LevelStatsShown != stats) {
                    // A new level: its file is not here, so the same map again.
                    ++levelsDone;
                    MakeBumpyMap(gen);
                    LevelNumber = 1;
                    ExpectCountersMatchTables(frame);
                }
            }
            CheckEndStructure();
            UpdateCraft();
            ASSERT_TRUE(MouseX >= 3 && MouseX <= 632 && MouseY >= 4 && MouseY <= 296);
            ASSERT_TRUE(CraftZ >= 0 && CraftZ <= 10);
            ASSERT_TRUE(std::fabs(CraftX) <= 7.2f && std::isfinite(CraftY));
            ShiftTerrain();
            ExpectCountersMatchTables(frame);
            if (HasFatalFailure()) {
                return;
            }
        }
        EXPECT_GE(levelsDone, 5) << "seed " << seed;
        EXPECT_LT(Shield, 1000 * 1e6f) << "seed " << seed;
    }
}

} // namespace
} // namespace halvane
