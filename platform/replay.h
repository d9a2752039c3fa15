// replay.h -- recording a run and playing it back. A recording keeps the
// answers of the platform operations the game calls (keys, mouse, clock, the
// end of each wait, screenshots), one event per operation, never the game's
// own variables; playing back answers from the file instead, as one more
// input source. The program chooses a mode in main, before StartUp; the
// platform's operations call the rest.
#pragma once

#include <cstdint>
#include <span>

#include "platform/replay_codec.h"

namespace halvane {

// Called by main. Each says what went wrong on stderr and returns false when
// it cannot start (the program then ends with exit code 1).
bool StartRecording(const char *fileName, const char *programVersion);
// `headless`: no window, as fast as it goes; `check`: compare the page hashes
// the recording holds and stop at the first difference.
bool StartReplay(const char *fileName, const char *programVersion, bool headless, bool check);

bool Recording();
bool Replaying();
// A headless replay: the screen opens as pages in memory, nothing is written.
bool ReplayWithoutWindow();

// --- recording: the operations hand over their answers ----------------------
void RecordKeyDown(int scanCode, bool down);
void RecordMouse(bool read, int32_t x, int32_t y, int32_t wheel, int32_t buttons);
// The clock value the game gets (whole microseconds, as the replay gives it).
double RecordClock(double seconds);
// A wait or sleep ended at `seconds`; returns the value as RecordClock does.
double RecordWait(ReplayEvent kind, int arg, double seconds);
void RecordScreenOpen(int depth, int flags, bool opened);
void RecordScreenshot(int32_t number);
// Compresses and writes what gathered now; the recorder does so on its own
// twice a second (the benchmark calls it at that pace of frames).
void FlushRecording();

// --- playing back: the operations take their answers ------------------------
bool PlayKeyDown(int scanCode);
bool PlayMouse(int32_t &x, int32_t &y, int32_t &wheel, int32_t &buttons);
double PlayClock();
// Shows the visible page in the window, keeps the recorded pace and returns
// the time the wait ended at.
double PlayWait(ReplayEvent kind, int arg);
// The depth the recorded run opened the screen with; false when its screen
// did not open.
bool PlayScreenOpen(int &depth);
int32_t PlayScreenshot();

// Both: called after each operation that presents a page (WaitRetrace,
// PresentPage, WaitFrame). The recorder keeps a page hash at intervals; the
// player compares it under --check.
void ReplayPagePresented();
// The player's own files (setup, best score) as the recording carries them:
// true when `fileName` is one of them while recording or playing, with
// `present` false for a file that was missing.
bool CarriedFile(const char *fileName, std::span<const char> &contents, bool &present);
// Called first by EndProgram of every display: finishes the recording, or
// checks the end of a replay; returns the exit code to end with.
int ReplayProgramEnds(int code);

// For both sides: the hash of the visible page, and the one-line summary
// ("replay: 2712 frames, score 1290, best score 1290, last page 3f...").
uint64_t VisiblePageHash();
void NoteGameScore();
void PrintRunSummary(const char *what, uint64_t frames);

} // namespace halvane
