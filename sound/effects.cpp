// effects.cpp -- what each effect slot sounds like. Levels leave room for
// several effects over the music without reaching full scale.
#include "sound/effects.h"

#include <algorithm>

#include "platform/audio_mixer.h"

namespace halvane {

namespace {

using enum Wave;

// clang-format off
const std::array<EffectScore, kEffectCount + 1> kEffects{{
    {}, // no effect 0
    // Menu select: a bright two-step blip.
    {{{
        {.wave = Pulse, .startMs = 0,  .lengthMs = 50, .attackMs = 1, .releaseMs = 20, .levelPct = 7, .fromHz = 1320, .cutFromHz = 6000, .dutyPct = 25},
        {.wave = Pulse, .startMs = 45, .lengthMs = 80, .attackMs = 1, .releaseMs = 60, .levelPct = 7, .fromHz = 1760, .cutFromHz = 6000, .dutyPct = 25},
    }}},
    // Briefing opens: a rising filtered swell that ends in a ping.
    {{{
        {.wave = Saw,      .lengthMs = 750, .attackMs = 250, .releaseMs = 350, .levelPct = 7, .fromHz = 110, .toHz = 440, .cutFromHz = 300, .cutToHz = 3000},
        {.wave = Noise,    .lengthMs = 650, .attackMs = 300, .releaseMs = 320, .levelPct = 3,  .fromHz = 44100, .cutFromHz = 600, .cutToHz = 5000},
        {.wave = Triangle, .startMs = 380, .lengthMs = 480, .attackMs = 5, .releaseMs = 420, .levelPct = 5, .fromHz = 880},
        {.wave = Triangle, .startMs = 380, .lengthMs = 480, .attackMs = 5, .releaseMs = 420, .levelPct = 3,  .fromHz = 1320},
    }}},
    // Briefing line: a teletype tick.
    {{{
        {.wave = Pulse, .lengthMs = 32, .attackMs = 1, .releaseMs = 26, .levelPct = 5, .fromHz = 2093, .cutFromHz = 5000, .dutyPct = 12},
        {.wave = Noise, .lengthMs = 16, .attackMs = 1, .releaseMs = 13, .levelPct = 5, .fromHz = 44100, .cutFromHz = 3000, .highPass = true},
    }}},
    // Missile launch: a hiss that darkens as the missile leaves, over a
    // falling whistle.
    {{{
        {.wave = Noise, .lengthMs = 360, .attackMs = 3, .decayMs = 60, .sustainPct = 55, .releaseMs = 260, .levelPct = 10, .fromHz = 44100, .cutFromHz = 7000, .cutToHz = 500},
        {.wave = Pulse, .lengthMs = 260, .attackMs = 2, .releaseMs = 190, .levelPct = 5, .fromHz = 1100, .toHz = 220, .cutFromHz = 3000, .dutyPct = 30},
    }}},
    // Ship destroyed: a rumbling burst over a falling buzz.
    {{{
        {.wave = Noise, .lengthMs = 760, .attackMs = 2, .decayMs = 80, .sustainPct = 60, .releaseMs = 600, .levelPct = 12, .fromHz = 9000, .toHz = 1500, .cutFromHz = 5000, .cutToHz = 300},
        {.wave = Pulse, .lengthMs = 420, .attackMs = 2, .releaseMs = 320, .levelPct = 6, .fromHz = 320, .toHz = 55, .cutFromHz = 1500},
    }}},
    // Mine destroyed: a sharp crack with a metallic ring.
    {{{
        {.wave = Noise,    .lengthMs = 380, .attackMs = 1, .decayMs = 40, .sustainPct = 40, .releaseMs = 300, .levelPct = 9, .fromHz = 22000, .cutFromHz = 9000, .cutToHz = 2000},
        {.wave = Triangle, .lengthMs = 300, .attackMs = 1, .releaseMs = 260, .levelPct = 7, .fromHz = 1500, .toHz = 300},
        {.wave = Sine,     .lengthMs = 520, .attackMs = 1, .releaseMs = 500, .levelPct = 4, .fromHz = 2637, .vibratoHz = 31, .vibratoPct = 2},
        {.wave = Sine,     .lengthMs = 520, .attackMs = 1, .releaseMs = 500, .levelPct = 3,  .fromHz = 3729},
    }}},
    // Missile hits the ground: a dull thud and a spray of dirt.
    {{{
        {.wave = Sine,  .lengthMs = 260, .attackMs = 2, .releaseMs = 220, .levelPct = 13, .fromHz = 140, .toHz = 40},
        {.wave = Noise, .lengthMs = 200, .attackMs = 2, .releaseMs = 180, .levelPct = 8, .fromHz = 3000, .cutFromHz = 1200, .cutToHz = 200},
    }}},
    // Ship passes close: a swelling whoosh whose pitch drops as it goes by.
    {{{
        {.wave = Saw,   .lengthMs = 700, .attackMs = 320, .releaseMs = 370, .levelPct = 8, .fromHz = 420, .toHz = 250, .cutFromHz = 1800, .cutToHz = 500, .vibratoHz = 9, .vibratoPct = 3},
        {.wave = Noise, .lengthMs = 700, .attackMs = 320, .releaseMs = 370, .levelPct = 11, .fromHz = 44100, .cutFromHz = 2600, .cutToHz = 700},
    }}},
    // Craft hit or scraping: a harsh short crunch.
    {{{
        {.wave = Pulse, .lengthMs = 180, .attackMs = 1, .releaseMs = 140, .levelPct = 8, .fromHz = 180, .toHz = 70, .cutFromHz = 2500},
        {.wave = Noise, .lengthMs = 150, .attackMs = 1, .releaseMs = 120, .levelPct = 8, .fromHz = 12000, .cutFromHz = 4000},
    }}},
    // Craft explosion: a long deep blast with a sharp crack on top.
    {{{
        {.wave = Noise, .lengthMs = 1800, .attackMs = 3, .decayMs = 150, .sustainPct = 65, .releaseMs = 1500, .levelPct = 10, .fromHz = 6000, .toHz = 600, .cutFromHz = 4000, .cutToHz = 150},
        {.wave = Sine,  .lengthMs = 1200, .attackMs = 5, .releaseMs = 1000, .levelPct = 8, .fromHz = 90, .toHz = 28},
        {.wave = Noise, .lengthMs = 260, .attackMs = 1, .releaseMs = 230, .levelPct = 7, .fromHz = 44100, .cutFromHz = 3000, .highPass = true},
    }}},
    // Shield low: a two-tone alarm beep.
    {{{
        {.wave = Pulse, .lengthMs = 110, .attackMs = 3, .releaseMs = 20, .levelPct = 5, .fromHz = 988, .cutFromHz = 4000},
        {.wave = Pulse, .startMs = 120, .lengthMs = 110, .attackMs = 3, .releaseMs = 20, .levelPct = 5, .fromHz = 740, .cutFromHz = 4000},
    }}},
    // End of the level near: a wailing siren.
    {{{
        {.wave = Triangle, .lengthMs = 1000, .attackMs = 40, .releaseMs = 220, .levelPct = 8, .fromHz = 700, .vibratoHz = 3, .vibratoPct = 30},
        {.wave = Pulse,    .lengthMs = 1000, .attackMs = 40, .releaseMs = 220, .levelPct = 3,  .fromHz = 1400, .cutFromHz = 3000, .dutyPct = 25, .vibratoHz = 3, .vibratoPct = 30},
    }}},
    // Structure destroyed: a huge rumble under a falling bell chord.
    {{{
        {.wave = Noise,    .lengthMs = 2200, .attackMs = 5, .decayMs = 200, .sustainPct = 70, .releaseMs = 1800, .levelPct = 10, .fromHz = 5000, .toHz = 400, .cutFromHz = 3000, .cutToHz = 120},
        {.wave = Sine,     .lengthMs = 1600, .attackMs = 5, .releaseMs = 1300, .levelPct = 8, .fromHz = 70, .toHz = 25},
        {.wave = Triangle, .startMs = 200, .lengthMs = 1200, .attackMs = 3, .releaseMs = 1100, .levelPct = 4, .fromHz = 1319},
        {.wave = Triangle, .startMs = 400, .lengthMs = 1200, .attackMs = 3, .releaseMs = 1100, .levelPct = 4, .fromHz = 988},
        {.wave = Triangle, .startMs = 600, .lengthMs = 1400, .attackMs = 3, .releaseMs = 1300, .levelPct = 4, .fromHz = 659},
    }}},
    // Level statistics: a rising four-note jingle.
    {{{
        {.wave = Pulse, .startMs = 0,   .lengthMs = 120, .attackMs = 2, .decayMs = 50, .sustainPct = 60, .releaseMs = 60,  .levelPct = 5, .fromHz = 523,  .cutFromHz = 5000, .dutyPct = 25},
        {.wave = Pulse, .startMs = 95,  .lengthMs = 120, .attackMs = 2, .decayMs = 50, .sustainPct = 60, .releaseMs = 60,  .levelPct = 5, .fromHz = 659,  .cutFromHz = 5000, .dutyPct = 25},
        {.wave = Pulse, .startMs = 190, .lengthMs = 120, .attackMs = 2, .decayMs = 50, .sustainPct = 60, .releaseMs = 60,  .levelPct = 5, .fromHz = 784,  .cutFromHz = 5000, .dutyPct = 25},
        {.wave = Pulse, .startMs = 285, .lengthMs = 420, .attackMs = 2, .decayMs = 80, .sustainPct = 60, .releaseMs = 300, .levelPct = 5, .fromHz = 1047, .cutFromHz = 5000, .dutyPct = 25},
        {.wave = Triangle, .startMs = 285, .lengthMs = 420, .attackMs = 2, .releaseMs = 380, .levelPct = 4, .fromHz = 523},
    }}},
}};
// clang-format on

Tone ToneOf(const EffectTone &e, uint32_t seed) {
    Tone tone;
    tone.wave = e.wave;
    tone.frames = FramesOfMs(e.lengthMs);
    tone.attack = FramesOfMs(e.attackMs);
    tone.decay = FramesOfMs(e.decayMs);
    tone.release = FramesOfMs(e.releaseMs);
    tone.sustain = Q15OfPercent(e.sustainPct);
    tone.level = Q15OfPercent(e.levelPct);
    tone.stepFrom = StepOfHz(e.fromHz);
    tone.stepTo = StepOfHz(e.toHz >= 0 ? e.toHz : e.fromHz);
    tone.duty = static_cast<uint32_t>((int64_t{std::clamp(e.dutyPct, 1, 99)} << 32) / 100);
    tone.cutFrom = CutOfHz(e.cutFromHz);
    tone.cutTo = CutOfHz(e.cutToHz >= 0 ? e.cutToHz : e.cutFromHz);
    tone.highPass = e.highPass;
    tone.vibratoStep = StepOfHz(e.vibratoHz);
    tone.vibratoDepth = e.vibratoPct * 65536 / 100;
    tone.seed = seed;
    return tone;
}

} // namespace

int32_t EffectLength(int effect) {
    if (effect < 1 || effect > kEffectCount) return 0;
    int32_t length = 0;
    for (const EffectTone &tone : kEffects[static_cast<std::size_t>(effect)].tones)
        if (tone.lengthMs > 0)
            length = std::max(length, FramesOfMs(tone.startMs) + FramesOfMs(tone.lengthMs));
    return length;
}

void MakeEffect(int effect, int16_t *out) {
    const int32_t frames = EffectLength(effect);
    if (frames == 0) return;
    std::fill_n(out, frames, int16_t{0});
    uint32_t seed = static_cast<uint32_t>(effect) * 2654435761u;
    for (const EffectTone &tone : kEffects[static_cast<std::size_t>(effect)].tones) {
        if (tone.lengthMs <= 0) continue;
        seed += 0x9e3779b9u;
        AddTone(ToneOf(tone, seed), out, frames, FramesOfMs(tone.startMs), false);
    }
}

} // namespace halvane
