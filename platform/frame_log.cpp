// frame_log.cpp -- the measuring mode's frame record (see frame_log.h). The
// file is opened at start-up, so nothing is allocated while frames run; the
// lines are written when the program ends.
#include "platform/frame_log.h"

#include <time.h>

#include <array>
#include <cstdio>

namespace halvane {

namespace {

// An hour of play at 45 frames per second fits; later frames are not kept.
constexpr int kMaxFrames = 45 * 3600;

struct FrameRecord {
    double time;
    int targetFps;
};

std::FILE *LogFile = nullptr;
std::array<FrameRecord, kMaxFrames> Frames;
int FrameCount = 0;
double FirstPresent = -1;

} // namespace

bool StartFrameLog(const char *fileName) {
    LogFile = std::fopen(fileName, "w");
    if (LogFile == nullptr) std::fprintf(stderr, "halvane: cannot write %s\n", fileName);
    return LogFile != nullptr;
}

void LogFrame(double clockSeconds, int targetFps) {
    if (LogFile == nullptr || FrameCount >= kMaxFrames) return;
    Frames[static_cast<std::size_t>(FrameCount++)] = {clockSeconds, targetFps};
}

void LogFirstPresent() {
    if (LogFile == nullptr || FirstPresent >= 0) return;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    FirstPresent = static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void FinishFrameLog() {
    if (LogFile == nullptr) return;
    std::fprintf(LogFile, "first_present %.6f\n", FirstPresent);
    for (int i = 0; i < FrameCount; ++i)
        std::fprintf(LogFile, "frame %.7f %d\n", Frames[static_cast<std::size_t>(i)].time,
                     Frames[static_cast<std::size_t>(i)].targetFps);
    std::fclose(LogFile);
    LogFile = nullptr;
}

} // namespace halvane
