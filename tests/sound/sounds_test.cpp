// The sounds the game makes: every effect and tune checked for the
// properties a player hears (audible, no clicks, no clipping, distinct,
// seamless loops). That the shipped files are these samples is checked by
// the test sounds_match_sound_files.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/audio_mixer.h"
#include "sound/sound_maker.h"
#include "sound/tunes.h"

namespace halvane {
namespace {

int Peak(SampleBlock block) {
    int peak = 0;
    for (int i = 0; i < block.frames; ++i)
        peak = std::max(peak, std::abs(int{block.samples[i]}));
    return peak;
}

double Rms(SampleBlock block) {
    double sum = 0;
    for (int i = 0; i < block.frames; ++i)
        sum += double(block.samples[i]) * block.samples[i];
    return block.frames > 0 ? std::sqrt(sum / block.frames) : 0;
}

class Sounds : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        ResetAudioMixer();
        MakeSounds();
    }
};

TEST_F(Sounds, EveryEffectIsAudibleShortCleanAtItsEndsAndBelowFullScale) {
    for (int effect = 1; effect <= kEffectCount; ++effect) {
        const SampleBlock block = EffectSound(effect);
        SCOPED_TRACE(effect);
        ASSERT_GT(block.frames, kAudioRate / 50); // at least 20 ms
        EXPECT_LE(block.frames, kAudioRate * 5 / 2);
        EXPECT_GT(Rms(block), 500.0);
        EXPECT_LT(Peak(block), 16384); // room for others on top
        EXPECT_LE(std::abs(int{block.samples[0]}), 64);
        EXPECT_LE(std::abs(int{block.samples[block.frames - 1]}), 64);
    }
}

// Zero-lag likeness of the shorter effect against the start of the other,
// 1 for the same sound.
double Likeness(SampleBlock a, SampleBlock b) {
    const int n = std::min(a.frames, b.frames);
    double ab = 0, aa = 0, bb = 0;
    for (int i = 0; i < n; ++i) {
        ab += double(a.samples[i]) * b.samples[i];
        aa += double(a.samples[i]) * a.samples[i];
        bb += double(b.samples[i]) * b.samples[i];
    }
    return std::abs(ab) / std::sqrt(aa * bb + 1);
}

TEST_F(Sounds, NoTwoEffectsSoundAlike) {
    for (int a = 1; a <= kEffectCount; ++a)
        for (int b = a + 1; b <= kEffectCount; ++b)
            EXPECT_LT(Likeness(EffectSound(a), EffectSound(b)), 0.5) << a << " " << b;
}

TEST_F(Sounds, TunesAreWellWrittenLongEnoughAndLoopWithoutASeam) {
    for (int tune = 1; tune <= kTuneCount; ++tune) {
        SCOPED_TRACE(tune);
        EXPECT_EQ(ScoreProblems(tune), 0);
        const SampleBlock block = TuneSound(tune);
        ASSERT_EQ(block.frames, TuneLength(tune));
        EXPECT_GT(Rms(block), 1000.0);
        EXPECT_LT(Peak(block), 24000);
        // The jump from the last sample to the first is no bigger than the
        // steps the tune takes everywhere else.
        std::vector<int> steps;
        for (int i = 1; i < block.frames; ++i)
            steps.push_back(std::abs(block.samples[i] - block.samples[i - 1]));
        std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
        const int usual = steps[steps.size() * 99 / 100];
        EXPECT_LE(std::abs(block.samples[0] - block.samples[block.frames - 1]), usual);
    }
    // Menu and game play at least 30 s, and no whole number of bars repeats
    // them sooner.
    for (int tune : {int{kTuneMenu}, int{kTuneGame}}) {
        const SampleBlock block = TuneSound(tune);
        EXPECT_GE(block.frames, 30 * kAudioRate);
        const int bar = kTuneShapes[static_cast<std::size_t>(tune)].stepFrames * kStepsPerBar;
        for (int shift = bar; shift < block.frames; shift += bar) {
            std::vector<int16_t> rotated(block.samples + shift, block.samples + block.frames);
            rotated.insert(rotated.end(), block.samples, block.samples + shift);
            EXPECT_NE(std::memcmp(rotated.data(), block.samples, rotated.size() * 2), 0)
                << tune << " repeats after " << shift / bar << " bars";
        }
    }
}

// The loudest moment of play: the game tune at full volume under every
// effect of a fight (a shot, its hits, a ship passing, the craft hit and
// exploding with the shield low), all started together so that their attacks
// line up, from every beat of the tune. Nothing may reach full scale.
TEST_F(Sounds, TheBusiestMomentAtFullVolumeNeverClips) {
    const std::array busiest{
        kEffectMissileLaunch, kEffectShipDestroyed, kEffectMineDestroyed, kEffectGroundImpact,
        kEffectShipPass,      kEffectCraftHit,      kEffectShieldLow,     kEffectCraftExplosion,
    };
    // At full volume the mixer adds the samples as they are (255 / 255).
    const SampleBlock tune = TuneSound(kTuneGame);
    const int beat = kTuneShapes[kTuneGame].stepFrames * 4;
    int peak = 0;
    for (int at = 0; at < tune.frames; at += beat) {
        for (int i = 0; i < 2 * kAudioRate; ++i) {
            int sum = tune.samples[(at + i) % tune.frames];
            for (int effect : busiest) {
                const SampleBlock block = EffectSound(effect);
                if (i < block.frames) sum += block.samples[i];
            }
            peak = std::max(peak, std::abs(sum));
        }
    }
    EXPECT_LT(peak, 32767);
    EXPECT_GT(peak, 16384); // and it is loud
    // The same through the mixer, from the tune's start.
    SetVolumeSteps(4, 4);
    RequestTune(kTuneGame);
    for (int effect : busiest)
        RequestEffect(effect);
    std::vector<int16_t> out(kAudioRate * 2);
    MixAudio(out.data(), static_cast<int>(out.size()));
    EXPECT_EQ(AudioMixerStatus().clipped, 0u);
}

TEST_F(Sounds, TheSameDescriptionsMakeTheSameSamples) {
    std::vector<int16_t> first;
    for (int e = 1; e <= kEffectCount; ++e)
        first.insert(first.end(), EffectSound(e).samples,
                     EffectSound(e).samples + EffectSound(e).frames);
    for (int t = 1; t <= kTuneCount; ++t)
        first.insert(first.end(), TuneSound(t).samples, TuneSound(t).samples + TuneSound(t).frames);
    MakeSounds();
    std::vector<int16_t> second;
    for (int e = 1; e <= kEffectCount; ++e)
        second.insert(second.end(), EffectSound(e).samples,
                      EffectSound(e).samples + EffectSound(e).frames);
    for (int t = 1; t <= kTuneCount; ++t)
        second.insert(second.end(), TuneSound(t).samples,
                      TuneSound(t).samples + TuneSound(t).frames);
    EXPECT_EQ(first, second);
}

} // namespace
} // namespace halvane
