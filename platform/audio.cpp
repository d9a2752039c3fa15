// audio.cpp -- the silent sound layer: every request is accepted and dropped,
// so a missing sound device can never stop or slow the game.
#include "platform/audio.h"

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

void PlayEffect(int32_t &) {}

void PlayMusic(const char *) {}

void StopMusic() {}

} // namespace halvane
