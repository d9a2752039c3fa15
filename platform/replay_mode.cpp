// replay_mode.cpp -- whether a recording is made or played, and the copies of
// the player's files it carries. Kept apart from the recorder and the player,
// so that the file layer asks without bringing in either.
#include <array>
#include <cstring>

#include "platform/replay.h"
#include "platform/replay_file.h"
#include "platform/replay_sides.h"

namespace halvane {

namespace {

bool RecordingOn = false;
bool PlayingOn = false;
bool PlayingHeadless = false;

struct CarriedCopy {
    std::span<const char> contents;
    bool present = false;
};
std::array<CarriedCopy, kCarriedFiles.size()> Carried{};

} // namespace

void EnterReplayMode(bool recording, bool playing, bool headless) {
    RecordingOn = recording;
    PlayingOn = playing;
    PlayingHeadless = playing && headless;
}

void CarryFile(std::size_t index, std::span<const char> contents, bool present) {
    if (index < Carried.size()) Carried[index] = {contents, present};
}

bool Recording() {
    return RecordingOn;
}

bool Replaying() {
    return PlayingOn;
}

bool ReplayWithoutWindow() {
    return PlayingHeadless;
}

bool CarriedFile(const char *fileName, std::span<const char> &contents, bool &present) {
    if ((!RecordingOn && !PlayingOn) || fileName == nullptr) return false;
    for (std::size_t c = 0; c < kCarriedFiles.size(); ++c) {
        if (std::strcmp(fileName, kCarriedFiles[c]) != 0) continue;
        contents = Carried[c].contents;
        present = Carried[c].present;
        return true;
    }
    return false;
}

} // namespace halvane
