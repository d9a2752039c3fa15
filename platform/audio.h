// audio.h -- the sound requests of the game. Each call posts its request to
// the mixer (audio_mixer.h) and returns at once; without a sound device the
// requests are simply not heard.
#pragma once

#include <cstdint>

namespace halvane {

// Effect slots: an effect is identified by which slot is passed.
extern int32_t SfxMenuSelect;
extern int32_t SfxBriefingOpen;
extern int32_t SfxBriefingLine;
extern int32_t SfxMissileLaunch;
extern int32_t SfxShipDestroyed;
extern int32_t SfxMineDestroyed;
extern int32_t SfxGroundImpact;
extern int32_t SfxShipPass;
extern int32_t SfxCraftHit;
extern int32_t SfxCraftExplosion;
extern int32_t SfxShieldLow;
extern int32_t SfxEndWarning;
extern int32_t SfxStructureDestroyed;
extern int32_t SfxLevelStats;

void PlayEffect(int32_t &slot);
void PlayMusic(const char *fileName);
void StopMusic();

} // namespace halvane
