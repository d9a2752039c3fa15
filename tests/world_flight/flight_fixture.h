// flight_fixture.h -- drives the world step by step without a window: offscreen
// pages (so that keys can be read), input from a test-controlled state, a deep
// flat channel, and stand-ins for the screens the world hands over to.
#pragma once

#include <gtest/gtest.h>

#include "platform/input.h"

namespace halvane {

// What the test "holds": copied into the input source at every poll.
extern InputState TestInput;

// Calls of the screen stand-ins.
extern int GameOverShown;
extern int LevelStatsShown;
extern int BriefingsShown;

// Fills every window cell with `depth`.
void FillGround(float depth);

// Records in state 1 of each table.
int ActiveShips();
int ActiveMines();
int ActiveMissiles();

class FlightTest : public ::testing::Test {
  protected:
    void SetUp() override;
};

} // namespace halvane
