// audio_mixer.h -- the game's own mixer, shared by every target: the effect
// voices, the one current tune that loops, the two volumes and saturation.
// The sound requests (audio.cpp) post to it from the game thread; a device
// backend pulls finished samples with MixAudio, from an audio thread or from
// the game thread, but from one thread only. No thread, no OS call, no lock,
// no allocation: everything lives in fixed tables.
#pragma once

#include <array>
#include <cstdint>

namespace halvane {

// The output: 44,100 frames per second, one channel, signed 16 bits.
constexpr int kAudioRate = 44100;

// The effects, one per effect slot, and the tunes, one per music file name.
enum Effect : int {
    kEffectNone = 0,
    kEffectMenuSelect,
    kEffectBriefingOpen,
    kEffectBriefingLine,
    kEffectMissileLaunch,
    kEffectShipDestroyed,
    kEffectMineDestroyed,
    kEffectGroundImpact,
    kEffectShipPass,
    kEffectCraftHit,
    kEffectCraftExplosion,
    kEffectShieldLow,
    kEffectEndWarning,
    kEffectStructureDestroyed,
    kEffectLevelStats,
};
constexpr int kEffectCount = 14;

enum Tune : int { kTuneNone = 0, kTuneMenu, kTuneBriefing, kTuneGame, kTuneEnd };
constexpr int kTuneCount = 4;

// Voices for effects; the tune has a voice of its own, so no number of effect
// requests can silence the music. A request finds a free voice, else takes
// over the effect voice that has sounded longest.
constexpr int kEffectVoices = 16;
// At most this many voices play the same effect (a burst of shots overlaps,
// the scrape at every fifth frame does not pile up); beyond it the oldest of
// them restarts.
constexpr int kVoicesPerEffect = 4;

// Volume steps 0..4 (the options' "0 %" to "100 %") on a 0..255 scale.
constexpr std::array<int, 5> kVolumeLevels{0, 63, 126, 190, 255};

// Finished samples at kAudioRate; the mixer only reads them.
struct SampleBlock {
    const int16_t *samples = nullptr;
    int32_t frames = 0;
};

// --- start-up: the samples, handed down by the sound maker ------------------
// Called before the first request that would play them. A block with no
// frames leaves that effect or tune silent.
void SetEffectSamples(int effect, SampleBlock block);
void SetTuneSamples(int tune, SampleBlock block);

// Finds the tune of a music file name ("Sound/menu_music.mp3" and the three
// others); kTuneNone for any other name or nullptr.
int TuneOfFileName(const char *fileName);

// --- requests, from the game thread only; never block ------------------------
// Starts an effect (kEffect...). A request that finds the queue full (no
// device pulls) is dropped.
void RequestEffect(int effect);
// Starts a tune from its beginning (kTune...); kTuneNone stops the music.
// Only the latest tune request counts, so none is ever lost.
void RequestTune(int tune);
// Sets the volume steps (0..4, clamped) that MixAudio applies from its next
// call on, to what sounds and to what follows.
void SetVolumeSteps(int sfxStep, int musicStep);

// --- the device side ----------------------------------------------------------
// Writes `frames` mixed samples to `out`: takes the pending requests, sums the
// voices scaled by their volumes, saturates to 16 bits and retires the
// effects that ended. Called by the device backend only.
void MixAudio(int16_t *out, int frames);

// Clears voices, pending requests and samples (volumes to step 3). For start-
// up and tests; only while no backend pulls.
void ResetAudioMixer();

// What the mixer is doing, for tests and the backends' messages.
struct MixerStatus {
    int effectVoices;  // effect voices sounding
    int tune;          // current tune, kTuneNone when silent
    int32_t tuneFrame; // next frame of the tune
    uint32_t dropped;  // effect requests dropped because the queue was full
    uint32_t clipped;  // samples saturated since the reset
};
MixerStatus AudioMixerStatus();

} // namespace halvane
