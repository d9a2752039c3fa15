// hiscore_check.h -- the best-score check at the end of a lost or completed
// game (never after an abort), with its congratulation screen. Called by the
// game loop.
#pragma once

namespace halvane {

constexpr int kCongratulationX = 180;
constexpr int kCongratulationY = 190;
constexpr int kNewScoreX = 234;
constexpr int kNewScoreY = 210;
constexpr int kCongratulationPromptX = 199;
constexpr int kCongratulationPromptY = 240;
constexpr int kCongratulationConfirmAbove = 150; // FadeAlpha from which a confirm counts

// Waits for Enter and the left button to be released and stops the music.
// When Score beats HiScore, rewrites "Data/hs.dat" at once (a file that
// cannot be written is skipped), raises HiScore and fades the congratulation
// in on black until Enter or the left button (Space does not count), then out.
// Returns with FadeAlpha 0 when it showed the screen.
void CheckHiScore();

} // namespace halvane
