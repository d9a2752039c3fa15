// craft.h -- the player's craft: the control cursor, the craft's glide toward
// the point the cursor stands for, firing, forward position, attitude and
// ground contact. The game loop runs UpdateCraft; the world update runs
// GroundContact; the renderer and the HUD read the craft's variables.
#pragma once

#include <cstdint>

namespace halvane {

constexpr float kFireCooldownFrames = 9;  // frames between two accepted shots
constexpr float kMissileLeavesAt = 8;     // the world update launches at this cooldown
constexpr float kCraftRow = 5;            // the craft flies at window row 5 + CraftZ
constexpr float kCraftZLimit = 10;        // CraftZ stays within 0..10
constexpr float kCraftSideLimit = 7;      // CraftX within -7..7 before each move
constexpr float kScrapeSideLimit = 6;     // ground contact pushes the craft back to +-6
constexpr float kScrapeLiftLimit = 6.4f;  // beyond this the push is sideways only
constexpr float kScrapeDamage = 40;       // shield per frame below the ground
constexpr int32_t kScrapeSoundFrames = 5; // the scrape sound repeats at most this often
constexpr int32_t kCursorPushUp = 20;     // pixels the cursor jumps up on contact
constexpr int32_t kCursorLeft = 3, kCursorRight = 632; // cursor limits in pixels
constexpr int32_t kCursorTop = 4, kCursorBottom = 296;
constexpr float kCursorMaxSpeed = 20; // keyboard cursor speed limit, pixels per frame
constexpr float kCursorAccel = 5;     // keyboard cursor acceleration per frame
constexpr int32_t kCursorHomeX = 310; // where the cursor starts and returns
constexpr int32_t kCursorHomeY = 4;

// Controls 1 mouse, 2 keyboard (OptControls).
constexpr int32_t kMouseControls = 1;
constexpr int32_t kKeyboardControls = 2;

extern float CursorVelX; // keyboard cursor speed, -20..20 pixels per frame
extern float CursorVelY;
extern float CraftX;      // lateral, column units
extern float CraftY;      // minus the craft's depth: -7.4 low .. -0.1 top
extern float CraftZ;      // forward offset 0..10
extern int32_t CraftRoll; // attitude index -1..9, 4 = level
extern int32_t CraftPitch;
extern float GroundUnderCraft;   // ground depth under the craft (altitude meter too)
extern float FireCooldown;       // 0 when the fire input is accepted
extern int32_t ScrapeSoundDelay; // frames until the scrape sound may play again

// Target point of a cursor position: tx lateral, ty depth, both truncated
// toward minus infinity to hundredths. Read by UpdateCraft (and pilots).
float CursorTargetX(int32_t mouseX);
float CursorTargetDepth(int32_t mouseY);

// Ground depth under the craft's cell (row 5 + CraftZ - ScrollOffset, column
// of CraftX) into GroundUnderCraft. Used by UpdateCraft and GroundContact.
void LookUpGroundUnderCraft();

// Game loop, once per frame after the end-of-level steps: the F toggle,
// control input (OptControls), fire cooldown, C and V, the craft's glide and
// attitude. Reads keys and mouse; writes the cursor and craft variables.
void UpdateCraft();

// World update, after all object movement: a craft below the ground is put
// back on it, costs 40 shield unless invulnerable, and pushes the cursor up.
void GroundContact();

} // namespace halvane
