// The instruments: pitch, envelopes and filter, on single tones.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "sound/synth.h"

namespace halvane {
namespace {

int RisingCrossings(const std::vector<int16_t> &samples) {
    int count = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        count += samples[i - 1] < 0 && samples[i] >= 0;
    return count;
}

std::vector<int16_t> OneSecond(const Tone &tone) {
    std::vector<int16_t> out(kSynthRate, 0);
    AddTone(tone, out.data(), kSynthRate, 0, false);
    return out;
}

// A steady tone of each wave shape at A 440 and A 880 crosses zero upwards
// once per cycle.
TEST(Synth, EveryWaveSoundsTheNoteItIsGiven) {
    for (Wave wave : {Wave::Sine, Wave::Triangle, Wave::Saw, Wave::Pulse}) {
        for (auto [note, hz] :
             std::array<std::pair<int, int>, 3>{{{69, 440}, {81, 880}, {45, 110}}}) {
            Tone tone;
            tone.wave = wave;
            tone.frames = kSynthRate;
            tone.level = 16000;
            tone.stepFrom = tone.stepTo = StepOfNote(note);
            EXPECT_NEAR(RisingCrossings(OneSecond(tone)), hz, 1)
                << static_cast<int>(wave) << " " << note;
        }
    }
    // The note table agrees with the conversion from Hz.
    EXPECT_NEAR(static_cast<double>(StepOfHz(440)), static_cast<double>(StepOfNote(69)), 1.0);
}

TEST(Synth, EnvelopeRisesHoldsAndFallsToSilenceWithoutAJump) {
    Tone tone;
    tone.wave = Wave::Pulse; // full swing at every sample: the envelope is seen directly
    tone.frames = 1000;
    tone.attack = 100;
    tone.decay = 100;
    tone.sustain = 16384;
    tone.release = 300;
    tone.level = 20000;
    tone.stepFrom = tone.stepTo = 0; // phase stays 0: always high
    std::vector<int16_t> out(1200, 0);
    AddTone(tone, out.data(), 1200, 100, false);
    EXPECT_EQ(out[99], 0);
    EXPECT_EQ(out[100], 0);             // starts from silence
    EXPECT_NEAR(out[200], 20000, 250);  // peak after the attack
    EXPECT_NEAR(out[300], 10000, 250);  // the sustain: half the peak
    EXPECT_NEAR(out[700], 10000, 250);  // held until the release
    EXPECT_LT(std::abs(out[1099]), 50); // and back to silence
    EXPECT_EQ(out[1100], 0);
    for (std::size_t i = 101; i < out.size(); ++i)
        EXPECT_LE(std::abs(out[i] - out[i - 1]), 201) << i;
}

TEST(Synth, ALowPassDampsHighNotesMoreThanLowOnesAndAHighPassTheReverse) {
    auto peakOf = [](int note, bool highPass) {
        Tone tone;
        tone.wave = Wave::Sine;
        tone.frames = kSynthRate / 4;
        tone.level = 20000;
        tone.stepFrom = tone.stepTo = StepOfNote(note);
        tone.cutFrom = tone.cutTo = CutOfHz(1000);
        tone.highPass = highPass;
        std::vector<int16_t> out(static_cast<std::size_t>(tone.frames), 0);
        AddTone(tone, out.data(), tone.frames, 0, false);
        int peak = 0;
        for (std::size_t i = out.size() / 2; i < out.size(); ++i)
            peak = std::max(peak, std::abs(int{out[i]}));
        return peak;
    };
    EXPECT_GT(peakOf(45, false), 17000); // 110 Hz passes
    EXPECT_LT(peakOf(105, false), 2000); // 7 kHz is mostly gone
    EXPECT_LT(peakOf(45, true), 6000);
    EXPECT_GT(peakOf(105, true), 17000);
}

TEST(Synth, ToneWrapsPastTheEndOnlyWhenAskedAndSaturates) {
    Tone tone;
    tone.wave = Wave::Pulse;
    tone.frames = 10;
    tone.level = 32767;
    tone.stepFrom = tone.stepTo = 0;
    std::array<int16_t, 8> cut{};
    std::array<int16_t, 8> looped{};
    AddTone(tone, cut.data(), 8, 4, false);
    AddTone(tone, looped.data(), 8, 4, true);
    EXPECT_EQ(cut[0], 0);    // the rest was cut off
    EXPECT_NE(looped[0], 0); // came round to the start
    EXPECT_NE(looped[5], 0);
    std::array<int16_t, 10> loud{};
    loud.fill(32000);
    tone.attack = 0;
    AddTone(tone, loud.data(), 10, 0, false);
    EXPECT_EQ(loud[3], 32767);
}

} // namespace
} // namespace halvane
