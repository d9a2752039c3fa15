// sound_store.cpp -- the pool of all sounds and their loading.
#include "platform/sound_store.h"

#include <cstdio>

#include "platform/sound_file.h"

namespace halvane {

namespace {

std::array<int16_t, kSoundPoolFrames> Pool;

// Reads one file at `used` in the pool; the block read, empty on failure.
SampleBlock LoadOne(const char *folder, const char *name, int32_t &used) {
    std::array<char, 256> path{};
    std::snprintf(path.data(), path.size(), "%s/%s", folder, name);
    int32_t frames = 0;
    const SoundFileResult result =
        ReadSoundFile(path.data(), Pool.data() + used, kSoundPoolFrames - used, frames);
    if (result != SoundFileResult::Read) {
        std::fprintf(stderr, "halvane: %s %s; that sound stays silent\n", path.data(),
                     result == SoundFileResult::Missing   ? "cannot be read"
                     : result == SoundFileResult::TooLong ? "is too long"
                                                          : "is not a 16-bit mono 44.1 kHz WAV");
        return {};
    }
    const SampleBlock block{Pool.data() + used, frames};
    used += frames;
    return block;
}

} // namespace

int LoadSoundFiles(const char *folder) {
    int32_t used = 0;
    int read = 0;
    for (int effect = 1; effect <= kEffectCount; ++effect) {
        const SampleBlock block =
            LoadOne(folder, kEffectFileNames[static_cast<std::size_t>(effect)], used);
        read += block.frames > 0;
        SetEffectSamples(effect, block);
    }
    for (int tune = 1; tune <= kTuneCount; ++tune) {
        const SampleBlock block =
            LoadOne(folder, kTuneFileNames[static_cast<std::size_t>(tune)], used);
        read += block.frames > 0;
        SetTuneSamples(tune, block);
    }
    return read;
}

} // namespace halvane
