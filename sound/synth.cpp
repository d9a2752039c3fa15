// synth.cpp -- oscillators, filter, sweeps and envelopes in integers.
#include "sound/synth.h"

#include <algorithm>
#include <array>

namespace halvane {

namespace {

constexpr int kSineBits = 12;
constexpr int kSineSize = 1 << kSineBits;

// Bhaskara's rational sine for each half cycle (within 0.2 % of the true
// curve), in integers and at compile time: the same table everywhere.
constexpr std::array<int16_t, kSineSize> MakeSineTable() {
    std::array<int16_t, kSineSize> table{};
    constexpr int64_t half = kSineSize / 2;
    for (int64_t i = 0; i < kSineSize; ++i) {
        const int64_t t = i % half;
        const int64_t p = t * (half - t);
        const int64_t value = 16 * p * 32767 / (5 * half * half - 4 * p);
        table[static_cast<std::size_t>(i)] = static_cast<int16_t>(i < half ? value : -value);
    }
    return table;
}
constexpr std::array<int16_t, kSineSize> kSine = MakeSineTable();

// One octave of phase steps at the top (MIDI notes 120..131); lower octaves
// halve them.
constexpr int kTopNote = 120;
constexpr std::array<uint32_t, 12> kTopOctave{
    815363807u,  863847862u,  915214929u,  969636441u,  1027294024u, 1088380105u,
    1153098554u, 1221665363u, 1294309365u, 1371273005u, 1452813141u, 1539201906u,
};

int16_t Saturate(int32_t value) {
    return static_cast<int16_t>(std::clamp(value, -32768, 32767));
}

int32_t WaveAt(Wave wave, uint32_t phase, uint32_t duty) {
    switch (wave) {
    case Wave::Sine:
        return SineAt(phase);
    case Wave::Triangle: {
        const int32_t t = static_cast<int32_t>(phase >> 16); // 0..65535
        return t < 32768 ? 2 * t - 32767 : 32767 - 2 * (t - 32768);
    }
    case Wave::Saw:
        return static_cast<int32_t>(phase >> 16) - 32768;
    case Wave::Pulse:
        return phase < duty ? 32767 : -32767;
    case Wave::Noise:
        break;
    }
    return 0;
}

// The envelope as straight pieces: each runs up to `end` (a frame) from the
// level `from` to the level `to` (Q15).
struct Piece {
    int32_t end;
    int32_t from;
    int32_t to;
};

std::array<Piece, 4> EnvelopePieces(const Tone &tone) {
    const int32_t release = std::clamp(tone.release, 0, tone.frames);
    const int32_t gate = tone.frames - release;
    const int32_t attack = std::clamp(tone.attack, 0, gate);
    const int32_t decay = std::clamp(tone.decay, 0, gate - attack);
    const int32_t peak = tone.level;
    const int32_t hold = static_cast<int32_t>(int64_t{peak} * tone.sustain >> 15);
    // The level where the release begins: where the pieces before it ended.
    const int32_t atGate = gate > attack ? hold : peak;
    return {Piece{attack, 0, peak}, Piece{attack + decay, peak, hold},
            Piece{gate, decay > 0 || gate > attack ? hold : peak, atGate},
            Piece{tone.frames, atGate, 0}};
}

} // namespace

int32_t SineAt(uint32_t phase) {
    return kSine[phase >> (32 - kSineBits)];
}

int32_t FramesOfMs(int32_t ms) {
    return static_cast<int32_t>(int64_t{ms} * kSynthRate / 1000);
}

uint32_t StepOfHz(int32_t hz) {
    const int64_t step = (int64_t{std::max(hz, 0)} << 32) / kSynthRate;
    return static_cast<uint32_t>(std::min<int64_t>(step, 0xffffffff));
}

uint32_t StepOfNote(int note) {
    note = std::clamp(note, 0, kTopNote + 11);
    const int octavesDown = (kTopNote + 11 - note) / 12;
    return kTopOctave[static_cast<std::size_t>(note % 12)] >> octavesDown;
}

int32_t CutOfHz(int32_t hz) {
    if (hz <= 0) return 65536;
    // 2 pi f / (rate + 2 pi f): a one-pole corner near f, always stable.
    const int64_t w = int64_t{hz} * 62832; // 2 pi f, times 10,000
    return static_cast<int32_t>((w << 16) / (int64_t{kSynthRate} * 10000 + w));
}

int32_t Q15OfPercent(int32_t percent) {
    return std::clamp(percent, 0, 100) * 32767 / 100;
}

void AddTone(const Tone &tone, int16_t *out, int32_t outFrames, int32_t at, bool wrap) {
    if (tone.frames <= 0 || outFrames <= 0 || at < 0) return;
    int32_t position = at % outFrames;
    if (!wrap && at >= outFrames) return;

    const int64_t frames = tone.frames;
    int64_t step = int64_t{tone.stepFrom} << 16;
    const int64_t stepSlope = ((int64_t{tone.stepTo} - tone.stepFrom) << 16) / frames;
    int64_t cut = int64_t{tone.cutFrom} << 16;
    const int64_t cutSlope = ((int64_t{tone.cutTo} - tone.cutFrom) << 16) / frames;
    const bool filtered = tone.cutFrom < 65536 || tone.cutTo < 65536;

    uint32_t phase = 0;
    uint32_t vibratoPhase = 0;
    uint32_t noiseState = tone.seed != 0 ? tone.seed : 1;
    int32_t noise = 0;
    int64_t low1 = 0;
    int64_t low2 = 0;

    int32_t frame = 0;
    for (const Piece &piece : EnvelopePieces(tone)) {
        const int32_t length = piece.end - frame;
        if (length <= 0) continue;
        int64_t envelope = int64_t{piece.from} << 16;
        const int64_t envelopeSlope = ((int64_t{piece.to} - piece.from) << 16) / length;
        for (; frame < piece.end; ++frame) {
            uint32_t now = static_cast<uint32_t>(step >> 16);
            step += stepSlope;
            if (tone.vibratoDepth != 0) {
                const int64_t swing =
                    (int64_t{now} * tone.vibratoDepth >> 16) * SineAt(vibratoPhase) >> 15;
                now = static_cast<uint32_t>(int64_t{now} + swing);
                vibratoPhase += tone.vibratoStep;
            }
            const uint32_t before = phase;
            phase += now;
            int32_t x;
            if (tone.wave == Wave::Noise) {
                // A new random value each time the phase wraps: the step sets
                // how rough the noise sounds.
                if (phase < before || frame == 0) {
                    noiseState ^= noiseState << 13;
                    noiseState ^= noiseState >> 17;
                    noiseState ^= noiseState << 5;
                    noise = static_cast<int32_t>(noiseState >> 16) - 32768;
                }
                x = noise;
            } else {
                x = WaveAt(tone.wave, phase, tone.duty);
            }
            if (filtered) {
                const int64_t c = cut >> 16;
                cut += cutSlope;
                low1 += (x - low1) * c >> 16;
                low2 += (low1 - low2) * c >> 16;
                x = static_cast<int32_t>(tone.highPass ? x - low2 : low2);
            }
            const int32_t sample = static_cast<int32_t>(int64_t{x} * (envelope >> 16) >> 15);
            envelope += envelopeSlope;
            out[position] = Saturate(out[position] + sample);
            if (++position == outFrames) {
                if (!wrap) return;
                position = 0;
            }
        }
    }
}

} // namespace halvane
