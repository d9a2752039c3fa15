#include "soak_run.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "app/pilots.h"
#include "app/startup.h"
#include "core/game_state.h"
#include "platform/display.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/replay.h"
#include "screens/hiscore_file.h"
#include "world/craft.h"
#include "world/missiles.h"
#include "world/objects.h"
#include "world/terrain.h"

namespace fs = std::filesystem;

namespace halvane {

namespace {

// What the run has seen so far; the observer and the pilot share it.
struct Run {
    SoakResult result;
    long frameTarget = 0, endAtPresent = 0, pagesSincePlay = 0;
    int lastCycle = -1, pilotCycle = -1;
    float lastLevel = 0, lastLives = 0;
    bool sabotage = false; // this game the pilot dives into the ground
} Soak;

// The active records of a table, or -1 when one is not finite or has a stray state.
template <int N> int ActiveRecords(const OffsetArray<ObjectRecord, 1, N> &table) {
    int n = 0;
    for (int i = 1; i <= N; ++i) {
        const ObjectRecord &r = table[i];
        if (!std::isfinite(r.x) || !std::isfinite(r.y) || !std::isfinite(r.z) ||
            (r.state != kSlotFree && r.state != kSlotActive && r.state != kSlotDestroyed))
            return -1;
        n += r.state == kSlotActive;
    }
    return n;
}

// The first invariant of the world that does not hold, or nullptr.
const char *BrokenInvariant() {
    if (ActiveRecords(Mine) != MineCount) return "MineCount differs from the active mines";
    if (ActiveRecords(Missile) != MissileCount || MissileCount > kMissilesInFlight)
        return "MissileCount differs from the active missiles or is above four";
    // At the fly-out every ship is destroyed; the counter waits for the next level's reset.
    if (ActiveRecords(Ship) < 0 || (EndPhase == 0 && ActiveRecords(Ship) != ShipCount))
        return "ShipCount differs from the active ships";
    for (int i = 1; i <= kShipSlots; ++i)
        if (Ship[i].state == kSlotActive &&
            (ShipRoll[i] < 1 || ShipRoll[i] > 7 || ShipPitch[i] < 1 || ShipPitch[i] > 7))
            return "a ship's attitude out of its table";
    if (CraftRoll < -1 || CraftRoll > 9 || CraftPitch < -1 || CraftPitch > 9)
        return "the craft's attitude out of its table";
    if (!std::isfinite(CraftX) || !std::isfinite(CraftY) || !std::isfinite(CraftZ) ||
        std::fabs(CraftX) > 7.5f || CraftZ < 0 || CraftZ > kCraftZLimit + 0.2f)
        return "the craft out of its box";
    if (!std::isfinite(Score) || !std::isfinite(Lives) || !std::isfinite(Shield) || Score < 0 ||
        Lives < -1 || Shield > 1000)
        return "score, lives or shield out of range";
    if (MapPosition < kMapStart || MapPosition > kMapEnd || !std::isfinite(ScrollOffset) ||
        ScrollOffset > 0 || ScrollOffset < -2.01f)
        return "the terrain window out of the map";
    if (LevelNumber < 0 || LevelNumber > 6) return "level number out of range";
    if (MouseX < -1 || MouseX > 639 || MouseY < -1 || MouseY > 479) return "mouse off the page";
    for (int r = kWindowFirstRow; r <= kWindowLastRow; ++r)
        for (int c = kLeftColumn; c <= kRightColumn; ++c)
            if (!std::isfinite(TerrainDepth[r][c])) return "a terrain cell not finite";
    return nullptr;
}

// At every poll and page shown: counts games, levels and frames of play (the animation
// cycle moved), checks the world, ends the run at its length, its page or a fault.
void CheckWorld(bool presented) {
    SoakResult &r = Soak.result;
    if (LevelNumber >= 1 && Soak.lastLevel == 0) Soak.sabotage = ++r.gamesStarted % 4 == 2;
    r.levelsCompleted += LevelNumber > Soak.lastLevel && Soak.lastLevel >= 1;
    r.gamesWon += LevelNumber == 6 && Soak.lastLevel == 5;
    r.gamesLost += Lives < 0 && Soak.lastLives >= 0 && LevelNumber >= 1;
    if (LevelNumber < 6) r.deepestLevel = std::max(r.deepestLevel, int(LevelNumber));
    Soak.lastLevel = LevelNumber;
    Soak.lastLives = Lives;
    if (AnimCycle20 != Soak.lastCycle) {
        Soak.lastCycle = AnimCycle20;
        ++r.playFrames;
        Soak.pagesSincePlay = 0;
    }
    r.presents += presented;
    Soak.pagesSincePlay += presented;
    const char *broken = BrokenInvariant();
    // Screens between levels show a few hundred pages; far more means one is stuck.
    if (broken == nullptr && Soak.pagesSincePlay > 20000) broken = "no play for 20000 pages";
    if (broken != nullptr) {
        std::ostringstream where;
        where << broken << " (frame of play " << r.playFrames << ", level " << LevelNumber
              << ", game " << r.gamesStarted << ", menu item " << MenuSelection << ", craft at "
              << CraftX << "," << CraftY << "," << CraftZ << ", score " << Score << ")";
        r.failure = where.str();
        EndProgram(2);
    }
    if (r.playFrames >= Soak.frameTarget || (presented && r.presents == Soak.endAtPresent))
        EndProgram(0);
}

void AfterPresent(const Page &) {
    CheckWorld(true);
}

// Every fourth game from the second on is flown into the ground; the others to win.
void SoakPilot(double now, InputState &state) {
    CheckWorld(false);
    const bool newFrame = AnimCycle20 != Soak.pilotCycle;
    Soak.pilotCycle = AnimCycle20;
    PlayPilot(now, state);
    if (Soak.sabotage && !newFrame && LevelNumber >= 1 && LevelNumber < 6) {
        state.mouseY = 479;
        state.keys[kKeyDown] = true;
        state.keys[kKeyUp] = false;
    }
}

} // namespace

SoakResult RunSoak(const std::string &sourceDir, long playFrames, double seed, long endAtPresent,
                   const char *recordTo) {
    Soak = Run{};
    Soak.frameTarget = playFrames, Soak.endAtPresent = endAtPresent;
    // A scratch folder with the project's data files and pictures.
    const fs::path home = fs::current_path();
    std::string pattern = (fs::temp_directory_path() / "halvane-soak-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return {.failure = "no scratch folder"};
    const fs::path dir = pattern;
    std::error_code none;
    fs::copy(fs::path(sourceDir) / "Data", dir / "Data", none);
    fs::remove(dir / "Data/hs.dat", none); // the run starts without a best score
    fs::create_directory_symlink(fs::path(sourceDir) / "Graphics", dir / "Graphics");
    fs::current_path(dir);
    HeadlessSetClock(seed);
    ResetPlayPilot();
    UsePilot(SoakPilot);
    HeadlessSetObserver(AfterPresent);
    if (recordTo != nullptr && !StartRecording(recordTo, "soak"))
        return {.failure = "no recording"};
    Soak.result.exitCode = HeadlessRun(StartUp);
    HeadlessSetObserver(nullptr);
    Soak.result.bestScoreKept = ReadHiScoreFile() == HiScore;
    fs::current_path(home);
    fs::remove_all(dir, none);
    return Soak.result;
}

} // namespace halvane
