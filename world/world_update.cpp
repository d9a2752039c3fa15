#include "world/world_update.h"

#include <algorithm>

#include "world/craft.h"
#include "world/enemies.h"
#include "world/lives.h"
#include "world/missiles.h"

namespace halvane {

// Destroyed records are freed first, so that a record destroyed in this step
// stays in state 2 (not drawn) until the next one. Collisions are tested
// before anything moves, so a missile launched now is first tested in the
// next frame; the ground is tested after all movement, and the life check
// runs once on the combined damage of the frame.
void UpdateWorld() {
    ScrapeSoundDelay = std::max(ScrapeSoundDelay - 1, 0);
    ShipsPass();
    MinesPass();
    ExpireMissiles();
    MissileGroundImpact();
    MissileHitsShips();
    MissileHitsMines();
    ShipHitsCraft();
    MineHitsCraft();
    MoveShips();
    LaunchMissile();
    FlyMissiles();
    MoveMines();
    GroundContact();
    LoseLife();
}

} // namespace halvane
