// frame_work.cpp -- the meter of the game's own work per frame (see
// frame_work.h). Two clock readings a frame, and two more per pause.
#include "platform/frame_work.h"

#include <chrono>

namespace halvane {

namespace {

using Clock = std::chrono::steady_clock;

bool InFrame = false; // between a WaitFrame's return and the next one's entry
bool Running = false; // in a frame and not paused
Clock::time_point RunningSince;
double FrameSeconds = 0;     // the frame in progress, up to its last pause
FrameWork Completed{0.0, 0}; // the frames before it

double SecondsSince(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

} // namespace

void FrameWorkBegins() {
    FrameSeconds = 0;
    InFrame = true;
    Running = true;
    RunningSince = Clock::now();
}

void FrameWorkEnds() {
    // The first WaitFrame closes no frame.
    if (!InFrame) return;
    if (Running) FrameSeconds += SecondsSince(RunningSince);
    InFrame = false;
    Running = false;
    Completed.seconds += FrameSeconds;
    ++Completed.frames;
    FrameSeconds = 0;
}

bool PauseFrameWork() {
    if (!Running) return false;
    FrameSeconds += SecondsSince(RunningSince);
    Running = false;
    return true;
}

void ResumeFrameWork(bool wasRunning) {
    if (!wasRunning || !InFrame) return;
    Running = true;
    RunningSince = Clock::now();
}

FrameWork FrameWorkSoFar() {
    return Completed;
}

} // namespace halvane
