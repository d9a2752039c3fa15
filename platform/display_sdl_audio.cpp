// The SDL window's sound device: SDL's audio thread pulls the mixer through
// a callback. The game thread only posts requests (audio.cpp) and, at every
// event pump, hands the mixer the current volume options and notices a
// device that went away.
#include <SDL.h>

#include <cstdio>

#include "core/game_state.h"
#include "platform/audio_device.h"
#include "platform/audio_mixer.h"
#include "platform/display_sdl.h"
#include "platform/replay.h"

namespace halvane {

namespace {

// 512 frames are 11.6 ms at 44.1 kHz: an effect is heard within two of them.
constexpr Uint16 kDeviceFrames = 512;

SDL_AudioDeviceID Device = 0;
bool DeviceLost = false;

void SDLCALL PullMixer(void *, Uint8 *stream, int bytes) {
    MixAudio(reinterpret_cast<int16_t *>(stream), bytes / static_cast<int>(sizeof(int16_t)));
}

} // namespace

bool OpenAudioDevice() {
    // A headless replay is as silent as it is invisible.
    if (ReplayWithoutWindow()) return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "halvane: no sound (%s); playing silently\n", SDL_GetError());
        return false;
    }
    SDL_AudioSpec want{};
    want.freq = kAudioRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = kDeviceFrames;
    want.callback = PullMixer;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the device takes.
    Device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (Device == 0) {
        std::fprintf(stderr, "halvane: no sound device (%s); playing silently\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(Device, 0);
    return true;
}

void ServiceAudioDevice() {
    SetVolumeSteps(OptSfxVolume, OptMusicVolume);
    if (Device == 0 || DeviceLost) return;
    // A device unplugged or failing (a sound server gone, a disk full) stops;
    // SDL then feeds nothing, and the game plays on without sound.
    if (SDL_GetAudioDeviceStatus(Device) == SDL_AUDIO_STOPPED) {
        DeviceLost = true;
        std::fprintf(stderr, "halvane: the sound device stopped; playing on silently\n");
    }
}

} // namespace halvane
