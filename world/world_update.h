// world_update.h -- one step of the world per frame: objects, collisions,
// damage and lives, in a fixed order. Called by the game loop.
#pragma once

namespace halvane {

// Game loop, once per frame after the per-frame counters: enemies pass,
// missiles expire, burst and hit, the craft is rammed, ships move, a missile
// may leave, missiles and mines move, the ground is tested, and a life may be
// lost (which may run the game-over sequence).
void UpdateWorld();

} // namespace halvane
