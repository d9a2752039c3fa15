// tune_scores.cpp -- the four tunes, written as scores (see tune_score.h):
// a dark arpeggiated theme for the menu, a slow minor pad for the
// briefings, a driving sixteenth-note chase for the levels and a bright
// major march for the end of the game.
#include "sound/tune_score.h"

#include "platform/audio_mixer.h"

namespace halvane {

namespace {

using enum Wave;

// The instruments most tunes share, each tune setting its own loudness.
// clang-format off
constexpr Instrument kPluckBass{.wave = Saw, .octave = 2, .attackMs = 3, .decayMs = 140,
                                .sustainPct = 55, .releaseMs = 40, .levelPct = 10, .cutHz = 1100,
                                .cutEndHz = 350};
constexpr Instrument kArp{.wave = Pulse, .octave = 4, .attackMs = 2, .decayMs = 90,
                          .sustainPct = 25, .releaseMs = 60, .levelPct = 5, .cutHz = 6000,
                          .cutEndHz = 2200, .dutyPct = 25};
constexpr Instrument kPad{.wave = Saw, .octave = 3, .attackMs = 450, .decayMs = 0,
                          .sustainPct = 100, .releaseMs = 500, .levelPct = 3, .cutHz = 1200,
                          .vibratoHz = 5, .vibratoPct = 1};
constexpr Instrument kLead{.wave = Pulse, .octave = 5, .attackMs = 12, .decayMs = 200,
                           .sustainPct = 70, .releaseMs = 110, .levelPct = 7, .cutHz = 5000,
                           .dutyPct = 50, .vibratoHz = 5, .vibratoPct = 1};

// --- menu: A minor, 16 bars -------------------------------------------------
const TuneScore kMenu{
    .bass = kPluckBass,
    .arp = kArp,
    .pad = kPad,
    .lead = kLead,
    .drumLevelPct = 57,
    .bassPatterns = {
        "1 . . 1 . . 8 . 1 . . 1 . 5 8 .",
        "1 . . 1 . . 8 . 1 . 1 . 8 . 5 3",
    },
    .arpPatterns = {
        "1 5 8 10 12 10 8 5 1 5 8 10 12 10 8 5",
        "1 . 8 . 5 . 8 . 10 . 8 . 5 . 8 .",
    },
    .padPatterns = {"c - - - - - - - - - - - - - - -"},
    .leadPatterns = {
        "e5 - - - a5 - - - g5 - e5 - d5 - c5 -",
        "d5 - e5 - - - - - c5 - b4 - a4 - - -",
        "a4 - - - c5 - - - f5 - - - e5 - c5 -",
        "d5 - - - c5 - a4 - - - - - . . . .",
        "f5 - - - e5 - d5 - - - a4 - d5 - f5 -",
        "a5 - - - g5 - f5 - e5 - d5 - f5 - - -",
        "e5 - - - g#5 - - - b5 - - - g#5 - e5 -",
        "d5 - - - c5 - - - b4 - - - g#4 - - -",
    },
    .drumPatterns = {
        "k . h . s . h . k . h k s . h h",
        "k . h . s . h . k k s . s s s s",
        "h . . . h . . . h . . . h . h .",
    },
    .bars = {{
        {.chord = "Am", .arp = 1, .pad = 0, .drums = 2},
        {.chord = "Am", .arp = 1, .pad = 0, .drums = 2},
        {.chord = "F",  .arp = 1, .pad = 0, .drums = 2},
        {.chord = "F",  .arp = 1, .pad = 0, .drums = 2},
        {.chord = "C",  .bass = 0, .arp = 0, .pad = 0, .drums = 0},
        {.chord = "C",  .bass = 0, .arp = 0, .pad = 0, .drums = 0},
        {.chord = "G",  .bass = 0, .arp = 0, .pad = 0, .drums = 0},
        {.chord = "G",  .bass = 1, .arp = 0, .pad = 0, .drums = 1},
        {.chord = "Am", .bass = 0, .arp = 0, .pad = 0, .lead = 0, .drums = 0},
        {.chord = "Am", .bass = 0, .arp = 0, .pad = 0, .lead = 1, .drums = 0},
        {.chord = "F",  .bass = 0, .arp = 0, .pad = 0, .lead = 2, .drums = 0},
        {.chord = "F",  .bass = 1, .arp = 0, .pad = 0, .lead = 3, .drums = 0},
        {.chord = "Dm", .bass = 0, .arp = 0, .pad = 0, .lead = 4, .drums = 0},
        {.chord = "Dm", .bass = 0, .arp = 0, .pad = 0, .lead = 5, .drums = 0},
        {.chord = "E",  .bass = 0, .arp = 0, .pad = 0, .lead = 6, .drums = 0},
        {.chord = "E7", .bass = 1, .arp = 0, .pad = 0, .lead = 7, .drums = 1},
    }},
};

// --- briefing: D minor, slow, 8 bars ------------------------------------------
const TuneScore kBriefing{
    .bass = {.wave = Triangle, .octave = 2, .attackMs = 20, .decayMs = 300, .sustainPct = 70,
             .releaseMs = 200, .levelPct = 16},
    .arp = {.wave = Triangle, .octave = 4, .attackMs = 4, .decayMs = 200, .sustainPct = 30,
            .releaseMs = 250, .levelPct = 8},
    .pad = kPad,
    .lead = {.wave = Pulse, .octave = 5, .attackMs = 60, .decayMs = 300, .sustainPct = 70,
             .releaseMs = 400, .levelPct = 5, .cutHz = 1800, .dutyPct = 30, .vibratoHz = 4,
             .vibratoPct = 1},
    .drumLevelPct = 33,
    .bassPatterns = {"1 - - - - - - - 1 - - - 5 - - -"},
    .arpPatterns = {"1 . 5 . 8 . 5 . 10 . 8 . 5 . 8 ."},
    .padPatterns = {"c - - - - - - - - - - - - - - -"},
    .leadPatterns = {
        "a4 - - - - - - - f4 - - - e4 - - -",
        "d4 - - - - - - - . . . . . . . .",
        "f4 - - - - - - - d4 - - - f4 - - -",
        "bb4 - - - - - - - a4 - - - - - - -",
        "g4 - - - - - - - a4 - - - bb4 - - -",
        "d5 - - - - - - - c5 - - - bb4 - - -",
        "a4 - - - - - - - c#5 - - - e5 - - -",
        "c#5 - - - - - - - . . . . . . . .",
    },
    .drumPatterns = {"k . . . h . . . k . . . h . h ."},
    .bars = {{
        {.chord = "Dm", .bass = 0, .arp = 0, .pad = 0, .lead = 0, .drums = 0},
        {.chord = "Dm", .bass = 0, .arp = 0, .pad = 0, .lead = 1, .drums = 0},
        {.chord = "Bb", .bass = 0, .arp = 0, .pad = 0, .lead = 2, .drums = 0},
        {.chord = "Bb", .bass = 0, .arp = 0, .pad = 0, .lead = 3, .drums = 0},
        {.chord = "Gm", .bass = 0, .arp = 0, .pad = 0, .lead = 4, .drums = 0},
        {.chord = "Gm", .bass = 0, .arp = 0, .pad = 0, .lead = 5, .drums = 0},
        {.chord = "A",  .bass = 0, .arp = 0, .pad = 0, .lead = 6, .drums = 0},
        {.chord = "A7", .bass = 0, .arp = 0, .pad = 0, .lead = 7, .drums = 0},
    }},
};

// --- game: E minor, fast, 24 bars -------------------------------------------
const TuneScore kGame{
    .bass = {.wave = Saw, .octave = 2, .attackMs = 2, .decayMs = 80, .sustainPct = 50,
             .releaseMs = 25, .levelPct = 10, .cutHz = 1500, .cutEndHz = 400},
    .arp = kArp,
    .pad = kPad,
    .lead = kLead,
    .drumLevelPct = 61,
    .bassPatterns = {
        "1 1 8 1 1 8 1 1 8 1 1 8 1 5 8 5",
        "1 1 8 1 1 8 1 1 5 5 12 5 3 3 10 3",
    },
    .arpPatterns = {
        "1 5 8 5 10 8 5 8 1 5 8 5 12 10 8 5",
        "8 . 5 . 8 . 10 . 8 . 5 . 12 . 10 .",
    },
    .padPatterns = {"c - - - - - - - - - - - - - - -"},
    .leadPatterns = {
        "b4 - e5 - g5 - b5 - a5 - g5 - f#5 - e5 -",
        "g5 - - - f#5 - e5 - d5 - - - e5 - - -",
        "c5 - e5 - g5 - c6 - b5 - g5 - e5 - g5 -",
        "f#5 - - - a5 - - - d6 - - - c6 - a5 -",
        "g5 - - - b5 - - - e6 - - - d6 - b5 -",
        "c6 - b5 - g5 - e5 - c5 - e5 - g5 - c6 -",
        "b5 - - - a5 - - - f#5 - - - d#5 - - -",
        "a5 - - - - - c6 - b5 - a5 - e5 - - -",
        "c5 - d5 - e5 - a5 - g5 - e5 - c5 - d5 -",
        "e5 - - - g5 - - - b5 - - - g5 - e5 -",
        "d5 - e5 - - - - - . . . . b4 - d5 -",
        "f#5 - a5 - d6 - - - c6 - a5 - f#5 - d5 -",
    },
    .drumPatterns = {
        "x . h . s . h x x . h . s . h h",
        "x . s . s . s s x s s s s s s s",
        "x . h . x . h . x . h . x . h o",
    },
    .bars = {{
        // A: the theme
        {.chord = "Em", .bass = 0, .arp = 0, .lead = 0, .drums = 0},
        {.chord = "Em", .bass = 0, .arp = 0, .lead = 1, .drums = 0},
        {.chord = "C",  .bass = 0, .arp = 0, .lead = 2, .drums = 0},
        {.chord = "D",  .bass = 1, .arp = 0, .lead = 3, .drums = 0},
        {.chord = "Em", .bass = 0, .arp = 0, .lead = 0, .drums = 0},
        {.chord = "Em", .bass = 0, .arp = 0, .lead = 4, .drums = 0},
        {.chord = "C",  .bass = 0, .arp = 0, .lead = 5, .drums = 0},
        {.chord = "B7", .bass = 1, .arp = 0, .lead = 6, .drums = 1},
        // B: the answer, over a pad
        {.chord = "Am", .bass = 0, .arp = 1, .pad = 0, .lead = 7, .drums = 2},
        {.chord = "Am", .bass = 0, .arp = 1, .pad = 0, .lead = 8, .drums = 2},
        {.chord = "Em", .bass = 0, .arp = 1, .pad = 0, .lead = 9, .drums = 2},
        {.chord = "Em", .bass = 1, .arp = 1, .pad = 0, .lead = 10, .drums = 2},
        {.chord = "C",  .bass = 0, .arp = 1, .pad = 0, .lead = 5, .drums = 2},
        {.chord = "C",  .bass = 0, .arp = 1, .pad = 0, .lead = 2, .drums = 2},
        {.chord = "D",  .bass = 0, .arp = 1, .pad = 0, .lead = 11, .drums = 2},
        {.chord = "D",  .bass = 1, .arp = 1, .pad = 0, .lead = 3, .drums = 1},
        // C: a break without the theme, then the theme's end
        {.chord = "Em", .bass = 0, .arp = 0, .drums = 0},
        {.chord = "C",  .bass = 0, .arp = 0, .drums = 0},
        {.chord = "G",  .bass = 0, .arp = 0, .drums = 0},
        {.chord = "D",  .bass = 1, .arp = 0, .drums = 0},
        {.chord = "Am", .bass = 0, .arp = 0, .pad = 0, .lead = 7, .drums = 0},
        {.chord = "C",  .bass = 0, .arp = 0, .pad = 0, .lead = 5, .drums = 0},
        {.chord = "B",  .bass = 0, .arp = 0, .pad = 0, .lead = 6, .drums = 0},
        {.chord = "B7", .bass = 1, .arp = 0, .pad = 0, .drums = 1},
    }},
};

// --- end: C major, a march, 8 bars -------------------------------------------
const TuneScore kEnd{
    .bass = kPluckBass,
    .arp = kArp,
    .pad = kPad,
    .lead = {.wave = Pulse, .octave = 5, .attackMs = 8, .decayMs = 150, .sustainPct = 75,
             .releaseMs = 120, .levelPct = 7, .cutHz = 4000, .dutyPct = 25, .vibratoHz = 6,
             .vibratoPct = 1},
    .drumLevelPct = 57,
    .bassPatterns = {"1 . 8 . 1 . 8 . 1 . 8 . 5 . 8 ."},
    .arpPatterns = {"1 3 5 8 1 3 5 8 10 8 5 3 10 8 5 3"},
    .padPatterns = {"c - - - - - - - - - - - - - - -"},
    .leadPatterns = {
        "e5 - - - g5 - - - c6 - - - g5 - - -",
        "e5 - f5 - g5 - - - . . . . g5 - a5 -",
        "c6 - - - b5 - a5 - e5 - - - a5 - - -",
        "g5 - - - - - - - e5 - - - c5 - - -",
        "a5 - - - c6 - - - f6 - - - c6 - a5 -",
        "g5 - - - f5 - e5 - f5 - - - a5 - - -",
        "g5 - - - b5 - - - d6 - - - b5 - g5 -",
        "f5 - - - d5 - - - b4 - - - d5 - - -",
    },
    .drumPatterns = {
        "k . h . s . h . k . h . s . h h",
        "k . h . s . h . k . s s s . o .",
    },
    .bars = {{
        {.chord = "C",  .bass = 0, .arp = 0, .pad = 0, .lead = 0, .drums = 0},
        {.chord = "C",  .bass = 0, .arp = 0, .pad = 0, .lead = 1, .drums = 0},
        {.chord = "Am", .bass = 0, .arp = 0, .pad = 0, .lead = 2, .drums = 0},
        {.chord = "Am", .bass = 0, .arp = 0, .pad = 0, .lead = 3, .drums = 0},
        {.chord = "F",  .bass = 0, .arp = 0, .pad = 0, .lead = 4, .drums = 0},
        {.chord = "F",  .bass = 0, .arp = 0, .pad = 0, .lead = 5, .drums = 0},
        {.chord = "G",  .bass = 0, .arp = 0, .pad = 0, .lead = 6, .drums = 0},
        {.chord = "G7", .bass = 0, .arp = 0, .pad = 0, .lead = 7, .drums = 1},
    }},
};
// clang-format on

} // namespace

const TuneScore &ScoreOf(int tune) {
    switch (tune) {
    case kTuneMenu:
        return kMenu;
    case kTuneBriefing:
        return kBriefing;
    case kTuneGame:
        return kGame;
    default:
        return kEnd;
    }
}

} // namespace halvane
