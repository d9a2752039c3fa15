// flight_fixture.h -- drives the world step by step without a window: offscreen
// pages, input the test holds, a flat channel 50 deep, counting screen stand-ins.
#pragma once

#include <gtest/gtest.h>

#include "platform/input.h"

namespace halvane {

extern InputState TestInput; // copied into the input source at every poll
extern int GameOverShown;
extern int LevelStatsShown;

// Fills every window cell with `depth`.
void FillGround(float depth);

class FlightTest : public ::testing::Test {
  protected:
    void SetUp() override;
};

} // namespace halvane
