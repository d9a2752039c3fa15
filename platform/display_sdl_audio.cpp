// The SDL window's sound device: SDL's audio thread pulls the mixer through
// a callback. The game thread only posts requests (audio.cpp) and, at every
// event pump, hands the mixer the current volume options, sizes the device's
// buffer to whether the window is in view, and notices a device that went
// away.
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
constexpr Uint16 kFramesInView = 512;
// Out of view no picture goes with the sound, so it may come later: 4096
// frames (93 ms) wake the audio thread 11 times a second instead of 86,
// which is most of what an idle game costs.
constexpr Uint16 kFramesOutOfView = 4096;
// A glance away (a window passing over, a quick switch) keeps the device
// as it is; only a window out of view this long gets the large buffer.
constexpr double kOutOfViewSeconds = 1.0;

SDL_AudioDeviceID Device = 0;
Uint16 DeviceFrames = 0;
bool DeviceLost = false;
double InViewUntil = 0; // last pump time the window was in view

void SDLCALL PullMixer(void *, Uint8 *stream, int bytes) {
    MixAudio(reinterpret_cast<int16_t *>(stream), bytes / static_cast<int>(sizeof(int16_t)));
}

SDL_AudioDeviceID OpenDevice(Uint16 frames) {
    SDL_AudioSpec want{};
    want.freq = kAudioRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = frames;
    want.callback = PullMixer;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the device takes.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device != 0) SDL_PauseAudioDevice(device, 0);
    DeviceFrames = frames;
    return device;
}

// The buffer size is fixed when a device opens, so a change reopens it; the
// mixer keeps its voices and the tune its place, and only what the old
// device still held is skipped.
void ReopenDevice(Uint16 frames) {
    SDL_CloseAudioDevice(Device);
    Device = OpenDevice(frames);
    if (Device == 0) {
        DeviceLost = true;
        std::fprintf(stderr,
                     "halvane: the sound device did not open again (%s); playing on silently\n",
                     SDL_GetError());
    }
}

} // namespace

bool OpenAudioDevice() {
    // A headless replay is as silent as it is invisible.
    if (ReplayWithoutWindow()) return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "halvane: no sound (%s); playing silently\n", SDL_GetError());
        return false;
    }
    Device = OpenDevice(kFramesInView);
    if (Device == 0) {
        std::fprintf(stderr, "halvane: no sound device (%s); playing silently\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

void ServiceAudioDevice(double now, bool inView) {
    SetVolumeSteps(OptSfxVolume, OptMusicVolume);
    if (inView || InViewUntil == 0) InViewUntil = now;
    if (Device == 0 || DeviceLost) return;
    // A device unplugged or failing (a sound server gone, a disk full) stops;
    // SDL then feeds nothing, and the game plays on without sound.
    if (SDL_GetAudioDeviceStatus(Device) == SDL_AUDIO_STOPPED) {
        DeviceLost = true;
        std::fprintf(stderr, "halvane: the sound device stopped; playing on silently\n");
        return;
    }
    const Uint16 frames = now - InViewUntil < kOutOfViewSeconds ? kFramesInView : kFramesOutOfView;
    if (frames != DeviceFrames) ReopenDevice(frames);
}

} // namespace halvane
