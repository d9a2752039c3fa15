// replay_sides.h -- what the recorder (replay_record.cpp), the player
// (replay_play.cpp) and their shared steps (replay_run.cpp) tell each other.
// Platform files only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace halvane {

// zlib's memory, from a fixed block: the streams are set up once, before the
// first page, and nothing is allocated while the game runs.
struct ZlibArena {
    std::span<uint8_t> block;
    std::size_t used = 0;
};
void *ArenaAlloc(void *arena, unsigned items, unsigned size);
void ArenaFree(void *arena, void *address);

void RecordPresent();
void PlayPresent();
bool RecordingCarried(const char *fileName, std::span<const char> &contents, bool &present);
bool PlayingCarried(const char *fileName, std::span<const char> &contents, bool &present);
int FinishRecording(int code);
int FinishPlaying(int code);

} // namespace halvane
