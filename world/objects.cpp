#include "world/objects.h"

namespace halvane {

ShipTable Ship;
MineTable Mine;
MissileTable Missile;
OffsetArray<float, 1, kShipSlots> ShipRoll;
OffsetArray<float, 1, kShipSlots> ShipPitch;
OffsetArray<float, 1, kMissileSlots> MissileDrop;

float ShipCount = 0;
float MineCount = 0;
float MissileCount = 0;

} // namespace halvane
