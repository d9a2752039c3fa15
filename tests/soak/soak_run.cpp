#include "soak_run.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "app/pilots.h"
#include "app/startup.h"
#include "core/game_state.h"
#include "core/numbers.h"
#include "platform/display.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "screens/hiscore_file.h"
#include "world/craft.h"
#include "world/missiles.h"
#include "world/objects.h"
#include "world/terrain.h"

namespace fs = std::filesystem;

namespace halvane {

namespace {

// What the run has seen so far; the observer and the pilot share it.
SoakResult Result;
long FrameTarget = 0;
long EndAtPresent = 0;
int LastCycle = -1;
float LastLevel = 0;
float LastLives = 0;
bool Sabotage = false; // this game the pilot dives into the ground
long PagesSincePlay = 0;
int PilotCycle = -1;

bool Finite(float v) {
    return std::isfinite(v);
}

template <int N> int ActiveRecords(const OffsetArray<ObjectRecord, 1, N> &table) {
    int n = 0;
    for (int i = 1; i <= N; ++i)
        n += table[i].state == kSlotActive;
    return n;
}

template <int N> bool RecordsSound(const OffsetArray<ObjectRecord, 1, N> &table) {
    for (int i = 1; i <= N; ++i) {
        const ObjectRecord &r = table[i];
        if (!Finite(r.x) || !Finite(r.y) || !Finite(r.z)) return false;
        if (r.state != kSlotFree && r.state != kSlotActive && r.state != kSlotDestroyed)
            return false;
    }
    return true;
}

// The first invariant of the world that does not hold, or an empty text.
std::string BrokenInvariant() {
    std::ostringstream why;
    if (ActiveRecords(Mine) != MineCount) why << "MineCount " << MineCount << " vs records";
    if (ActiveRecords(Missile) != MissileCount) why << "MissileCount " << MissileCount;
    if (MissileCount > kMissilesInFlight) why << "more than four missiles";
    // At the fly-out every ship is destroyed at once and the counter keeps
    // its value until the next level's reset.
    if (EndPhase == 0 && ActiveRecords(Ship) != ShipCount) why << "ShipCount " << ShipCount;
    if (!RecordsSound(Ship) || !RecordsSound(Mine) || !RecordsSound(Missile))
        why << "an object record is not finite or has a stray state";
    for (int i = 1; i <= kShipSlots; ++i)
        if (Ship[i].state == kSlotActive &&
            (ShipRoll[i] < 1 || ShipRoll[i] > 7 || ShipPitch[i] < 1 || ShipPitch[i] > 7))
            why << "ship " << i << " attitude " << ShipRoll[i] << "," << ShipPitch[i];
    if (CraftRoll < -1 || CraftRoll > 9 || CraftPitch < -1 || CraftPitch > 9)
        why << "craft attitude " << CraftRoll << "," << CraftPitch;
    if (!Finite(CraftX) || !Finite(CraftY) || !Finite(CraftZ) || std::fabs(CraftX) > 7.5f ||
        CraftZ < 0 || CraftZ > kCraftZLimit + 0.2f)
        why << "craft at " << CraftX << "," << CraftY << "," << CraftZ;
    if (!Finite(Score) || !Finite(Lives) || !Finite(Shield) || Score < 0 || Lives < -1 ||
        Shield > 1000)
        why << "score " << Score << " lives " << Lives << " shield " << Shield;
    if (MapPosition < kMapStart || MapPosition > kMapEnd || !Finite(ScrollOffset) ||
        ScrollOffset > 0 || ScrollOffset < -2.01f)
        why << "terrain window at " << MapPosition << " offset " << ScrollOffset;
    if (LevelNumber < 0 || LevelNumber > 6) why << "level " << LevelNumber;
    if (MouseX < -1 || MouseX > 639 || MouseY < -1 || MouseY > 479)
        why << "mouse at " << MouseX << "," << MouseY;
    for (int r = kWindowFirstRow; r <= kWindowLastRow; ++r)
        for (int c = kLeftColumn; c <= kRightColumn; ++c)
            if (!Finite(TerrainDepth[r][c])) {
                why << "terrain cell " << r << "," << c << " not finite";
                return why.str();
            }
    return why.str();
}

// Called at every poll of the input and every presented page: counts games,
// levels and frames of play (a new frame of play moves the animation cycle;
// the game polls at least once in each), checks the world, and ends the run
// at its length, at the page asked for, or at the first fault.
void CheckWorld(bool presented) {
    if (LevelNumber >= 1 && LastLevel == 0) {
        ++Result.gamesStarted;
        Sabotage = Result.gamesStarted % 4 == 2;
    }
    if (LevelNumber > LastLevel && LastLevel >= 1) ++Result.levelsCompleted;
    if (LevelNumber == 6 && LastLevel == 5) ++Result.gamesWon;
    if (Lives < 0 && LastLives >= 0 && LevelNumber >= 1) ++Result.gamesLost;
    if (LevelNumber < 6) Result.deepestLevel = std::max(Result.deepestLevel, int(LevelNumber));
    LastLevel = LevelNumber;
    LastLives = Lives;

    if (AnimCycle20 != LastCycle) {
        LastCycle = AnimCycle20;
        ++Result.playFrames;
        PagesSincePlay = 0;
    }
    if (presented) {
        ++Result.presents;
        ++PagesSincePlay;
    }
    std::string broken = BrokenInvariant();
    // The screens between levels show a few hundred pages; far more without
    // a frame of play means the game is stuck on one.
    if (broken.empty() && PagesSincePlay > 20000) broken = "no play for 20000 pages";
    if (!broken.empty()) {
        std::ostringstream where;
        where << broken << " (frame of play " << Result.playFrames << ", level " << LevelNumber
              << ", game " << Result.gamesStarted << ", menu item " << MenuSelection << ")";
        Result.failure = where.str();
        EndProgram(2);
    }
    if (Result.playFrames >= FrameTarget || (presented && Result.presents == EndAtPresent))
        EndProgram(0);
}

void AfterPresent(const Page &) {
    CheckWorld(true);
}

// Every fourth game from the second on is flown into the ground until it is
// lost; the others are played to win.
void SoakPilot(double now, InputState &state) {
    CheckWorld(false);
    const bool newFrame = AnimCycle20 != PilotCycle;
    PilotCycle = AnimCycle20;
    PlayPilot(now, state);
    if (Sabotage && !newFrame && LevelNumber >= 1 && LevelNumber < 6) {
        state.mouseY = 479;
        state.keys[kKeyDown] = true;
        state.keys[kKeyUp] = false;
    }
}

// A scratch folder with the project's data files and pictures.
fs::path MakeScratchFolder(const std::string &sourceDir) {
    std::string pattern = (fs::temp_directory_path() / "halvane-soak-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return {};
    const fs::path dir = pattern;
    fs::create_directory(dir / "Data");
    std::error_code none;
    for (const auto &entry : fs::directory_iterator(fs::path(sourceDir) / "Data", none))
        if (entry.path().filename() != "hs.dat")
            fs::copy_file(entry.path(), dir / "Data" / entry.path().filename());
    fs::create_directory_symlink(fs::path(sourceDir) / "Graphics", dir / "Graphics");
    return dir;
}

} // namespace

SoakResult RunSoak(const std::string &sourceDir, long playFrames, double seed, long endAtPresent) {
    Result = SoakResult{};
    FrameTarget = playFrames;
    EndAtPresent = endAtPresent;
    LastCycle = -1;
    PilotCycle = -1;
    LastLevel = 0;
    LastLives = 0;
    PagesSincePlay = 0;
    Sabotage = false;
    const fs::path home = fs::current_path();
    const fs::path dir = MakeScratchFolder(sourceDir);
    if (dir.empty()) {
        Result.failure = "no scratch folder";
        return Result;
    }
    fs::current_path(dir);
    HeadlessSetClock(seed);
    ResetPlayPilot();
    UsePilot(SoakPilot);
    HeadlessSetObserver(AfterPresent);
    Result.exitCode = HeadlessRun(StartUp);
    HeadlessSetObserver(nullptr);
    Result.bestScoreKept = ReadHiScoreFile() == HiScore;
    fs::current_path(home);
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    return Result;
}

} // namespace halvane
