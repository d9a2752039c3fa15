// A sound layer that counts the menu-select effect, standing in for the silent
// one so that the tests can hear the menus.
#include "platform/audio.h"
#include "tests/menu/menu_harness.h"

namespace halvane {

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

int MenuSelectSounds = 0;

void PlayEffect(int32_t &slot) {
    if (&slot == &SfxMenuSelect) ++MenuSelectSounds;
}

void PlayMusic(const char *) {}

void StopMusic() {}

} // namespace halvane
