// pilots.cpp -- the automatic player. It plans once per frame of play (the
// frame is recognised by the game loop's animation cycle) and holds that plan
// for every poll of the frame.
#include "app/pilots.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/game_state.h"
#include "core/image.h"
#include "core/numbers.h"
#include "world/craft.h"
#include "world/enemies.h"
#include "world/missiles.h"
#include "world/objects.h"
#include "world/terrain.h"

namespace halvane {

namespace {

constexpr double kNoFlightAfter = 0.5; // seconds without a frame of play: a screen
constexpr double kTapPeriod = 0.3;     // Enter pressed and released on screens
constexpr double kTapHeld = 0.15;
constexpr float kGroundMargin = 0.7f; // depth kept above the ground
constexpr float kTopDepth = 0.3f;     // highest the pilot flies
constexpr int kLookAheadRows = 6;     // rows of ground ahead that the craft must clear
constexpr int kColumnHold = 27;       // frames the pilot digs one column (3 shots)
constexpr float kFirstDigRow = 9.5f;  // a burst from here on digs into the structure

// The pilot's own memory.
int LastCycle = -1;
double LastFlightTime = -1e9;
int PlanMouseX = kCursorHomeX;
int PlanMouseY = kCursorHomeY;
int FramesSeen = 0;
int DigColumn = 0;
int DigColumnSince = 0;
float DigDepth = 7;
float DugWhenChosen = 0;            // the structure's depth when DigColumn was chosen
std::array<int, 11> BlockedUntil{}; // per column -5..5: frame until which it is passed over
float CruiseX = 0;
int ArrowX = 0; // keyboard controls: -1 Left, 1 Right, 0 neither
int ArrowY = 0; // -1 Up, 1 Down

// The best-score route: frames of the briefing seen (AnimCycle6 moves once a
// frame there) and when the confirm began.
constexpr int kRouteBriefingFrames = 24; // three steps shown
constexpr double kRouteConfirmHeld = 0.1;
int RouteCycle6 = -1;
int RouteBriefingFrames = 0;
double RouteConfirmAt = -1;

int CraftRowCell() {
    return static_cast<int>(std::floor(kCraftRow + CraftZ - ScrollOffset));
}

int Column(float x) {
    return std::clamp(static_cast<int>(std::floor(x + 0.5f)), -7, 7);
}

// The depth the craft can fly at between columns of fromX and toX over the
// next `rows` rows: the shallowest ground there, less a margin.
float SafeDepth(float fromX, float toX, int rows) {
    int c1 = std::min(Column(fromX), Column(toX));
    int c2 = std::max(Column(fromX), Column(toX));
    int r1 = CraftRowCell() - 1;
    float ground = 99;
    for (int r = r1; r <= r1 + rows; ++r) {
        for (int c = c1; c <= c2; ++c) {
            ground = std::min(ground, DepthAt(r, c));
        }
    }
    return std::clamp(ground - kGroundMargin, kTopDepth, 7.3f);
}

// The row at which a missile leaving now from (x, depth y, row z) with the
// given drop would burst on the ground, or 0 when it would leave the window
// or the channel first. The ground is taken as it stands.
float ImpactRow(float x, float y, float z, float drop) {
    for (int n = 0; n < 40; ++n) {
        z += kMissileSpeed * SpeedFactor;
        y += (15 - z) / 200;
        y += drop / z / 2;
        if (z > kMissileLeaveRow || y < 0) {
            return 0;
        }
        float ground = (z > 2 && z < kMissileGroundFar) ? GroundAt(z, x) : 99;
        if (z < kMissileGroundFar && y > ground) {
            return z;
        }
    }
    return 0;
}

// The pitch the craft will have after this frame's move toward a cursor row.
int PitchFor(int mouseY) {
    float ty = CursorTargetDepth(mouseY);
    float y = CraftY + (-ty - CraftY) / 8;
    y = std::floor(1000 * y + 0.5f) / 1000;
    return std::clamp(RoundEven((ty + y) * 4 + 4), -1, 9);
}

int CursorYFor(float depth) {
    return std::clamp(RoundEven(40.0 * depth), kCursorTop, kCursorBottom);
}
int CursorXFor(float x) {
    return std::clamp(RoundEven(320 + 40.0 * x), kCursorLeft, kCursorRight);
}

// Moves a planned course (x, depth) off one ship or mine that will reach the
// craft's collision window within `reach` rows while lined up with it: over
// or under it when there is room, else to its side. True when it moved.
bool AvoidEnemy(const ObjectRecord &e, float reach, float safe, float &x, float &depth) {
    float craftRow = kCraftRow + CraftZ;
    if (e.state != kSlotActive || e.z < craftRow || e.z > craftRow + reach) {
        return false;
    }
    if (std::fabs(e.x - x) >= 1.3f || std::fabs(e.y - depth) >= 0.9f) {
        return false;
    }
    float above = e.y - 1.1f;
    float below = e.y + 1.1f;
    bool aboveOk = above >= kTopDepth;
    bool belowOk = below <= safe;
    if (aboveOk && (!belowOk || std::fabs(above + CraftY) <= std::fabs(below + CraftY))) {
        depth = above;
    } else if (belowOk) {
        depth = below;
    } else {
        x = e.x > 0 ? e.x - 1.6f : e.x + 1.6f;
    }
    return true;
}

// Ships are dodged once they fly straight (near row 10), mines as they come.
void Dodge(float &x, float &depth, float safe) {
    for (int pass = 0; pass < 3; ++pass) {
        bool moved = false;
        for (int i = 1; i <= kShipSlots; ++i) {
            float reach = Ship[i].z < kShipHomingFrom + 1 ? 6.0f : 0.0f;
            moved = AvoidEnemy(Ship[i], reach, safe, x, depth) || moved;
        }
        for (int i = 1; i <= kMineSlots; ++i) {
            moved = AvoidEnemy(Mine[i], 4.0f, safe, x, depth) || moved;
        }
        if (!moved) {
            break;
        }
    }
}

// In play: the deepest nearby column ahead, a little above its ground.
void PlanCruise() {
    float bestX = CruiseX;
    float best = SafeDepth(CruiseX, CruiseX, kLookAheadRows) + 0.3f; // keep the lane
    for (int c = -4; c <= 4; ++c) {
        float d = SafeDepth(CraftX, static_cast<float>(c), kLookAheadRows);
        if (d > best) {
            best = d;
            bestX = static_cast<float>(c);
        }
    }
    CruiseX = bestX;
    float x = CruiseX;
    float safe = SafeDepth(CraftX, x, kLookAheadRows);
    float depth = std::min(safe, 5.5f);
    Dodge(x, depth, safe);
    PlanMouseX = CursorXFor(x);
    PlanMouseY = CursorYFor(std::min(depth, SafeDepth(CraftX, x, kLookAheadRows)));
}

// Sum of the structure's depths in one column (rows 11..19).
float ColumnDepth(int c) {
    float sum = 0;
    for (int r = 11; r <= 19; ++r) {
        sum += DepthAt(r, c);
    }
    return sum;
}

// Whether a missile from a craft over x at `depth` can burst inside the
// structure with some pitch that the pilot can give it, from either launcher.
bool CanReachStructure(float x, float depth) {
    for (float launchX : {x - 0.5f, x + 0.5f}) {
        for (int drop = -4; drop <= 3; ++drop) {
            float row =
                ImpactRow(launchX, depth - 0.1f, kCraftRow + CraftZ, static_cast<float>(drop));
            if (row >= kFirstDigRow && row < kMissileGroundFar) {
                return true;
            }
        }
    }
    return false;
}

// The structure's total depth (window rows 10..20, columns -5..5).
float StructureDepth() {
    float sum = 0;
    for (int c = -5; c <= 5; ++c) {
        sum += DepthAt(10, c) + ColumnDepth(c) + DepthAt(20, c);
    }
    return sum;
}

// Picks the least dug pair of columns that missiles can still reach, and the
// deepest height from which they reach it. Dug cells deepen without limit, so
// any burst inside counts; a column that cannot be reached is passed over, and
// so, for a while, is one where the last shots did not dig.
void ChooseDigColumn() {
    float dug = StructureDepth();
    if (dug < DugWhenChosen + 1) {
        BlockedUntil[DigColumn + 5] = FramesSeen + 200;
    }
    DugWhenChosen = dug;
    bool anyOpen = false;
    for (int c = -5; c <= 4; ++c) {
        anyOpen = anyOpen || BlockedUntil[c + 5] <= FramesSeen;
    }
    if (!anyOpen) {
        BlockedUntil.fill(0);
    }
    float bestDepth = 1e9f;
    for (int c = -5; c <= 4; ++c) {
        if (BlockedUntil[c + 5] > FramesSeen) {
            continue;
        }
        float x = static_cast<float>(c) + 0.5f;
        float safe = SafeDepth(x, x, 2);
        for (float depth = safe; depth >= kTopDepth; depth -= 0.5f) {
            if (CanReachStructure(x, depth)) {
                float dug = ColumnDepth(c) + ColumnDepth(c + 1);
                if (dug < bestDepth) {
                    bestDepth = dug;
                    DigColumn = c;
                    DigDepth = depth;
                }
                break;
            }
        }
    }
    DigColumnSince = FramesSeen;
}

// At the level's end: hold over a column of the structure and, in a frame
// that fires, pitch the craft so that the missile bursts inside it.
void PlanDigging() {
    if (FramesSeen - DigColumnSince >= kColumnHold) {
        ChooseDigColumn();
    }
    // Missiles leave half a unit to either side, so column c and c + 1 are dug.
    float x = static_cast<float>(DigColumn) + 0.5f;
    float safe = SafeDepth(CraftX, x, 2);
    float depth = std::min(safe, DigDepth);
    Dodge(x, depth, safe);
    PlanMouseX = CursorXFor(x);
    PlanMouseY = CursorYFor(depth);
    if (FireCooldown != 0) {
        return;
    }
    // This frame's shot: try cursor rows from the planned one outward, and
    // take the first whose pitch sends the missile into the structure.
    float launchX = CraftX + (CursorTargetX(PlanMouseX) - CraftX) / 8 + MissileSide;
    float launchY = -0.1f - CraftY;
    float launchZ = kCraftRow + CraftZ;
    for (int step = 0; step <= 120; ++step) {
        for (int sign = -1; sign <= 1; sign += 2) {
            int mouseY = PlanMouseY + sign * step * 2;
            if (mouseY < kCursorTop || mouseY > kCursorBottom) {
                continue;
            }
            // The craft must not sink into the ground on the way.
            if (CursorTargetDepth(mouseY) > safe + 1.0f) {
                continue;
            }
            float drop = static_cast<float>(PitchFor(mouseY) - 4);
            float row = ImpactRow(launchX, launchY, launchZ, drop);
            if (row >= kFirstDigRow && row < kMissileGroundFar) {
                PlanMouseY = mouseY;
                return;
            }
        }
    }
}

// Keyboard controls: whether to press toward (1), against (-1) or neither
// (0) on one axis, aiming at a speed that covers the error in two frames.
// Each press changes the speed by 5; with no arrow held the cursor stops.
int AxisPress(int error, float speed) {
    float wanted = std::abs(error) <= 2 ? 0.0f : std::clamp(error / 2.0f, -20.0f, 20.0f);
    float change = wanted - speed;
    if (change >= 2.5f) {
        return 1;
    }
    if (change <= -2.5f) {
        return -1;
    }
    return 0;
}

void PlanFrame() {
    ++FramesSeen;
    if (EndPhase != 0) {
        PlanMouseX = CursorXFor(0);
        PlanMouseY = kCursorTop;
    } else if (MapPosition == kMapEnd) {
        PlanDigging();
    } else {
        PlanCruise();
    }
    ArrowX = AxisPress(PlanMouseX - MouseX, CursorVelX);
    ArrowY = AxisPress(PlanMouseY - MouseY, CursorVelY);
}

} // namespace

void ResetPlayPilot() {
    LastCycle = -1;
    LastFlightTime = -1e9;
    PlanMouseX = kCursorHomeX;
    PlanMouseY = kCursorHomeY;
    FramesSeen = 0;
    DigColumn = 0;
    DigColumnSince = 0;
    DigDepth = 7;
    DugWhenChosen = 0;
    BlockedUntil.fill(0);
    CruiseX = 0;
    ArrowX = 0;
    ArrowY = 0;
    RouteCycle6 = -1;
    RouteBriefingFrames = 0;
    RouteConfirmAt = -1;
}

void PlayPilot(double now, InputState &state) {
    if (AnimCycle20 != LastCycle) {
        LastCycle = AnimCycle20;
        LastFlightTime = now;
        PlanFrame();
    }
    state.keys.fill(false);
    if (now - LastFlightTime > kNoFlightAfter) {
        // A screen: press Enter now and then, with the mouse left alone.
        state.buttons = 0;
        state.keys[kKeyEnter] = std::fmod(now, kTapPeriod) < kTapHeld;
        return;
    }
    // Fire whenever the launcher is ready.
    if (OptControls == kKeyboardControls) {
        state.keys[kKeyLeft] = ArrowX < 0;
        state.keys[kKeyRight] = ArrowX > 0;
        state.keys[kKeyUp] = ArrowY < 0;
        state.keys[kKeyDown] = ArrowY > 0;
        state.keys[kKeySpace] = true;
        state.buttons = 0;
        return;
    }
    state.mouseX = PlanMouseX;
    state.mouseY = PlanMouseY;
    state.buttons = kMouseMiddle;
}

void BestScorePilot(double now, InputState &state) {
    PlayPilot(now, state);
    if (now - LastFlightTime <= kNoFlightAfter) {
        RouteBriefingFrames = 0;
        RouteConfirmAt = -1;
        if (!(Score > 0)) return;
        // Points made: straight down into the ground, without firing.
        state.keys.fill(false);
        state.keys[kKeyDown] = OptControls == kKeyboardControls;
        state.mouseX = kCursorHomeX;
        state.mouseY = kScreenHeight - 1;
        state.buttons = 0;
        return;
    }
    if (AnimCycle6 != RouteCycle6) {
        RouteCycle6 = AnimCycle6;
        ++RouteBriefingFrames;
    }
    // Still screens (the menu) take PlayPilot's taps; the briefing, once it
    // runs, only the confirm at its fixed frame, briefly held.
    if (RouteBriefingFrames < 2) return;
    if (RouteBriefingFrames >= kRouteBriefingFrames && RouteConfirmAt < 0) RouteConfirmAt = now;
    state.keys[kKeyEnter] = RouteConfirmAt >= 0 && now - RouteConfirmAt < kRouteConfirmHeld;
}

} // namespace halvane
