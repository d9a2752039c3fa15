// synth.h -- the sound maker's instruments: oscillators, a two-pole low-pass
// or high-pass filter, pitch sweeps, vibrato and envelopes, in integers only,
// so that every machine and the browser build make the same samples. Used by
// the effect and tune makers of this folder.
#pragma once

#include <cstdint>

namespace halvane {

constexpr int32_t kSynthRate = 44100; // frames per second

enum class Wave : uint8_t { Sine, Triangle, Saw, Pulse, Noise };

// One sounding tone, in frames and phase steps (2^32 steps make one cycle).
// The envelope rises over `attack`, falls to `sustain` over `decay`, holds,
// and falls to zero over the last `release` frames, so a tone starts and ends
// without a click.
struct Tone {
    Wave wave = Wave::Pulse;
    int32_t frames = 0;       // whole length, release included
    int32_t attack = 0;       // frames
    int32_t decay = 0;        // frames
    int32_t release = 0;      // frames
    int32_t sustain = 32767;  // share of the peak after the decay, Q15
    int32_t level = 0;        // peak, Q15 of full scale
    uint32_t stepFrom = 0;    // phase step at the start ...
    uint32_t stepTo = 0;      // ... and at the end (a straight sweep)
    uint32_t duty = 1u << 31; // pulse: part of the cycle that is high
    int32_t cutFrom = 65536;  // filter coefficient at the start, Q16 (65536: open)
    int32_t cutTo = 65536;    // ... and at the end
    bool highPass = false;    // keep what the filter takes away instead
    uint32_t vibratoStep = 0; // vibrato rate as a phase step
    int32_t vibratoDepth = 0; // vibrato depth, Q16 share of the step
    uint32_t seed = 1;        // noise generator's start
};

// Adds `tone` to `out` (`outFrames` long) from frame `at` on, saturating;
// past the end it wraps to the start when `wrap` (a looping tune), else it is
// cut there.
void AddTone(const Tone &tone, int16_t *out, int32_t outFrames, int32_t at, bool wrap);

// Conversions from the descriptions' units.
int32_t FramesOfMs(int32_t ms);
uint32_t StepOfHz(int32_t hz);
uint32_t StepOfNote(int note); // MIDI note number, 69 = A 440 Hz
int32_t CutOfHz(int32_t hz);   // filter coefficient; 0 Hz or less: open
int32_t Q15OfPercent(int32_t percent);

// The oscillators' sine, from a table built with integers; `phase` of 2^32
// per cycle, result in -32767..32767.
int32_t SineAt(uint32_t phase);

} // namespace halvane
