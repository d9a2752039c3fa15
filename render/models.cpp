#include "render/models.h"

#include <array>
#include <cmath>
#include <span>

#include "core/game_state.h"
#include "core/numbers.h"
#include "platform/screen.h"
#include "render/projection.h"
#include "world/craft.h"
#include "world/objects.h"

namespace halvane {

OffsetArray<AttitudeRow, kAttitudeLow, kAttitudeHigh> CraftShape;
ModelJoins<kFighterVertices> CraftEdges;
ModelJoins<kFighterVertices> ShipEdges;
ModelShape<kMineVertices> MineShape;
ModelJoins<kMineVertices> MineEdges;
ModelShape<kMissileVertices> MissileShape;
ModelJoins<kMissileVertices> MissileEdges;
float CraftModelScale = 0;
OffsetArray<float, kAttitudeLow, kAttitudeHigh> AngleSin;
OffsetArray<float, kAttitudeLow, kAttitudeHigh> AngleCos;

namespace {

constexpr double kAttitudeStep = 0.139626337777778; // 8 degrees in radians

struct JoinPair {
    float first;
    float second;
};

// The fighter before scaling: x right, y up, z forwards; vertex 1 is the nose.
constexpr std::array<ModelVertex, kFighterVertices> kFighterBase = {{
    {0, 0, 8},     {0, 1.5f, 4},      {1, 1, 4},          {0.8f, -1, 4},  {-0.8f, -1, 4},
    {-1, 1, 4},    {0, 1, 0},         {-1.1f, 1, 0},      {1.1f, 1, 0},   {2, 4, -8},
    {1.1f, 1, -6}, {0.8f, -0.8f, -6}, {-0.8f, -0.8f, -6}, {-1.1f, 1, -6}, {-6, -2, 4},
    {-6, -2, 2},   {6, -2, 4},        {6, -2, 2},         {-2, 4, -6},    {-2, 4, -8},
    {2, 4, -6},
}};

// The craft shows its wing struts; the ships join the tail fins to the nose.
constexpr std::array<JoinPair, kFighterVertices> kCraftJoins = {{
    {2, 0},  {3, 7},  {4, 1},  {5, 1},  {6, 1},  {2, 1},  {3, 6},
    {6, 15}, {3, 17}, {11, 0}, {9, 12}, {4, 13}, {5, 14}, {11, 8},
    {16, 0}, {14, 0}, {18, 0}, {11, 0}, {8, 20}, {14, 0}, {9, 10},
}};
constexpr std::array<JoinPair, kFighterVertices> kShipJoins = {{
    {2, 0},   {3, 7},   {4, 1},   {5, 1},  {6, 1},  {2, 1},  {3, 6},
    {15, 0},  {3, 17},  {11, 18}, {1, 12}, {4, 13}, {5, 14}, {11, 6},
    {16, 19}, {14, 20}, {18, 21}, {11, 0}, {1, 20}, {14, 0}, {1, 10},
}};

// The mine, stored as (x, z, y) in tenths: the six corners of an octahedron.
constexpr std::array<std::array<float, 3>, kMineVertices> kMineRaw = {{
    {5, 0, 0},
    {0, 5, 0},
    {0, -5, 0},
    {-5, 0, 0},
    {0, 0, 5},
    {0, 0, -5},
}};
constexpr std::array<JoinPair, kMineVertices> kMineJoins = {{
    {2, 5},
    {4, 6},
    {1, 5},
    {3, 6},
    {2, 4},
    {3, 1},
}};

// The missile as (a, b, c): x = a / 10, z = b / 10, y = c / -10.
constexpr std::array<std::array<float, 3>, kMissileVertices> kMissileRaw = {{
    {0, 1, 0},
    {0, 0.5f, 0.3f},
    {0.5f, 0.5f, -0.3f},
    {-0.5f, 0.5f, -0.3f},
    {0, -2, 0.3f},
    {0.5f, -2, -0.3f},
    {-0.5f, -2, -0.3f},
    {-1.5f, -2.1f, -0.9f},
    {-0.5f, 0, -0.3f},
    {1.5f, -2.1f, -0.9f},
    {0.5f, 0, -0.3f},
    {0, -2.1f, 1.3f},
    {0, 0, 0.3f},
}};
constexpr std::array<JoinPair, kMissileVertices> kMissileJoins = {{
    {2, 0},
    {3, 5},
    {1, 4},
    {2, 1},
    {6, 12},
    {3, 7},
    {5, 4},
    {7, 9},
    {0, 0},
    {6, 11},
    {0, 0},
    {13, 0},
    {0, 0},
}};

template <int N> void StoreJoins(ModelJoins<N> &joins, std::span<const JoinPair> table) {
    for (int v = 1; v <= N; ++v) {
        joins[v][1] = table[v - 1].first;
        joins[v][2] = table[v - 1].second;
    }
}

// Where a model stands and which way its axes point: a vertex (x, y, z) lands
// at (baseX + x, baseDepth + depthSign * y, baseZ + zSign * z).
struct Placement {
    float baseX;
    float baseDepth;
    float baseZ;
    float depthSign;
    float zSign;
    float distance;
};

ScreenPoint ProjectVertex(const ModelVertex &v, const Placement &at) {
    return Project(at.baseX + v.x, at.baseDepth + at.depthSign * v.y, at.baseZ + at.zSign * v.z,
                   at.distance);
}

// Draws every join of a model, vertex by vertex and slot by slot, and returns
// the number of lines. A join to a vertex outside the model is skipped.
template <int N>
int DrawModel(const ModelShape<N> &shape, const ModelJoins<N> &joins, const Placement &at,
              uint32_t colour) {
    int lines = 0;
    for (int v = 1; v <= N; ++v) {
        for (int slot = 1; slot <= 2; ++slot) {
            const int w = RoundEven(joins[v][slot]);
            if (w < 1 || w > N) continue;
            const ScreenPoint a = ProjectVertex(shape[v], at);
            const ScreenPoint b = ProjectVertex(shape[w], at);
            DrawLine(a.x, a.y, b.x, b.y, colour);
            ++lines;
        }
    }
    return lines;
}

int ClampAttitude(int index) {
    if (index < kAttitudeLow) return kAttitudeLow;
    if (index > kAttitudeHigh) return kAttitudeHigh;
    return index;
}

} // namespace

void FillAngleTables() {
    for (int i = kAttitudeLow; i <= kAttitudeHigh; ++i) {
        const double angle = (i - kLevelAttitude) * kAttitudeStep;
        AngleSin[i] = static_cast<float>(std::sin(angle));
        AngleCos[i] = static_cast<float>(std::cos(angle));
    }
}

void BuildMissileModel() {
    for (int v = 1; v <= kMissileVertices; ++v) {
        const auto &raw = kMissileRaw[v - 1];
        MissileShape[v] = {raw[0] / 10.0f, raw[2] / -10.0f, raw[1] / 10.0f};
    }
    StoreJoins(MissileEdges, kMissileJoins);
}

void BuildMineModel() {
    for (int v = 1; v <= kMineVertices; ++v) {
        const auto &raw = kMineRaw[v - 1];
        MineShape[v] = {raw[0] / 10.0f, raw[2] / 10.0f, raw[1] / 10.0f};
    }
    StoreJoins(MineEdges, kMineJoins);
}

void BuildCraftModels() {
    FighterShape &level = CraftShape[kLevelAttitude][kLevelAttitude];
    for (int v = 1; v <= kFighterVertices; ++v) {
        const ModelVertex &base = kFighterBase[v - 1];
        level[v] = {base.x * CraftModelScale, base.y * CraftModelScale, base.z * CraftModelScale};
    }
    // Roll about the nose axis, from the level shape.
    for (int i = kAttitudeLow; i <= kAttitudeHigh; ++i) {
        if (i == kLevelAttitude) continue;
        const float s = AngleSin[i];
        const float c = AngleCos[i];
        for (int v = 1; v <= kFighterVertices; ++v) {
            const ModelVertex &p = level[v];
            CraftShape[i][kLevelAttitude][v] = {c * p.x - s * p.y, s * p.x + c * p.y, p.z};
        }
    }
    // Then pitch each rolled shape, so that every attitude is roll then pitch.
    for (int i = kAttitudeLow; i <= kAttitudeHigh; ++i) {
        const FighterShape &rolled = CraftShape[i][kLevelAttitude];
        for (int p = kAttitudeLow; p <= kAttitudeHigh; ++p) {
            if (p == kLevelAttitude) continue;
            const float s = AngleSin[p];
            const float c = AngleCos[p];
            for (int v = 1; v <= kFighterVertices; ++v) {
                const ModelVertex &q = rolled[v];
                CraftShape[i][p][v] = {q.x, c * q.y - s * q.z, s * q.y + c * q.z};
            }
        }
    }
    StoreJoins(CraftEdges, kCraftJoins);
    StoreJoins(ShipEdges, kShipJoins);
    ShipRoll.Fill(kLevelAttitude);
    ShipPitch.Fill(kLevelAttitude);
}

int ShipAttitudeIndex(float attitude) {
    return ClampAttitude(RoundEven(attitude));
}

int DrawCraft() {
    // Invulnerable: shown in frames 4..6 of every six.
    if (Invulnerable > 0 && AnimCycle6 <= 3) return 0;
    const FighterShape &shape = CraftShape[ClampAttitude(CraftRoll)][ClampAttitude(CraftPitch)];
    // The craft keeps its height as CraftY, the negative of its depth; its
    // model's y points up.
    const Placement at{CraftX, -CraftY, CraftZ, -1.0f, 1.0f, kCraftDistance};
    return DrawModel(shape, CraftEdges, at, kCraftColour);
}

int DrawShip(int i) {
    const ObjectRecord &ship = Ship[i];
    if (ship.state != kSlotActive) return 0;
    const FighterShape &shape =
        CraftShape[ShipAttitudeIndex(ShipRoll[i])][ShipAttitudeIndex(ShipPitch[i])];
    // Ships face the viewer: the model's z is turned round, its y points up.
    const Placement at{ship.x, ship.y, ship.z, -1.0f, -1.0f, kFieldDistance};
    const uint32_t colour = LevelNumber < 4 ? kShipColourEarly : kShipColourLate;
    return DrawModel(shape, ShipEdges, at, colour);
}

int DrawMine(int i) {
    const ObjectRecord &mine = Mine[i];
    if (mine.state != kSlotActive) return 0;
    const Placement at{mine.x, mine.y, mine.z, 1.0f, 1.0f, kFieldDistance};
    return DrawModel(MineShape, MineEdges, at, kMineColour);
}

int DrawMissile(int i) {
    const ObjectRecord &missile = Missile[i];
    if (missile.state != kSlotActive) return 0;
    const Placement at{missile.x, missile.y, missile.z, 1.0f, 1.0f, kFieldDistance};
    return DrawModel(MissileShape, MissileEdges, at, kMissileColour);
}

} // namespace halvane
