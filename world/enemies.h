// enemies.h -- enemy ships and mines: their creation as the terrain shifts and
// at the level's end, their passing, ramming the craft, homing and movement.
// The terrain shift, the end-structure check and the world update call these.
#pragma once

namespace halvane {

constexpr float kShipSpeed = 0.3f;    // rows per frame toward the viewer
constexpr float kMineSpeed = 0.2f;    // the ground's own speed
constexpr float kNoMinesFrom = 260;   // MapPosition from which no mines appear
constexpr float kShipRamDamage = 100; // shield lost per ram (ships and mines)
constexpr float kShipHomingFrom = 10; // ships steer while further than this
constexpr float kShipLevelsFrom = 9;  // between 9 and 10 rows they level out

// Step 5 of the terrain shift: a mine (3 in 4, not from MapPosition 260 on)
// and a ship in slots 1..5 (1 in 3), each in the lowest free slot.
void SpawnEnemies();
// The end-structure check, every 10 frames at the level's end: a ship (1 in
// 2) in the lowest free slot among 1..10.
void LaunchEndPhaseShip();

// World update: frees destroyed records, plays the pass sound, and counts
// ships and mines that got behind the viewer as missed.
void ShipsPass();
void MinesPass();
// World update: a ship or mine in the craft's collision window rams it:
// 100 shield unless invulnerable; the enemy is destroyed without score.
void ShipHitsCraft();
void MineHitsCraft();
// World update: ships fly toward the viewer, skim over high ground, and home
// on the craft while further than row 10; mines move with the ground.
void MoveShips();
void MoveMines();

} // namespace halvane
