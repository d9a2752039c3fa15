#include "world/missiles.h"

#include <cmath>

#include "core/game_state.h"
#include "platform/audio.h"
#include "world/craft.h"
#include "world/objects.h"
#include "world/terrain.h"

namespace halvane {

float MissileSide = 0;

namespace {

// Ends a flying missile this frame; its slot is freed by the next update.
void EndMissile(int i) {
    Missile[i].state = kSlotDestroyed;
    MissileCount -= 1;
}

bool WithinHitRange(const ObjectRecord &a, const ObjectRecord &b) {
    return std::fabs(a.x - b.x) < kMissileHitRange && std::fabs(a.y - b.y) < kMissileHitRange &&
           std::fabs(a.z - b.z) < kMissileHitRange;
}

} // namespace

void ExpireMissiles() {
    for (int i = 1; i <= kMissileSlots; ++i) {
        ObjectRecord &m = Missile[i];
        if (m.state == kSlotDestroyed) {
            m.state = kSlotFree;
        }
        if (m.state == kSlotActive && m.z > kMissileLeaveRow) {
            EndMissile(i);
        }
        if (m.state == kSlotActive && m.y < 0) {
            EndMissile(i);
        }
    }
}

void MissileGroundImpact() {
    for (int i = 1; i <= kMissileSlots; ++i) {
        ObjectRecord &m = Missile[i];
        if (m.state != kSlotActive) {
            continue;
        }
        // Near the craft and at the far end there is no ground to hit; the
        // far end stops the missile only by expiry.
        float ground = 99;
        if (m.z > 2 && m.z < kMissileGroundFar) {
            ground = GroundAt(m.z, m.x);
        }
        if (m.z < kMissileGroundFar && m.y > ground) {
            EndMissile(i);
            PlayEffect(SfxGroundImpact);
            if (std::fabs(m.x) < kCraterMaxSide) {
                DigCrater(static_cast<int>(std::floor(m.z + 0.5f)),
                          static_cast<int>(std::floor(m.x + 0.5f)));
            }
        }
    }
}

void MissileHitsShips() {
    for (int i = 1; i <= kMissileSlots; ++i) {
        for (int j = 1; j <= kShipSlots; ++j) {
            if (Missile[i].state == kSlotActive && Ship[j].state == kSlotActive &&
                WithinHitRange(Missile[i], Ship[j])) {
                EndMissile(i);
                Ship[j].state = kSlotDestroyed;
                ShipCount -= 1;
                Score += kShipPoints;
                PlayEffect(SfxShipDestroyed);
            }
        }
    }
}

void MissileHitsMines() {
    for (int i = 1; i <= kMissileSlots; ++i) {
        for (int j = 1; j <= kMineSlots; ++j) {
            if (Missile[i].state == kSlotActive && Mine[j].state == kSlotActive &&
                WithinHitRange(Missile[i], Mine[j])) {
                EndMissile(i);
                Mine[j].state = kSlotDestroyed;
                MineCount -= 1;
                Score += kMinePoints;
                PlayEffect(SfxMineDestroyed);
            }
        }
    }
}

void LaunchMissile() {
    if (!(MissileCount < kMissilesInFlight && FireCooldown == kMissileLeavesAt)) {
        return;
    }
    int i = LowestFreeSlot(Missile, kMissileSlots);
    if (i == 0) {
        return; // every slot still holds a missile of the last frame: the shot is lost
    }
    Missile[i].state = kSlotActive;
    Missile[i].x = CraftX + MissileSide;
    Missile[i].y = -0.1f - CraftY; // just above the craft
    Missile[i].z = kCraftRow + CraftZ;
    MissileDrop[i] = static_cast<float>(CraftPitch - 4);
    MissileSide = -MissileSide;
    MissileCount += 1;
}

// The missile falls while nearer than row 15 and rises beyond it; a pitching
// craft bends the path further, most just after launch.
void FlyMissiles() {
    for (int i = 1; i <= kMissileSlots; ++i) {
        ObjectRecord &m = Missile[i];
        if (m.state != kSlotActive) {
            continue;
        }
        m.z += kMissileSpeed * SpeedFactor;
        m.y += (15 - m.z) / 200;
        m.y += (MissileDrop[i] / m.z) / 2;
    }
}

} // namespace halvane
