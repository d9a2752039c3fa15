// effects.h -- the fourteen effects as readable descriptions (tones in Hz,
// milliseconds and percent of full scale) and their making. Used by the
// sound maker and the tests.
#pragma once

#include <array>
#include <cstdint>

#include "sound/synth.h"

namespace halvane {

// One tone of an effect. A sweep runs from fromHz to toHz, the filter corner
// from cutFromHz to cutToHz (0: open) over the tone's length; for noise, the
// "pitch" is how often it takes a new value.
struct EffectTone {
    Wave wave = Wave::Pulse;
    int startMs = 0;
    int lengthMs = 0; // release included
    int attackMs = 2;
    int decayMs = 0;
    int sustainPct = 100;
    int releaseMs = 0;
    int levelPct = 0;
    int fromHz = 0;
    int toHz = -1; // -1: no sweep
    int cutFromHz = 0;
    int cutToHz = -1; // -1: no sweep
    bool highPass = false;
    int dutyPct = 50;
    int vibratoHz = 0;
    int vibratoPct = 0;
};

constexpr int kTonesPerEffect = 6;
struct EffectScore {
    std::array<EffectTone, kTonesPerEffect> tones; // unused ones have no length
};

// Frames of each effect (its last tone's end); 0 for an unknown effect.
int32_t EffectLength(int effect);
// Room for all fourteen effects one after another.
constexpr int32_t kEffectStoreFrames = 12 * kSynthRate;
// Writes effect `effect` (kEffect...) into `out`, EffectLength frames.
void MakeEffect(int effect, int16_t *out);

} // namespace halvane
