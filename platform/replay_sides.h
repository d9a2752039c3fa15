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

// replay_mode.cpp: the mode, and the carried copies of the player's files
// (index as in kCarriedFiles).
void EnterReplayMode(bool recording, bool playing, bool headless);
void CarryFile(std::size_t index, std::span<const char> contents, bool present);
// Copies the header's carried files into the mode's table.
struct ReplayHeader;
void CarryHeaderFiles(const ReplayHeader &header);

void RecordPresent();
void PlayPresent();
int FinishRecording(int code);
int FinishPlaying(int code);

} // namespace halvane
