// briefing.h -- the mission briefings. LoadNextLevel calls it for levels 1..5.
#pragma once

#include <array>

namespace halvane {

constexpr int kBriefingStepFrames = 8; // frames per step (AnimCycle6 runs 1..8 here)
constexpr int kBriefingStepFrame = 5;  // the frame of the cycle that adds a step
constexpr int kBriefingOpenSoundAt = 180;
// Opacity of all text in a frame, chosen at random from these.
constexpr std::array<int, 3> kBriefingFlicker{255, 245, 235};

// Fades the briefing picture in, reveals mission LevelNumber's transmission
// step by step (a tick per step, the text flickering) until Enter, Space or
// the left button from step 2 on, fades out, starts the game music and puts
// the craft's controls back with RespawnCraft. S takes a screenshot. Changes
// AnimCycle6, FadeAlpha (0 at the end), WorkPage, LastFrameTime and
// ScreenshotNumber. A level number outside 1..5 shows the picture only.
void ShowBriefing();

} // namespace halvane
