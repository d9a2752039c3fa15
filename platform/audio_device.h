// audio_device.h -- the sound device, one backend per display: the SDL
// window's (display_sdl_audio.cpp) opens the machine's device and pulls
// MixAudio from SDL's audio thread; the headless display has none. Called by
// the program's start-up only. A backend also hands the volume options to
// the mixer (SetVolumeSteps) at every event pump, so that a change on the
// options screen is heard at once, before the next sound request.
#pragma once

namespace halvane {

// Opens the device and starts pulling the mixer (silence until samples and
// requests come). Returns false, after one line on stderr, when no device
// opens: the game then plays on silently. The headless display returns false
// without a word.
bool OpenAudioDevice();

} // namespace halvane
