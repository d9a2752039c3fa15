// lives.h -- the craft's lives: losing one (the explosion and the return with
// a full shield, or the game-over sequence), and the reset of the controls at
// each level start and respawn. The world update and the briefings call these.
#pragma once

#include <cstdint>

#include "core/offset_array.h"

namespace halvane {

constexpr float kFullShield = 1000;
constexpr float kShieldLostBelow = 1;
constexpr int32_t kRespawnInvulnerable = 40; // frames of protection after a lost life
constexpr int kExplosionFrames = 8;
constexpr int kExplosionSpikes = 6;

extern OffsetArray<float, 1, kExplosionSpikes> ExplosionRadius; // spike lengths, pixels

// World update, last step: when the shield is below 1 a life is used; with
// none left the game-over sequence runs and Lives stays at -1.
void LoseLife();

// After a lost life and at the end of every briefing: the end warning may
// play again, the scrape sound and the fire input are cleared, and the cursor
// and mouse pointer go back to (310, 4). The craft stays where it is.
void RespawnCraft();

// A starburst of six red spikes around the craft's place on the screen, on
// the work page; new random offset and lengths at each call.
void DrawCraftExplosion();

} // namespace halvane
