// audio.cpp -- the sound requests of the game, posted to the mixer. Each call
// returns at once: it only writes a queue entry or an atomic, so a missing or
// failed sound device can never stop or slow the game.
#include "platform/audio.h"

#include <array>

#include "core/game_state.h"
#include "platform/audio_mixer.h"

namespace halvane {

// The slots only name the effects; they all hold 0 and the game never writes
// them.
int32_t SfxMenuSelect = 0;
int32_t SfxBriefingOpen = 0;
int32_t SfxBriefingLine = 0;
int32_t SfxMissileLaunch = 0;
int32_t SfxShipDestroyed = 0;
int32_t SfxMineDestroyed = 0;
int32_t SfxGroundImpact = 0;
int32_t SfxShipPass = 0;
int32_t SfxCraftHit = 0;
int32_t SfxCraftExplosion = 0;
int32_t SfxShieldLow = 0;
int32_t SfxEndWarning = 0;
int32_t SfxStructureDestroyed = 0;
int32_t SfxLevelStats = 0;

namespace {

// The slots in the order of the mixer's effects (kEffectMenuSelect first).
const std::array<const int32_t *, kEffectCount> kSlots{
    &SfxMenuSelect,         &SfxBriefingOpen,   &SfxBriefingLine, &SfxMissileLaunch,
    &SfxShipDestroyed,      &SfxMineDestroyed,  &SfxGroundImpact, &SfxShipPass,
    &SfxCraftHit,           &SfxCraftExplosion, &SfxShieldLow,    &SfxEndWarning,
    &SfxStructureDestroyed, &SfxLevelStats,
};

} // namespace

void PlayEffect(int32_t &slot) {
    // The options screen plays the select sound just after a volume changed.
    SetVolumeSteps(OptSfxVolume, OptMusicVolume);
    for (int i = 0; i < kEffectCount; ++i)
        if (kSlots[static_cast<std::size_t>(i)] == &slot) RequestEffect(kEffectMenuSelect + i);
}

void PlayMusic(const char *fileName) {
    SetVolumeSteps(OptSfxVolume, OptMusicVolume);
    // A name that is not one of the four tunes plays nothing, and, as there
    // is only one current tune, ends the one that played.
    RequestTune(TuneOfFileName(fileName));
}

void StopMusic() {
    RequestTune(kTuneNone);
}

} // namespace halvane
