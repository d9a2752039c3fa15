// replay_off.cpp -- replays left out, for a build without zlib (the browser
// build): nothing is recorded or played, and asking for either says so.
#include <cstdio>

#include "platform/replay.h"

namespace halvane {

bool StartRecording(const char *, const char *) {
    std::fprintf(stderr, "halvane: this build cannot record replays\n");
    return false;
}
bool StartReplay(const char *, const char *, bool, bool) {
    std::fprintf(stderr, "halvane: this build cannot play replays\n");
    return false;
}
bool Recording() {
    return false;
}
bool Replaying() {
    return false;
}
bool ReplayWithoutWindow() {
    return false;
}
void RecordKeyDown(int, bool) {}
void RecordMouse(bool, int32_t, int32_t, int32_t, int32_t) {}
double RecordClock(double seconds) {
    return seconds;
}
double RecordWait(ReplayEvent, int, double seconds) {
    return seconds;
}
void RecordScreenOpen(int, int, bool) {}
void RecordScreenshot(int32_t) {}
void FlushRecording() {}
bool PlayKeyDown(int) {
    return false;
}
bool PlayMouse(int32_t &, int32_t &, int32_t &, int32_t &) {
    return false;
}
double PlayClock() {
    return 0;
}
double PlayWait(ReplayEvent, int) {
    return 0;
}
bool PlayScreenOpen(int &) {
    return false;
}
int32_t PlayScreenshot() {
    return 0;
}
void ReplayPagePresented() {}
bool CarriedFile(const char *, std::span<const char> &, bool &) {
    return false;
}
int ReplayProgramEnds(int code) {
    return code;
}

} // namespace halvane
