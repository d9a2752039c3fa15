// The mixer on hand-made sample blocks, pulled by the test as a device would:
// sums, saturation, retiring voices, the tune's own voice, volumes, the
// request queue and the game's three sound calls.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "core/game_state.h"
#include "platform/audio.h"
#include "platform/audio_mixer.h"

namespace halvane {
namespace {

// A block of `frames` samples of one value, kept alive for the whole test.
SampleBlock Constant(std::vector<int16_t> &store, int16_t value, int frames) {
    store.assign(static_cast<std::size_t>(frames), value);
    return {store.data(), frames};
}

std::vector<int16_t> Pull(int frames) {
    std::vector<int16_t> out(static_cast<std::size_t>(frames), 12345);
    MixAudio(out.data(), frames);
    return out;
}

class Mixer : public testing::Test {
  protected:
    void SetUp() override {
        ResetAudioMixer();
        SetVolumeSteps(4, 4);
    }
    std::array<std::vector<int16_t>, 8> store;
};

TEST_F(Mixer, SumsVoicesAndMusicAndRetiresEffectsThatEnd) {
    SetEffectSamples(kEffectMissileLaunch, Constant(store[0], 1000, 300));
    SetEffectSamples(kEffectGroundImpact, Constant(store[1], -250, 100));
    SetTuneSamples(kTuneGame, Constant(store[2], 7, 50));
    RequestTune(kTuneGame);
    RequestEffect(kEffectMissileLaunch);
    RequestEffect(kEffectGroundImpact);
    const auto out = Pull(400);
    EXPECT_EQ(out[0], 1000 - 250 + 7);
    EXPECT_EQ(out[99], 1000 - 250 + 7);
    EXPECT_EQ(out[100], 1000 + 7);
    EXPECT_EQ(out[299], 1000 + 7);
    EXPECT_EQ(out[300], 7);
    EXPECT_EQ(out[399], 7);
    EXPECT_EQ(AudioMixerStatus().effectVoices, 0);
    EXPECT_EQ(AudioMixerStatus().tune, kTuneGame);
}

TEST_F(Mixer, SaturatesBothWaysAndCountsTheCutSamples) {
    SetEffectSamples(kEffectCraftExplosion, Constant(store[0], 20000, 10));
    SetEffectSamples(kEffectCraftHit, Constant(store[1], -20000, 20));
    for (int i = 0; i < 2; ++i)
        RequestEffect(kEffectCraftExplosion);
    for (int i = 0; i < 2; ++i)
        RequestEffect(kEffectCraftHit);
    RequestEffect(kEffectCraftHit);
    const auto out = Pull(20);
    EXPECT_EQ(out[0], 40000 - 60000); // within range: not cut
    EXPECT_EQ(out[10], -32768);       // three times -20000
    EXPECT_EQ(out[19], -32768);
    EXPECT_EQ(AudioMixerStatus().clipped, 10u);

    ResetAudioMixer();
    SetVolumeSteps(4, 4);
    SetEffectSamples(kEffectCraftExplosion, Constant(store[0], 30000, 10));
    SetTuneSamples(kTuneEnd, Constant(store[2], 30000, 10));
    RequestEffect(kEffectCraftExplosion);
    RequestTune(kTuneEnd);
    EXPECT_EQ(Pull(1)[0], 32767);
}

TEST_F(Mixer, MoreRequestsThanVoicesNeverSilenceTheTune) {
    SetTuneSamples(kTuneMenu, Constant(store[0], 100, 1000));
    for (int effect = 1; effect <= kEffectCount; ++effect)
        SetEffectSamples(effect, Constant(store[1], 1, 5000));
    RequestTune(kTuneMenu);
    // Four of each effect: 56 requests for 16 voices.
    for (int round = 0; round < kVoicesPerEffect; ++round)
        for (int effect = 1; effect <= kEffectCount; ++effect)
            RequestEffect(effect);
    const auto out = Pull(10);
    EXPECT_EQ(AudioMixerStatus().effectVoices, kEffectVoices);
    EXPECT_EQ(AudioMixerStatus().tune, kTuneMenu);
    EXPECT_EQ(out[0], 100 + kEffectVoices);
    EXPECT_EQ(AudioMixerStatus().dropped, 0u);
}

TEST_F(Mixer, ANewRequestTakesTheVoiceThatSoundedLongest) {
    std::array<int16_t, 1000> ramp{};
    for (int i = 0; i < 1000; ++i)
        ramp[static_cast<std::size_t>(i)] = static_cast<int16_t>(i);
    for (int effect = 1; effect <= kEffectCount; ++effect)
        SetEffectSamples(effect, {ramp.data(), 1000});
    // Sixteen voices started 10 frames apart; the first is 150 frames in.
    for (int i = 0; i < kEffectVoices; ++i) {
        RequestEffect(1 + i % kEffectCount);
        Pull(10);
    }
    // Before: the voices sum 10+20+...+160; the newcomer replaces the 160.
    RequestEffect(kEffectLevelStats);
    const auto out = Pull(1);
    int sum = 0;
    for (int i = 1; i < kEffectVoices; ++i)
        sum += 10 * i;
    EXPECT_EQ(out[0], sum + 0);
}

TEST_F(Mixer, OneEffectOverlapsItselfUpToItsShare) {
    SetEffectSamples(kEffectMissileLaunch, Constant(store[0], 10, 100));
    for (int i = 0; i < 10; ++i)
        RequestEffect(kEffectMissileLaunch);
    EXPECT_EQ(Pull(1)[0], 10 * kVoicesPerEffect);
    EXPECT_EQ(AudioMixerStatus().effectVoices, kVoicesPerEffect);
}

TEST_F(Mixer, TheTuneLoopsRestartsOnRequestAndStops) {
    std::array<int16_t, 7> tune{1, 2, 3, 4, 5, 6, 7};
    SetTuneSamples(kTuneBriefing, {tune.data(), 7});
    RequestTune(kTuneBriefing);
    const auto first = Pull(16);
    const std::vector<int16_t> looped{1, 2, 3, 4, 5, 6, 7, 1, 2, 3, 4, 5, 6, 7, 1, 2};
    EXPECT_EQ(first, looped);
    RequestTune(kTuneBriefing); // the same tune again starts over
    EXPECT_EQ(Pull(3), (std::vector<int16_t>{1, 2, 3}));
    RequestTune(kTuneNone);
    EXPECT_EQ(Pull(3), (std::vector<int16_t>{0, 0, 0}));
    RequestTune(kTuneNone); // stopping twice is harmless
    EXPECT_EQ(Pull(1)[0], 0);
    EXPECT_EQ(AudioMixerStatus().tune, kTuneNone);
}

// A silent effect changes nothing in the tune, at every music step, across
// the loop's end and at both ends of the sample range.
TEST_F(Mixer, TheTuneAloneSoundsAsUnderASilentEffect) {
    std::vector<int16_t> tune;
    for (int i = 0; i < 301; ++i)
        tune.push_back(static_cast<int16_t>(i % 3 == 0   ? -32768
                                            : i % 3 == 1 ? 32767
                                                         : i * 97 - 9000));
    SetTuneSamples(kTuneMenu, {tune.data(), static_cast<int>(tune.size())});
    SetEffectSamples(kEffectMenuSelect, Constant(store[0], 0, 100000));
    for (int music = 0; music <= 4; ++music) {
        SetVolumeSteps(4, music);
        RequestTune(kTuneMenu);
        const auto alone = Pull(700);
        RequestTune(kTuneMenu);
        RequestEffect(kEffectMenuSelect);
        const auto underEffect = Pull(700);
        ASSERT_EQ(AudioMixerStatus().effectVoices, 1);
        EXPECT_EQ(alone, underEffect) << music;
        EXPECT_EQ(alone[1], 32767 * kVolumeLevels[static_cast<std::size_t>(music)] / 255);
        EXPECT_EQ(AudioMixerStatus().clipped, 0u);
        ResetAudioMixer();
        SetTuneSamples(kTuneMenu, {tune.data(), static_cast<int>(tune.size())});
        SetEffectSamples(kEffectMenuSelect, Constant(store[0], 0, 100000));
    }
}

// Every pair of steps on a voice of 10,000 and a tune of -3,000: the exact
// level of the design, silent at 0, each step louder than the one before.
TEST_F(Mixer, VolumeStepsScaleEffectsAndMusicApartAndAtOnce) {
    SetEffectSamples(kEffectShieldLow, Constant(store[0], 10000, 100000));
    SetTuneSamples(kTuneGame, Constant(store[1], -3000, 100));
    RequestEffect(kEffectShieldLow);
    RequestTune(kTuneGame);
    int previousSfx = -1;
    for (int sfx = 0; sfx <= 4; ++sfx) {
        for (int music = 0; music <= 4; ++music) {
            SetVolumeSteps(sfx, music); // while both sound
            const int expected = (10000 * kVolumeLevels[static_cast<std::size_t>(sfx)] -
                                  3000 * kVolumeLevels[static_cast<std::size_t>(music)]) /
                                 255;
            EXPECT_EQ(Pull(1)[0], expected) << sfx << " " << music;
        }
        SetVolumeSteps(sfx, 0);
        const int effectOnly = Pull(1)[0];
        EXPECT_GT(effectOnly, previousSfx);
        previousSfx = effectOnly;
    }
    EXPECT_EQ(previousSfx, 10000);
    SetVolumeSteps(0, 0);
    EXPECT_EQ(Pull(1)[0], 0);
    SetVolumeSteps(-3, 9); // clamped to 0 and 4
    EXPECT_EQ(Pull(1)[0], -3000);
}

TEST_F(Mixer, AFullQueueDropsEffectsButNeverATune) {
    SetEffectSamples(kEffectShipPass, Constant(store[0], 1, 10));
    SetTuneSamples(kTuneMenu, Constant(store[1], 50, 10));
    // No device pulls: the game keeps asking and is never held up.
    for (int i = 0; i < 1000; ++i)
        RequestEffect(kEffectShipPass);
    RequestTune(kTuneMenu);
    EXPECT_EQ(AudioMixerStatus().dropped, 1000u - 64u);
    EXPECT_EQ(Pull(1)[0], 50 + kVoicesPerEffect);
    // The queue is free again.
    RequestEffect(kEffectShipPass);
    EXPECT_EQ(AudioMixerStatus().dropped, 1000u - 64u);
}

TEST_F(Mixer, IgnoresUnknownEffectsAndEffectsWithoutSamples) {
    SetEffectSamples(0, Constant(store[0], 5, 10));
    SetEffectSamples(kEffectCount + 1, Constant(store[0], 5, 10));
    SetTuneSamples(kTuneCount + 1, Constant(store[0], 5, 10));
    for (int effect : {-1, 0, int{kEffectMenuSelect}, kEffectCount + 1, 255})
        RequestEffect(effect);
    RequestTune(kTuneCount + 7);
    EXPECT_EQ(Pull(2), (std::vector<int16_t>{0, 0}));
    EXPECT_EQ(AudioMixerStatus().effectVoices, 0);
    EXPECT_EQ(AudioMixerStatus().tune, kTuneNone);
}

TEST(SoundCalls, EachSlotPlaysItsOwnEffectAndTheNamesAreTheTunes) {
    ResetAudioMixer();
    std::array<std::vector<int16_t>, kEffectCount + 1> blocks;
    for (int effect = 1; effect <= kEffectCount; ++effect)
        SetEffectSamples(effect, Constant(blocks[static_cast<std::size_t>(effect)],
                                          static_cast<int16_t>(1 << (effect - 1)), 1));
    OptSfxVolume = 4;
    OptMusicVolume = 4;
    const std::array<int32_t *, kEffectCount> slots{
        &SfxMenuSelect,         &SfxBriefingOpen,   &SfxBriefingLine, &SfxMissileLaunch,
        &SfxShipDestroyed,      &SfxMineDestroyed,  &SfxGroundImpact, &SfxShipPass,
        &SfxCraftHit,           &SfxCraftExplosion, &SfxShieldLow,    &SfxEndWarning,
        &SfxStructureDestroyed, &SfxLevelStats,
    };
    int heard = 0;
    for (int32_t *slot : slots) {
        PlayEffect(*slot);
        heard |= static_cast<uint16_t>(Pull(1)[0]);
    }
    EXPECT_EQ(heard, (1 << kEffectCount) - 1); // every effect once, none twice

    std::array<std::vector<int16_t>, kTuneCount + 1> tunes;
    for (int tune = 1; tune <= kTuneCount; ++tune)
        SetTuneSamples(tune, Constant(tunes[static_cast<std::size_t>(tune)],
                                      static_cast<int16_t>(tune * 100), 10));
    const std::array<const char *, kTuneCount + 1> names{
        "", "Sound/menu_music.mp3", "Sound/brief_music.mp3", "Sound/game_music.mp3",
        "Sound/end_music.mp3"};
    for (int tune = 1; tune <= kTuneCount; ++tune) {
        PlayMusic(names[static_cast<std::size_t>(tune)]);
        EXPECT_EQ(Pull(1)[0], tune * 100);
    }
    StopMusic();
    EXPECT_EQ(Pull(1)[0], 0);
    PlayMusic("Sound/other.mp3");
    EXPECT_EQ(Pull(1)[0], 0);
    PlayMusic(nullptr);
    EXPECT_EQ(Pull(1)[0], 0);

    // The options apply with the next request: the select sound at "25 %".
    SetEffectSamples(kEffectMenuSelect, Constant(blocks[1], 1000, 1));
    PlayMusic(names[1]);
    OptSfxVolume = 1;
    OptMusicVolume = 0;
    PlayEffect(SfxMenuSelect);
    EXPECT_EQ(Pull(1)[0], 1000 * 63 / 255);
}

} // namespace
} // namespace halvane
