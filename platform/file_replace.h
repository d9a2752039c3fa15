// file_replace.h -- replacing a small file so that it is never lost or
// half-written: the new bytes go to a file beside it, are flushed to the disk
// and renamed over the old one. Used for the best-score file.
#pragma once

#include <span>

namespace halvane {

// Writes `bytes` to `tempName` (in the same folder as `fileName`), flushes it
// and renames it to `fileName`. When any step fails the temporary file is
// removed, the old file is left as it was and false is returned. During a
// replay nothing is written (false).
bool ReplaceFile(const char *fileName, const char *tempName, std::span<const char> bytes);

} // namespace halvane
