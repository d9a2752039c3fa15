// The sound's costs: making every sound (the sound tool's work), reading the
// shipped files (the program's start-up), and mixing one second of the
// busiest moment as the device pulls it, each against a memcpy of the same
// bytes in the same run. Run from the source folder (it reads Sound/).
#include <array>
#include <cstring>

#include "bench/bench_util.h"
#include "platform/audio_mixer.h"
#include "platform/sound_store.h"
#include "sound/sound_maker.h"

namespace halvane {
namespace {

std::size_t AllSoundBytes() {
    std::size_t frames = 0;
    for (int e = 1; e <= kEffectCount; ++e)
        frames += static_cast<std::size_t>(EffectSound(e).frames);
    for (int t = 1; t <= kTuneCount; ++t)
        frames += static_cast<std::size_t>(TuneSound(t).frames);
    return frames * 2;
}

void BM_MakeAllSounds(benchmark::State &state) {
    MakeSounds();
    TimeAgainstMemcpy(state, AllSoundBytes(), [] { MakeSounds(); });
}
BENCHMARK(BM_MakeAllSounds)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_LoadSoundFiles(benchmark::State &state) {
    MakeSounds();
    TimeAgainstMemcpy(state, AllSoundBytes(), [&] {
        if (LoadSoundFiles("Sound") != kEffectCount + kTuneCount)
            state.SkipWithError("run from the source folder: Sound/ is not here");
    });
}
BENCHMARK(BM_LoadSoundFiles)->UseManualTime()->Unit(benchmark::kMillisecond);

// The game tune at full volume and every effect voice busy (four long
// effects asked for again at every pull, so that all sixteen voices sound
// throughout), mixed in the device's pulls of 512 frames. "share_pct" is the
// share of one second of one core.
void BM_MixBusiestSecond(benchmark::State &state) {
    ResetAudioMixer();
    MakeSounds();
    SetVolumeSteps(4, 4);
    RequestTune(kTuneGame);
    constexpr int kPull = 512;
    std::array<int16_t, kPull> out{};
    int fewest = kEffectVoices;
    TimeAgainstMemcpy(state, std::size_t{kAudioRate} * 2, [&] {
        for (int done = 0; done < kAudioRate; done += kPull) {
            for (int effect : {kEffectCraftExplosion, kEffectStructureDestroyed, kEffectEndWarning,
                               kEffectBriefingOpen})
                RequestEffect(effect);
            MixAudio(out.data(), kPull);
            if (done >= 4 * kPull) fewest = std::min(fewest, AudioMixerStatus().effectVoices);
        }
    });
    if (fewest != kEffectVoices) state.SkipWithError("not every voice sounded");
    state.counters["share_pct"] = 100.0 * state.counters["ms"] / 1000.0;
}
BENCHMARK(BM_MixBusiestSecond)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
} // namespace halvane
