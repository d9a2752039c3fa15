// put_paths.h -- which row code the image puts run: the portable one, built
// for every machine, or the widest vector unit this CPU offers (chosen once,
// at the first put). Both give the same pixels; tests and benchmarks switch.
#pragma once

namespace halvane {

// Called by tests and benchmarks: true selects the widest row code the CPU
// has (the default), false the portable row code.
void UseWidePutRows(bool wide);

// Name of the row code in use: "portable", "avx2" or "avx512" (benchmarks).
const char *PutRowsName();

} // namespace halvane
