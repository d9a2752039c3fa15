// sound_file.h -- the game's sound files: WAV files of one channel of
// 16-bit samples at 44,100 frames per second, made by the sound tool
// (tools/sounds) and read at start-up. Used by the sound store, the tool
// and the tests.
#pragma once

#include <cstdint>

#include "platform/audio_mixer.h"

namespace halvane {

enum class SoundFileResult { Read, Missing, NotOurFormat, TooLong };

// Reads the samples of `fileName` into `into` (room for `capacity` frames);
// `frames` receives their number when Read. A file that is missing, is not a
// plain file, is not a WAV of our format, is cut short or does not fit reads
// nothing.
SoundFileResult ReadSoundFile(const char *fileName, int16_t *into, int32_t capacity,
                              int32_t &frames);
// Writes `block` as a WAV file; false when it cannot be written whole.
bool WriteSoundFile(const char *fileName, SampleBlock block);

} // namespace halvane
