// projection.h -- the one perspective formula of the play field. The camera
// never turns: every terrain point and model vertex goes through Project with
// the distance offset of its kind of thing.
#pragma once

namespace halvane {

// The vanishing point and the scale: a point 1 unit to the side at distance
// 10 lies 40 pixels from the centre line.
constexpr float kHorizonX = 320.0f;
constexpr float kHorizonY = 40.0f;
constexpr float kFocalScale = 400.0f;

// Distance offsets added to a point's z before the division.
constexpr float kFieldDistance = 5.01f;     // terrain, ships, mines, missiles
constexpr float kCraftDistance = 11.00001f; // the player's craft

struct ScreenPoint {
    float x;
    float y;
};

// Screen point of the world point (x across, depth below the channel top,
// z along the channel) for a thing drawn at `distance`. Called by the terrain
// rows, the models and the craft explosion. Results stay unrounded; DrawLine
// rounds and clips.
ScreenPoint Project(float x, float depth, float z, float distance);

} // namespace halvane
