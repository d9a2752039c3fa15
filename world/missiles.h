// missiles.h -- the player's missiles: launch from alternate sides, the arced
// flight, expiry, impacts on the ground (craters) and hits on ships and mines.
// The world update runs these steps in its order; the renderer reads Missile.
#pragma once

namespace halvane {

constexpr int kMissilesInFlight = 4;       // a shot is lost while four are flying
constexpr float kMissileSpeed = 0.6f;      // rows per frame, away from the viewer
constexpr float kMissileLeaveRow = 19;     // beyond this a missile expires
constexpr float kMissileGroundFar = 18.5f; // no ground impact from this row on
constexpr float kMissileHitRange = 0.8f;   // in all three axes
constexpr float kCraterMaxSide = 6;        // impacts at |x| >= 6 dig nothing
constexpr float kShipPoints = 10;
constexpr float kMinePoints = 5;

extern float MissileSide; // +-0.5, the launcher used next; negated at each launch

// A missile in state 2 becomes free; one beyond row 19 or above the channel
// expires (state 2).
void ExpireMissiles();
// A missile below the ground bursts and, within |x| < 6, digs a crater.
void MissileGroundImpact();
// Missile against ship and mine: the first pair found within 0.8 in all axes
// is destroyed and scores 10 (ship) or 5 (mine).
void MissileHitsShips();
void MissileHitsMines();
// One missile leaves from the craft when the fire input was accepted in the
// previous frame (FireCooldown = 8) and fewer than four fly.
void LaunchMissile();
// Moves every flying missile 0.6 rows on along its arc.
void FlyMissiles();

} // namespace halvane
