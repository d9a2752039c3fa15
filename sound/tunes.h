// tunes.h -- the four tunes: their lengths and their making from the scores
// in tune_scores.cpp. Used by the sound maker and the tests.
#pragma once

#include <array>
#include <cstdint>

#include "platform/audio_mixer.h"

namespace halvane {

constexpr int kStepsPerBar = 16;

// Each tune's step (a sixteenth note) in frames and its bars; a tune plays
// them all before it repeats.
struct TuneShape {
    int32_t stepFrames;
    int bars;
};
constexpr std::array<TuneShape, kTuneCount + 1> kTuneShapes{{
    {0, 0},
    {5512, 16}, // menu: about 120 beats a minute, 32 s
    {6615, 8},  // briefing: 100 a minute, 19.2 s
    {4410, 24}, // game: 150 a minute, 38.4 s
    {5880, 8},  // end: 112.5 a minute, 17.1 s
}};

constexpr int32_t TuneLength(int tune) {
    return tune < 1 || tune > kTuneCount
               ? 0
               : kTuneShapes[static_cast<std::size_t>(tune)].stepFrames *
                     kTuneShapes[static_cast<std::size_t>(tune)].bars * kStepsPerBar;
}
constexpr int32_t kTuneStoreFrames = TuneLength(1) + TuneLength(2) + TuneLength(3) + TuneLength(4);

// Writes tune `tune` (kTune...) into `out`, TuneLength frames, made to loop:
// the notes that ring past the end sound again at the start.
void MakeTune(int tune, int16_t *out);

// Tokens of the tune's score that do not read as a note, a chord degree, a
// drum or a hold, plus patterns that are not one bar long: 0 for a good
// score. For the tests.
int ScoreProblems(int tune);

} // namespace halvane
