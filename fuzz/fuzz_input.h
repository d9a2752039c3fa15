// fuzz_input.h -- what every fuzz target shares: a private scratch folder
// (on tmpfs when there is one) that becomes the working directory, the fuzz
// input written there as a file, and a loud stop for a broken promise.
#pragma once

#include <cstddef>
#include <cstdint>

namespace halvane {

// Writes `size` bytes to `fileName` (relative to the scratch folder, which is
// made and entered on the first call, with a Data/ folder inside it).
void WriteFuzzFile(const char *fileName, const uint8_t *data, std::size_t size);

// Stops the run with `what` on stderr when `holds` is false, so that the
// fuzzer keeps the input that broke a promise of a reader.
void FuzzCheck(bool holds, const char *what);

} // namespace halvane
