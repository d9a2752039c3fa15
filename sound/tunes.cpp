// tunes.cpp -- reads a tune's score and plays its notes into the tune's
// samples: bass, arpeggio, pad, lead and drums, step by step.
#include "sound/tunes.h"

#include <algorithm>
#include <cstring>

#include "sound/tune_score.h"

namespace halvane {

namespace {

constexpr int kMaxSteps = kMaxBars * kStepsPerBar;
constexpr int kMaxChordNotes = 4;

// One step of one track after reading: a note (or chord, or drum) starts,
// the note before holds, or silence.
enum class StepKind : uint8_t { Silence, Hold, Start };
struct Step {
    StepKind kind = StepKind::Silence;
    int count = 0;                           // notes sounding together
    std::array<int, kMaxChordNotes> notes{}; // MIDI notes, or drum letters
};
using Track = std::array<Step, kMaxSteps>;

struct Chord {
    int root = 0; // 0 = C .. 11 = B
    bool minor = false;
    bool seventh = false;
    bool majorSeventh = false;
    bool suspended = false;
};

// Note letters C D E F G A B as semitones above C.
int LetterSemitone(char letter) {
    constexpr std::array<int, 7> kFromA{9, 11, 0, 2, 4, 5, 7};
    return letter >= 'A' && letter <= 'G'   ? kFromA[static_cast<std::size_t>(letter - 'A')]
           : letter >= 'a' && letter <= 'g' ? kFromA[static_cast<std::size_t>(letter - 'a')]
                                            : -1;
}

bool ReadChord(const char *text, Chord &chord) {
    chord = {};
    chord.root = LetterSemitone(text[0]);
    if (chord.root < 0) return false;
    const char *kind = text + 1;
    if (*kind == '#' || *kind == 'b') {
        chord.root = (chord.root + (*kind == '#' ? 1 : 11)) % 12;
        ++kind;
    }
    chord.minor = std::strcmp(kind, "m") == 0 || std::strcmp(kind, "m7") == 0;
    chord.seventh = std::strcmp(kind, "7") == 0 || std::strcmp(kind, "m7") == 0 ||
                    std::strcmp(kind, "maj7") == 0;
    chord.majorSeventh = std::strcmp(kind, "maj7") == 0;
    chord.suspended = std::strcmp(kind, "sus") == 0;
    return chord.minor || chord.seventh || chord.suspended || kind[0] == '\0';
}

// Semitones above the root of degree 1..15 of the chord's scale.
int DegreeSemitones(const Chord &chord, int degree) {
    constexpr std::array<int, 7> kMajor{0, 2, 4, 5, 7, 9, 10};
    constexpr std::array<int, 7> kMinor{0, 2, 3, 5, 7, 8, 10};
    const int inOctave = (degree - 1) % 7;
    int semitones = (chord.minor ? kMinor : kMajor)[static_cast<std::size_t>(inOctave)];
    if (inOctave == 2 && chord.suspended) semitones = 5;
    if (inOctave == 6 && chord.majorSeventh) semitones = 11;
    return semitones + 12 * ((degree - 1) / 7);
}

int RootNote(const Chord &chord, int octave) {
    return 12 * (octave + 1) + chord.root;
}

// Reads "c#5" or "bb3" as a MIDI note; -1 when it is none.
int ReadNoteName(const char *token, int length) {
    int semitone = LetterSemitone(token[0]);
    int at = 1;
    if (semitone < 0 || length < 2) return -1;
    if (length == 3 && (token[1] == '#' || token[1] == 'b')) {
        semitone += token[1] == '#' ? 1 : -1;
        at = 2;
    }
    if (at != length - 1 || token[at] < '0' || token[at] > '8') return -1;
    return 12 * (token[at] - '0' + 1) + semitone;
}

enum class Reading { Degrees, Pad, Notes, Drums };

// Reads one token into `step`; false when it means nothing.
bool ReadToken(const char *token, int length, Reading reading, const Chord &chord, int octave,
               Step &step) {
    step = {};
    if (length == 1 && token[0] == '-') {
        step.kind = StepKind::Hold;
        return true;
    }
    if (length == 1 && token[0] == '.') return true; // silence
    step.kind = StepKind::Start;
    switch (reading) {
    case Reading::Degrees: {
        int degree = 0;
        for (int i = 0; i < length; ++i) {
            if (token[i] < '0' || token[i] > '9') return false;
            degree = degree * 10 + token[i] - '0';
        }
        if (degree < 1 || degree > 15) return false;
        step.count = 1;
        step.notes[0] = RootNote(chord, octave) + DegreeSemitones(chord, degree);
        return true;
    }
    case Reading::Pad: {
        if (length != 1 || token[0] != 'c') return false;
        const std::array<int, kMaxChordNotes> degrees{1, 3, 5, 7};
        step.count = chord.seventh ? 4 : 3;
        for (int i = 0; i < step.count; ++i)
            step.notes[static_cast<std::size_t>(i)] =
                RootNote(chord, octave) +
                DegreeSemitones(chord, degrees[static_cast<std::size_t>(i)]);
        return true;
    }
    case Reading::Notes:
        step.count = 1;
        step.notes[0] = ReadNoteName(token, length);
        return step.notes[0] >= 0;
    case Reading::Drums:
        if (length != 1 || std::strchr("kshox", token[0]) == nullptr) return false;
        step.count = token[0] == 'x' ? 2 : 1;
        step.notes[0] = token[0] == 'x' ? 'k' : token[0];
        step.notes[1] = 'h';
        return true;
    }
    return false;
}

// Reads one bar's pattern into 16 steps of `track` from `first`; returns the
// problems found (bad tokens, a length other than a bar).
int ReadPattern(const char *pattern, Reading reading, const Chord &chord, int octave, Step *first) {
    int problems = 0;
    int steps = 0;
    for (const char *p = pattern; *p != '\0';) {
        while (*p == ' ')
            ++p;
        const char *end = p;
        while (*end != '\0' && *end != ' ')
            ++end;
        if (end == p) break;
        Step step;
        if (!ReadToken(p, static_cast<int>(end - p), reading, chord, octave, step)) ++problems;
        if (steps < kStepsPerBar) first[steps] = step;
        ++steps;
        p = end;
    }
    return problems + (steps != kStepsPerBar);
}

// Reads one track of the whole tune; a bar without a pattern is silent.
int ReadTrack(const TuneScore &score, int bars, int Bar::*which, const Patterns &patterns,
              Reading reading, int octave, Track &track) {
    int problems = 0;
    track.fill({});
    for (int b = 0; b < bars; ++b) {
        const Bar &bar = score.bars[static_cast<std::size_t>(b)];
        Chord chord;
        if (!ReadChord(bar.chord, chord)) ++problems;
        const int index = bar.*which;
        if (index == kNoPattern) continue;
        if (index < 0 || index >= kMaxPatterns ||
            patterns[static_cast<std::size_t>(index)] == nullptr) {
            ++problems;
            continue;
        }
        problems += ReadPattern(patterns[static_cast<std::size_t>(index)], reading, chord, octave,
                                &track[static_cast<std::size_t>(b * kStepsPerBar)]);
    }
    return problems;
}

Tone ToneOfNote(const Instrument &instrument, int note, int32_t gateFrames) {
    Tone tone;
    tone.wave = instrument.wave;
    tone.release = FramesOfMs(instrument.releaseMs);
    tone.frames = gateFrames + tone.release;
    tone.attack = FramesOfMs(instrument.attackMs);
    tone.decay = FramesOfMs(instrument.decayMs);
    tone.sustain = Q15OfPercent(instrument.sustainPct);
    tone.level = Q15OfPercent(instrument.levelPct);
    tone.stepFrom = tone.stepTo = StepOfNote(note);
    tone.duty = static_cast<uint32_t>((int64_t{std::clamp(instrument.dutyPct, 1, 99)} << 32) / 100);
    tone.cutFrom = CutOfHz(instrument.cutHz);
    tone.cutTo = CutOfHz(instrument.cutEndHz >= 0 ? instrument.cutEndHz : instrument.cutHz);
    tone.vibratoStep = StepOfHz(instrument.vibratoHz);
    tone.vibratoDepth = instrument.vibratoPct * 65536 / 100;
    return tone;
}

// The drum kit: a falling sine for the kick, noise over a low tone for the
// snare, high noise for the hats. `level` in percent scales the kit.
void AddDrum(int drum, int level, uint32_t seed, int16_t *out, int32_t frames, int32_t at) {
    auto scaled = [level](int percent) { return Q15OfPercent(percent * level / 100); };
    Tone tone;
    tone.attack = FramesOfMs(1);
    tone.seed = seed;
    switch (drum) {
    case 'k':
        tone.wave = Wave::Sine;
        tone.frames = FramesOfMs(190);
        tone.release = FramesOfMs(170);
        tone.level = scaled(30);
        tone.stepFrom = StepOfHz(160);
        tone.stepTo = StepOfHz(42);
        break;
    case 's': {
        Tone body = tone;
        body.wave = Wave::Triangle;
        body.frames = FramesOfMs(110);
        body.release = FramesOfMs(100);
        body.level = scaled(12);
        body.stepFrom = StepOfHz(200);
        body.stepTo = StepOfHz(150);
        AddTone(body, out, frames, at, true);
        tone.wave = Wave::Noise;
        tone.frames = FramesOfMs(170);
        tone.release = FramesOfMs(160);
        tone.level = scaled(18);
        tone.stepFrom = tone.stepTo = StepOfHz(44100);
        tone.cutFrom = CutOfHz(6000);
        tone.cutTo = CutOfHz(2500);
        break;
    }
    default: // 'h', 'o'
        tone.wave = Wave::Noise;
        tone.frames = FramesOfMs(drum == 'o' ? 220 : 45);
        tone.release = tone.frames - tone.attack;
        tone.level = scaled(drum == 'o' ? 16 : 20);
        tone.stepFrom = tone.stepTo = StepOfHz(44100);
        tone.cutFrom = tone.cutTo = CutOfHz(5000);
        tone.highPass = true;
        break;
    }
    AddTone(tone, out, frames, at, true);
}

void PlayTrack(const Track &track, int steps, const Instrument *instrument, int drumLevel,
               int32_t stepFrames, int16_t *out, int32_t frames) {
    for (int s = 0; s < steps; ++s) {
        const Step &step = track[static_cast<std::size_t>(s)];
        if (step.kind != StepKind::Start) continue;
        int length = 1;
        while (s + length < steps &&
               track[static_cast<std::size_t>(s + length)].kind == StepKind::Hold)
            ++length;
        for (int n = 0; n < step.count; ++n) {
            const int note = step.notes[static_cast<std::size_t>(n)];
            if (instrument == nullptr)
                AddDrum(note, drumLevel, static_cast<uint32_t>(s * 7919 + n + 1), out, frames,
                        s * stepFrames);
            else
                AddTone(ToneOfNote(*instrument, note, length * stepFrames), out, frames,
                        s * stepFrames, true);
        }
    }
}

// Reads every track of the tune; `play` plays them into `out` too.
int ReadAndPlay(int tune, int16_t *out) {
    if (tune < 1 || tune > kTuneCount) return 1;
    const TuneShape shape = kTuneShapes[static_cast<std::size_t>(tune)];
    const TuneScore &score = ScoreOf(tune);
    const int32_t frames = TuneLength(tune);
    const int steps = shape.bars * kStepsPerBar;
    if (out != nullptr) std::fill_n(out, frames, int16_t{0});

    struct Part {
        int Bar::*which;
        const Patterns *patterns;
        Reading reading;
        const Instrument *instrument; // nullptr: the drums
    };
    const std::array<Part, 5> parts{{
        {&Bar::bass, &score.bassPatterns, Reading::Degrees, &score.bass},
        {&Bar::arp, &score.arpPatterns, Reading::Degrees, &score.arp},
        {&Bar::pad, &score.padPatterns, Reading::Pad, &score.pad},
        {&Bar::lead, &score.leadPatterns, Reading::Notes, &score.lead},
        {&Bar::drums, &score.drumPatterns, Reading::Drums, nullptr},
    }};
    static Track track; // 24 bars of steps: kept off the stack
    int problems = 0;
    for (const Part &part : parts) {
        const int octave = part.instrument != nullptr ? part.instrument->octave : 0;
        problems +=
            ReadTrack(score, shape.bars, part.which, *part.patterns, part.reading, octave, track);
        if (out != nullptr)
            PlayTrack(track, steps, part.instrument, score.drumLevelPct, shape.stepFrames, out,
                      frames);
    }
    return problems;
}

} // namespace

void MakeTune(int tune, int16_t *out) {
    ReadAndPlay(tune, out);
}

int ScoreProblems(int tune) {
    return ReadAndPlay(tune, nullptr);
}

} // namespace halvane
