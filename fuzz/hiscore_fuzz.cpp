// Any bytes as the best-score file: reading it never fails, and a score
// written over it reads back exactly.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/numbers.h"
#include "fuzz_input.h"
#include "screens/hiscore_file.h"

using namespace halvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    WriteFuzzFile(kHiScoreFileName, data, size);
    ReadHiScoreFile();

    // A whole score of the size that play gives, chosen by the input.
    uint32_t bits = 0;
    std::memcpy(&bits, data, std::min<std::size_t>(size, sizeof bits));
    const float score = static_cast<float>(bits % 10000000u);
    FuzzCheck(WriteHiScoreFile(score), "the best score could not be written");
    FuzzCheck(ReadHiScoreFile() == RoundEven(score), "the best score did not read back");
    return 0;
}
