// sound_maker.cpp -- the storage of all sounds the tool makes.
#include "sound/sound_maker.h"

#include <array>
#include <cstdio>

#include "sound/effects.h"
#include "sound/tunes.h"

namespace halvane {

namespace {

// About 10 MB: the tunes take nearly all of it.
std::array<int16_t, kEffectStoreFrames> EffectStore;
std::array<int16_t, kTuneStoreFrames> TuneStore;
std::array<SampleBlock, kEffectCount + 1> Effects;
std::array<SampleBlock, kTuneCount + 1> Tunes;

} // namespace

void MakeSounds() {
    int32_t used = 0;
    for (int effect = 1; effect <= kEffectCount; ++effect) {
        const int32_t frames = EffectLength(effect);
        if (used + frames > kEffectStoreFrames) {
            // A description grew beyond the storage: that effect stays silent.
            std::fprintf(stderr, "halvane: no room for effect %d\n", effect);
            continue;
        }
        MakeEffect(effect, &EffectStore[static_cast<std::size_t>(used)]);
        Effects[static_cast<std::size_t>(effect)] = {&EffectStore[static_cast<std::size_t>(used)],
                                                     frames};
        used += frames;
    }
    used = 0;
    for (int tune = 1; tune <= kTuneCount; ++tune) {
        const int32_t frames = TuneLength(tune);
        MakeTune(tune, &TuneStore[static_cast<std::size_t>(used)]);
        Tunes[static_cast<std::size_t>(tune)] = {&TuneStore[static_cast<std::size_t>(used)],
                                                 frames};
        used += frames;
    }
    for (int effect = 1; effect <= kEffectCount; ++effect)
        SetEffectSamples(effect, Effects[static_cast<std::size_t>(effect)]);
    for (int tune = 1; tune <= kTuneCount; ++tune)
        SetTuneSamples(tune, Tunes[static_cast<std::size_t>(tune)]);
}

SampleBlock EffectSound(int effect) {
    return effect >= 1 && effect <= kEffectCount ? Effects[static_cast<std::size_t>(effect)]
                                                 : SampleBlock{};
}

SampleBlock TuneSound(int tune) {
    return tune >= 1 && tune <= kTuneCount ? Tunes[static_cast<std::size_t>(tune)] : SampleBlock{};
}

} // namespace halvane
