// sound_maker.h -- makes every effect and tune into fixed storage and hands
// the samples to the mixer. Called by the sound tool (tools/sounds), which
// writes them to the files the game reads, and by the tests and benchmarks.
#pragma once

#include "platform/audio_mixer.h"

namespace halvane {

// Makes all fourteen effects and four tunes (the same samples on every
// machine) and passes them to SetEffectSamples and SetTuneSamples. Takes
// about half a second of one core, too long for the game's start-up; calling
// it again makes them again.
void MakeSounds();

// The samples MakeSounds made (empty before it ran).
SampleBlock EffectSound(int effect);
SampleBlock TuneSound(int tune);

} // namespace halvane
