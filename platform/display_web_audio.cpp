// The browser's sound: the game's mixer pulled from the game thread into a
// queue of OpenAL buffers (emscripten's OpenAL plays them through Web Audio).
// Browsers let a page sound only after a gesture, so nothing is pulled, and
// the menu tune waits at its start, until the first key press or click. The
// sounds are made while the game starts (web/page.js) and read from Sound/
// here as soon as they are in, so the game's start never waits for them.
#include <AL/al.h>
#include <AL/alc.h>
#include <emscripten.h>

#include <array>
#include <cstdint>
#include <cstdio>

#include "core/game_state.h"
#include "platform/audio_device.h"
#include "platform/audio_mixer.h"
#include "platform/display_web.h"
#include "platform/frame_work.h"
#include "platform/sound_store.h"

namespace halvane {

namespace {

// 20 ms a buffer and 8 of them: the game thread pumps at least every frame of
// the slowest loop (77 ms at 13 frames a second), so the queue never runs
// dry in play, and an effect is heard about 0.15 s after its request.
constexpr int kBufferFrames = kAudioRate / 50;
constexpr int kBuffers = 8;

enum class SoundState { Waiting, Playing, Off };

bool SoundsRead = false;

SoundState State = SoundState::Waiting;
ALCdevice *Device = nullptr;
ALCcontext *Context = nullptr;
ALuint Source = 0;
std::array<ALuint, kBuffers> Buffers{};
std::array<ALuint, kBuffers> FreeBuffers{};
int FreeCount = 0;
std::array<int16_t, kBufferFrames> Mixed{};
double LastService = 0.0;

EM_JS(int, PageHadGesture, (), { return HalvanePage.hadGesture ? 1 : 0; });
EM_JS(int, PageSoundsMade, (), { return HalvanePage.soundsMade ? 1 : 0; });
EM_JS(void, PageSoundStarts, (), { HalvanePage.soundStarts(); });
EM_JS(void, PageCountSound, (int audible), { HalvanePage.countSound(audible); });

void GiveUp(const char *why) {
    std::fprintf(stderr, "halvane: no sound in this browser (%s); playing silently\n", why);
    State = SoundState::Off;
}

// Made only after the gesture, so that the browser starts it at once.
bool StartSound() {
    Device = alcOpenDevice(nullptr);
    if (Device == nullptr) return false;
    Context = alcCreateContext(Device, nullptr);
    if (Context == nullptr || alcMakeContextCurrent(Context) == ALC_FALSE) return false;
    alGenSources(1, &Source);
    alGenBuffers(kBuffers, Buffers.data());
    if (alGetError() != AL_NO_ERROR) return false;
    FreeBuffers = Buffers;
    FreeCount = kBuffers;
    return true;
}

void QueueMixed() {
    ALint processed = 0;
    alGetSourcei(Source, AL_BUFFERS_PROCESSED, &processed);
    while (processed-- > 0 && FreeCount < kBuffers) {
        ALuint done = 0;
        alSourceUnqueueBuffers(Source, 1, &done);
        FreeBuffers[static_cast<std::size_t>(FreeCount++)] = done;
    }
    while (FreeCount > 0) {
        PageSoundStarts();
        MixAudio(Mixed.data(), kBufferFrames);
        int audible = 0;
        for (int16_t sample : Mixed)
            audible |= sample;
        const ALuint buffer = FreeBuffers[static_cast<std::size_t>(--FreeCount)];
        alBufferData(buffer, AL_FORMAT_MONO16, Mixed.data(),
                     static_cast<ALsizei>(sizeof(int16_t) * kBufferFrames), kAudioRate);
        alSourceQueueBuffers(Source, 1, &buffer);
        PageCountSound(audible != 0 ? 1 : 0);
    }
    // A queue that ran dry (the page was hidden, or a long stall) starts again.
    ALint playing = 0;
    alGetSourcei(Source, AL_SOURCE_STATE, &playing);
    if (playing != AL_PLAYING) alSourcePlay(Source);
}

} // namespace

// Called by start-up, which would read the sounds at once: in the browser
// they are not made yet, and the device opens only at the first gesture, so
// this backend reads them and starts the device itself, later.
bool OpenAudioDevice() {
    return false;
}

void ServiceWebAudio(double intervalMs) {
    SetVolumeSteps(OptSfxVolume, OptMusicVolume);
    if (State == SoundState::Off) return;
    if (State == SoundState::Waiting) {
        if (!SoundsRead && PageSoundsMade() != 0) {
            const bool metered = PauseFrameWork();
            LoadSoundFiles("Sound");
            SoundsRead = true;
            ResumeFrameWork(metered);
        }
        if (!SoundsRead || PageHadGesture() == 0) return;
        if (!StartSound()) {
            GiveUp("Web Audio would not start");
            return;
        }
        State = SoundState::Playing;
    }
    const double now = emscripten_get_now();
    if (now - LastService < intervalMs) return;
    LastService = now;
    // Mixing is the sound's time, not the game's frame work.
    const bool metered = PauseFrameWork();
    QueueMixed();
    ResumeFrameWork(metered);
}

} // namespace halvane
