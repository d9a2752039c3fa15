// objects.h -- the object tables of the world: enemy ships, mines and the
// player's missiles, their attitude and drop tables, and their counters.
// Terrain, level, craft, missile, enemy and render code read and write them.
#pragma once

#include "core/offset_array.h"

namespace halvane {

constexpr int kShipSlots = 10; // regular ships use 1..5, the end-phase launch 1..10
constexpr int kRegularShipSlots = 5;
constexpr int kMineSlots = 10;
constexpr int kMissileSlots = 8; // at most 4 are in flight at once

// Record states.
constexpr float kSlotFree = 0.0f;
constexpr float kSlotActive = 1.0f;
constexpr float kSlotDestroyed = 2.0f; // not drawn; the next world update frees it

// One ship, mine or missile. All fields are floats, in this order.
struct ObjectRecord {
    float x = 0;     // lateral position, column units
    float z = 0;     // distance ahead, in window rows
    float y = 0;     // depth below the top of the channel
    float state = 0; // 0 free, 1 active, 2 destroyed this frame
};

using ShipTable = OffsetArray<ObjectRecord, 1, kShipSlots>;
using MineTable = OffsetArray<ObjectRecord, 1, kMineSlots>;
using MissileTable = OffsetArray<ObjectRecord, 1, kMissileSlots>;

extern ShipTable Ship;
extern MineTable Mine;
extern MissileTable Missile;
extern OffsetArray<float, 1, kShipSlots> ShipRoll;       // attitude index 1..7, 4 = level
extern OffsetArray<float, 1, kShipSlots> ShipPitch;      // attitude index 1..7, 4 = level
extern OffsetArray<float, 1, kMissileSlots> MissileDrop; // craft pitch - 4 at launch

// Records in state 1. Creation raises a counter, state 1 -> 2 lowers it.
extern float ShipCount;
extern float MineCount;
extern float MissileCount;

// The lowest-numbered free (state 0) slot among 1..lastSlot of a table, or 0
// when none is free. Used by every creation of a ship, mine or missile.
template <int N> int LowestFreeSlot(const OffsetArray<ObjectRecord, 1, N> &table, int lastSlot) {
    for (int i = 1; i <= lastSlot && i <= N; ++i) {
        if (table[i].state == kSlotFree) {
            return i;
        }
    }
    return 0;
}

} // namespace halvane
