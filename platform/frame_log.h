// frame_log.h -- the measuring mode's record of paced frames: when each
// WaitFrame ended and at which TargetFps, and when the window first showed a
// page. Off unless the program was started with HALVANE_FRAME_TIMES; the
// record lives in a fixed table and is written out when the program ends.
#pragma once

namespace halvane {

// Called by main when HALVANE_FRAME_TIMES names a file: turns recording on.
// Returns false (and records nothing) when the file cannot be created.
bool StartFrameLog(const char *fileName);

// Called by WaitFrame at the end of each wait, with the clock's time.
void LogFrame(double clockSeconds, int targetFps);

// Called by the SDL display when a page first reaches the window; keeps the
// monotonic time of the operating system (the measuring tool's clock).
void LogFirstPresent();

// Called by EndProgram: writes the record to the file and closes it.
void FinishFrameLog();

} // namespace halvane
