// timing.h -- the clock, sleeping and the two loop-pacing steps: WaitFrame for
// the time-paced loops (play, briefings, game over, epilogue) and PresentPage
// for every other loop.
#pragma once

namespace halvane {

double ClockSeconds();
// 1..99 sleeps; 100 or more sleeps in 50 ms slices, returning early when a key
// press waits; -1 waits for a key press; other values return at once.
void SleepMs(int ms);
// At least 1/TargetFps seconds after LastFrameTime, then LastFrameTime from a
// fresh clock reading, then a 1 ms sleep.
void WaitFrame();
// WaitFrame without its closing sleep, busy-waiting all the way: the
// game-over explosion, whose frames are presented (which sleeps already).
void WaitFrameTime();
// CopyWorkPage, WaitRetrace, then a 2 ms sleep.
void PresentPage();

} // namespace halvane
