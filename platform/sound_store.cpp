// sound_store.cpp -- the pool of all sounds and their loading.
#include "platform/sound_store.h"

#include <cstdio>

#include "platform/sound_file.h"

namespace halvane {

namespace {

std::array<int16_t, kSoundPoolFrames> Pool;

constexpr int kFiles = kEffectCount + kTuneCount;

// File i of the store: the effects first, then the tunes.
const char *FileName(int i) {
    return i < kEffectCount ? kEffectFileNames[static_cast<std::size_t>(i + 1)]
                            : kTuneFileNames[static_cast<std::size_t>(i - kEffectCount + 1)];
}

const char *Why(SoundFileResult result) {
    return result == SoundFileResult::Missing   ? "cannot be read"
           : result == SoundFileResult::TooLong ? "is too long"
                                                : "is not a 16-bit mono 44.1 kHz WAV";
}

} // namespace

int LoadSoundFiles(const char *folder) {
    std::array<SoundFileResult, kFiles> results{};
    int32_t used = 0;
    int read = 0;
    for (int i = 0; i < kFiles; ++i) {
        std::array<char, 256> path{};
        std::snprintf(path.data(), path.size(), "%s/%s", folder, FileName(i));
        int32_t frames = 0;
        results[static_cast<std::size_t>(i)] =
            ReadSoundFile(path.data(), Pool.data() + used, kSoundPoolFrames - used, frames);
        SampleBlock block{};
        if (results[static_cast<std::size_t>(i)] == SoundFileResult::Read) {
            block = {Pool.data() + used, frames};
            used += frames;
            ++read;
        }
        if (i < kEffectCount)
            SetEffectSamples(i + 1, block);
        else
            SetTuneSamples(i - kEffectCount + 1, block);
    }
    // A game folder without any sound files (an older copy, a test's folder)
    // is told once, not file by file.
    if (read == 0) {
        std::fprintf(stderr, "halvane: no sound files in %s/; playing silently\n", folder);
        return 0;
    }
    for (int i = 0; i < kFiles; ++i)
        if (results[static_cast<std::size_t>(i)] != SoundFileResult::Read)
            std::fprintf(stderr, "halvane: %s/%s %s; that sound stays silent\n", folder,
                         FileName(i), Why(results[static_cast<std::size_t>(i)]));
    return read;
}

} // namespace halvane
