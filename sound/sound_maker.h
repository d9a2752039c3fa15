// sound_maker.h -- makes every effect and tune at start-up into fixed
// storage and hands the samples to the mixer. Called by the program's
// start-up when a sound device opened; the tests and benchmarks call it too.
#pragma once

#include "platform/audio_mixer.h"

namespace halvane {

// Makes all fourteen effects and four tunes (the same samples on every
// machine) and passes them to SetEffectSamples and SetTuneSamples. Takes a
// few tens of milliseconds; calling it again makes them again.
void MakeSounds();

// The samples MakeSounds made (empty before it ran).
SampleBlock EffectSound(int effect);
SampleBlock TuneSound(int tune);

} // namespace halvane
