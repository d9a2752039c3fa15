// tune_score.h -- how a tune is written down: instruments, patterns of one
// bar (sixteen steps) and the bars that use them. Shared by the scores
// (tune_scores.cpp) and the tune maker (tunes.cpp) only.
//
// A pattern is sixteen tokens separated by blanks:
//   "-" holds the note before, "." is silence;
//   bass, arpeggio: a degree of the bar's chord: 1 root, 3 third, 5 fifth,
//     7 seventh, 8 the root an octave up, 10, 12, 15 an octave up again, and
//     2, 4, 6, 9, 11, 13 the notes between;
//   pad: "c" sounds the bar's whole chord;
//   lead: a note name with its octave, "a4" (440 Hz), "c#5", "bb3";
//   drums: "k" kick, "s" snare, "h" closed hat, "o" open hat, "x" kick and
//     hat together.
// A chord is a root with an optional "#" or "b" and a kind: "" major, "m"
// minor, "7", "m7", "maj7", "sus".
#pragma once

#include <array>

#include "sound/synth.h"

namespace halvane {

struct Instrument {
    Wave wave = Wave::Pulse;
    int octave = 4; // the octave of the chord's root (for degree patterns)
    int attackMs = 2;
    int decayMs = 0;
    int sustainPct = 100;
    int releaseMs = 20;
    int levelPct = 0;
    int cutHz = 0;     // filter corner at the note's start (0: open) ...
    int cutEndHz = -1; // ... and at its end (-1: the same)
    int dutyPct = 50;
    int vibratoHz = 0;
    int vibratoPct = 0;
};

constexpr int kMaxPatterns = 12;
constexpr int kMaxBars = 24;
constexpr int kNoPattern = -1;

struct Bar {
    const char *chord = "C";
    int bass = kNoPattern;
    int arp = kNoPattern;
    int pad = kNoPattern;
    int lead = kNoPattern;
    int drums = kNoPattern;
};

using Patterns = std::array<const char *, kMaxPatterns>;

struct TuneScore {
    Instrument bass, arp, pad, lead;
    int drumLevelPct = 0; // the drum kit's loudness in this tune
    Patterns bassPatterns{}, arpPatterns{}, padPatterns{}, leadPatterns{}, drumPatterns{};
    std::array<Bar, kMaxBars> bars{}; // as many as the tune's shape says
};

// The score of each tune (tune_scores.cpp).
const TuneScore &ScoreOf(int tune);

} // namespace halvane
