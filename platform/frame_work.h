// frame_work.h -- the meter of the game's own work per paced frame: the time
// from each WaitFrame's return to the next one's entry (world and drawing),
// on the monotonic clock, with the waits left out. The measuring tools read
// it: the native reference at 1000 frames of play, the browser's page through
// the web backend. It only reads the clock; nothing here changes the pacing.
#pragma once

namespace halvane {

struct FrameWork {
    double seconds; // the game's own time in the frames completed so far
    int frames;     // frames completed: one per WaitFrame after the first
};

// Called by WaitFrame at its entry (a frame's work ends) and at its return
// (the next frame's work begins).
void FrameWorkEnds();
void FrameWorkBegins();

// A backend's own time inside a frame (putting the page into the canvas,
// mixing sound, yielding to the browser) is not the game's: PauseFrameWork
// stops the meter and says whether it ran, ResumeFrameWork(thatAnswer) starts
// it again. Pauses nest.
bool PauseFrameWork();
void ResumeFrameWork(bool wasRunning);

// The frames completed so far and the time they took.
FrameWork FrameWorkSoFar();

} // namespace halvane
