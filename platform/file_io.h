// file_io.h -- the game's file access (every name mapped by ResolvePath,
// platform/file_places.h), below the C library's streams (which
// allocate a buffer for every file they open): data files and pictures are
// opened for reading only when they are plain files, and all reading and
// writing goes through the callers' fixed buffers. Used by the field reader,
// the picture loader and saver, and the best score's safe replace.
#pragma once

#include <cstddef>

namespace halvane {

// Opens `fileName` for reading; -1 when it is missing or is not a regular
// file (a named pipe, device or folder put in its place by hand would
// otherwise block the game or feed it endless bytes; checked without waiting
// on a pipe).
int OpenRegularFile(const char *fileName);
// Creates `fileName` for writing, replacing a file of that name unless
// `exclusive`; -1 when it cannot (errno tells why).
int CreateForWriting(const char *fileName, bool exclusive);
// Reads up to `count` bytes, going on after short reads and interruptions;
// the bytes read (fewer only at the end of the file), or -1 on an error.
long long ReadBytes(int fd, void *bytes, std::size_t count);
// Writes all `count` bytes; false when they could not all be written.
bool WriteBytes(int fd, const void *bytes, std::size_t count);
// Renames a file over another, both in the same folder; false when it cannot.
bool RenameFile(const char *fromName, const char *toName);
// Removes a file, when it can.
void RemoveFile(const char *fileName);
// Closes `fd`; false when the close reported an error (a write that failed
// late, on some file systems).
bool CloseDescriptor(int fd);

} // namespace halvane
