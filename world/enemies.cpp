#include "world/enemies.h"

#include <algorithm>
#include <cmath>

#include "core/game_state.h"
#include "core/numbers.h"
#include "platform/audio.h"
#include "platform/random.h"
#include "world/craft.h"
#include "world/objects.h"
#include "world/terrain.h"

namespace halvane {

namespace {

float Rnd() {
    return static_cast<float>(RandomUnit());
}

// A whole number of the range 0..n-1 from one random draw.
float RandomWhole(float n) {
    return std::floor(n * Rnd());
}

// Quantises a ship coordinate to hundredths, halves upward.
float ToHundredths(float v) {
    return std::floor(100 * v + 0.5f) / 100;
}

// A new ship at the far end of the window, anywhere from -5 to 6 across, at a
// random height between the top of the channel and the ground under it.
void MakeShip(int slot) {
    ObjectRecord &s = Ship[slot];
    s.state = kSlotActive;
    s.x = 11 * Rnd() - 5;
    s.z = 20;
    s.y = Rnd() * DepthAt(20, RoundEven(s.x));
    ShipCount += 1;
}

// Whether an enemy at (x, z, y) is in the craft's collision window, which
// starts `nearEdge` rows ahead of the craft's row and ends 1 row ahead.
bool RamsCraft(const ObjectRecord &e, float nearEdge) {
    float craftRow = kCraftRow + CraftZ;
    return e.z > craftRow + nearEdge && e.z < craftRow + 1 && std::fabs(CraftX - e.x) < 1 &&
           std::fabs(-CraftY - e.y) < 0.5f;
}

// The craft takes the blow unless it is protected.
void RamCraft() {
    if (Invulnerable == 0) {
        Shield -= kShipRamDamage;
        PlayEffect(SfxCraftHit);
    }
}

} // namespace

void SpawnEnemies() {
    // Every chance draws its number, whatever the other conditions say.
    bool mineChance = RandomWhole(4) > 0;
    if (MineCount < kMineSlots && mineChance && MapPosition < kNoMinesFrom) {
        int slot = LowestFreeSlot(Mine, kMineSlots);
        if (slot != 0) {
            ObjectRecord &m = Mine[slot];
            m.state = kSlotActive;
            m.x = RandomWhole(11) - 5;
            m.z = RandomWhole(2) + 19;
            m.y = Rnd() * DepthAt(RoundEven(m.z), RoundEven(m.x));
            MineCount += 1;
        }
    }
    bool shipChance = RandomWhole(3) + 1 == 1;
    if (ShipCount < kRegularShipSlots && shipChance) {
        int slot = LowestFreeSlot(Ship, kRegularShipSlots);
        if (slot != 0) {
            MakeShip(slot);
        }
    }
}

void LaunchEndPhaseShip() {
    bool chance = RandomWhole(2) + 1 == 1;
    if (ShipCount < kShipSlots && chance) {
        int slot = LowestFreeSlot(Ship, kShipSlots);
        if (slot != 0) {
            MakeShip(slot);
        }
    }
}

void ShipsPass() {
    for (int i = 1; i <= kShipSlots; ++i) {
        ObjectRecord &s = Ship[i];
        if (s.state == kSlotDestroyed) {
            s.state = kSlotFree;
        }
        if (s.state == kSlotActive && s.z > 3.2f && s.z < 3.5f) {
            PlayEffect(SfxShipPass);
        }
        if (s.state == kSlotActive && s.z < 0) {
            s.state = kSlotDestroyed;
            ShipCount -= 1;
            MissedShips += 1;
        }
    }
}

void MinesPass() {
    for (int i = 1; i <= kMineSlots; ++i) {
        ObjectRecord &m = Mine[i];
        if (m.state == kSlotDestroyed) {
            m.state = kSlotFree;
        }
        if (m.state == kSlotActive && m.z < 0) {
            m.state = kSlotDestroyed;
            MineCount -= 1;
            MissedMines += 1;
        }
    }
}

void ShipHitsCraft() {
    for (int i = 1; i <= kShipSlots; ++i) {
        if (Ship[i].state == kSlotActive && RamsCraft(Ship[i], 0.5f)) {
            RamCraft();
            Ship[i].state = kSlotDestroyed;
            ShipCount -= 1;
        }
    }
}

void MineHitsCraft() {
    for (int i = 1; i <= kMineSlots; ++i) {
        if (Mine[i].state == kSlotActive && RamsCraft(Mine[i], 0)) {
            RamCraft();
            Mine[i].state = kSlotDestroyed;
            MineCount -= 1;
        }
    }
}

void MoveShips() {
    for (int i = 1; i <= kShipSlots; ++i) {
        ObjectRecord &s = Ship[i];
        if (s.state != kSlotActive) {
            continue;
        }
        s.z -= kShipSpeed * SpeedFactor;
        // Ships skim over high ground instead of entering it.
        if (s.z > 2) {
            float ground = GroundAt(s.z, s.x);
            if (s.y > ground) {
                s.y = ground;
            }
        }
        if (s.z > kShipHomingFrom) {
            s.y += SpeedFactor * ((-CraftY) - s.y) / 15;
            s.y = ToHundredths(s.y);
            s.x += SpeedFactor * (CraftX - s.x) / 15;
            s.x = ToHundredths(s.x);
            ShipRoll[i] = std::clamp((s.x - CraftX) * 4 + 4, 1.0f, 7.0f);
            ShipPitch[i] = std::clamp(-(CraftY + s.y) * 4 + 4, 1.0f, 7.0f);
        } else if (s.z > kShipLevelsFrom) {
            ShipRoll[i] = 4;
            ShipPitch[i] = 4;
        }
    }
}

void MoveMines() {
    for (int i = 1; i <= kMineSlots; ++i) {
        if (Mine[i].state == kSlotActive) {
            Mine[i].z -= kMineSpeed * SpeedFactor;
        }
    }
}

} // namespace halvane
