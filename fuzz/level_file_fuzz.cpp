// Any bytes as a level file: the loader keeps every value finite and within
// the world's range, and the check before a game does not fail on it.
#include <cmath>
#include <cstdint>

#include "fuzz_input.h"
#include "world/level_file.h"
#include "world/terrain.h"

using namespace halvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    WriteFuzzFile("Data/level1.dat", data, size);
    LevelFileComplete("Data/level1.dat");
    LoadLevelFile("Data/level1.dat");
    for (int k = 1; k <= kLevelFieldsPerRow; ++k)
        for (int r = 1; r <= kLevelRows; ++r)
            FuzzCheck(std::isfinite(LevelMap[k][r]) &&
                          std::fabs(LevelMap[k][r]) <= kLevelValueLimit,
                      "a level value left the world's range");
    return 0;
}
