#include "world/level_file.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "platform/text_fields.h"
#include "world/terrain.h"

namespace halvane {

int32_t RandomTerrain = 0;
OffsetArray<int32_t, 1, kLevelCount> LevelFileBroken;

namespace {

// Kept within the window of values the world can hold.
float SafeLevelValue(float value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    return std::fmin(std::fmax(value, -kLevelValueLimit), kLevelValueLimit);
}

} // namespace

void LevelFileName(int level, std::span<char> out) {
    if (out.empty()) {
        return;
    }
    std::snprintf(out.data(), out.size(), "Data/level%d.dat", level);
}

void LoadLevelFile(const char *fileName) {
    OpenForReading(kLevelFileNumber, fileName);
    for (int r = 1; r <= kLevelRows; ++r) {
        for (int k = 1; k <= kLevelFieldsPerRow; ++k) {
            LevelMap[k][r] = SafeLevelValue(ReadFloatField(kLevelFileNumber));
        }
    }
    CloseFile(kLevelFileNumber);
}

bool LevelFileComplete(const char *fileName) {
    // Read exactly as the loader reads it, field by field: each of the 9000
    // must begin with a number; past the end of the file none does.
    OpenForReading(kLevelFileNumber, fileName);
    bool complete = true;
    for (int i = 0; i < kLevelFieldCount && complete; ++i) {
        ReadFloatField(kLevelFileNumber);
        complete = LastFieldHadNumber(kLevelFileNumber);
    }
    CloseFile(kLevelFileNumber);
    return complete;
}

void CheckLevelFiles() {
    RandomTerrain = 0;
    std::array<char, 32> name{};
    for (int level = 1; level <= kLevelCount; ++level) {
        LevelFileName(level, name);
        LevelFileBroken[level] = LevelFileComplete(name.data()) ? 0 : 1;
        if (LevelFileBroken[level] != 0) {
            RandomTerrain = 1;
            std::fprintf(stderr,
                         "%s is missing, short or corrupt: level %d is played over "
                         "generated terrain\n",
                         name.data(), level);
        }
    }
}

} // namespace halvane
