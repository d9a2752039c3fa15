#include "world/level.h"

#include "core/game_state.h"
#include "world/objects.h"
#include "world/terrain.h"

namespace halvane {

int32_t RandomTerrain = 0;

void LevelFileName(int level, std::span<char> out) {
    (void)level;
    if (!out.empty()) {
        out[0] = '\0';
    }
}

void LoadLevelFile(const char *fileName) {
    (void)fileName;
}

bool LevelFileComplete(const char *fileName) {
    (void)fileName;
    return true;
}

void CheckLevelFiles() {}

void LoadNextLevel() {}

void ResetWorldForLevel() {}

void ResetCraftForLevel() {}

void ResetForLevel() {
    ResetWorldForLevel();
    ResetCraftForLevel();
}

float StructureSum() {
    return 0;
}

void CheckEndStructure() {}

void RunEndPhase() {}

} // namespace halvane
