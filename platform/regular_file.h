// regular_file.h -- opening a data file or picture for reading only when it
// is a plain file: a named pipe, device or folder put in its place by hand
// would otherwise block the game at start-up or feed it endless bytes. Used
// by the field reader and the picture loader.
#pragma once

#include <cstdio>

namespace halvane {

// Opens `fileName` for binary reading; nullptr when it is missing or is not a
// regular file (checked without waiting on a pipe).
std::FILE *OpenRegularFile(const char *fileName);

} // namespace halvane
