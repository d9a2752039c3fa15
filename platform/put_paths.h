// put_paths.h -- which row code the image puts and page copies run: the
// portable one, built for every machine, or the widest vector unit this CPU
// offers (chosen once, at the first use). Both give the same pixels; tests
// and benchmarks switch.
#pragma once

#include <cstddef>
#include <cstdint>

namespace halvane {

// Called by tests and benchmarks: true selects the widest row code the CPU
// has (the default), false the portable row code.
void UseWidePutRows(bool wide);

// Copies `bytes` from `source` to `dest`, writing only the 256-byte blocks
// that differ; returns whether any did. Used by CopyWorkPage, since still
// screens copy the same page again at every pass.
bool CopyChangedPixels(uint8_t *dest, const uint8_t *source, std::size_t bytes);

// Name of the row code in use: "portable", "avx2" or "avx512" (benchmarks).
const char *PutRowsName();

} // namespace halvane
