#include "platform/file_replace.h"
#include "platform/file_io.h"
#include "platform/file_places.h"
#include "platform/replay.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>

namespace halvane {

namespace {

// Makes the rename itself survive a crash; a folder that cannot be synced
// (some file systems refuse) still holds a whole file, old or new.
void SyncFolder(const char *fileName) {
    std::array<char, kPathCapacity> folderName{'.'};
    const char *slash = std::strrchr(fileName, '/');
    if (slash != nullptr) {
        const std::size_t length =
            slash == fileName ? 1 : static_cast<std::size_t>(slash - fileName);
        if (length >= folderName.size()) return;
        std::memcpy(folderName.data(), fileName, length);
        folderName[length] = '\0';
    }
    const int folder = open(folderName.data(), O_RDONLY | O_DIRECTORY);
    if (folder < 0) return;
    fsync(folder);
    close(folder);
}

} // namespace

bool ReplaceFile(const char *fileName, const char *tempName, std::span<const char> bytes) {
    if (fileName == nullptr || tempName == nullptr) return false;
    // A replay shows a run again; it never changes the player's files.
    if (Replaying()) return false;
    const int fd = CreateForWriting(tempName, false);
    if (fd < 0) return false;
    bool written = WriteBytes(fd, bytes.data(), bytes.size());
    written = fsync(fd) == 0 && written;
    written = CloseDescriptor(fd) && written;
    if (!written || !RenameFile(tempName, fileName)) {
        RemoveFile(tempName);
        return false;
    }
    std::array<char, kPathCapacity> path;
    if (ResolvePath(fileName, FileUse::Write, path)) SyncFolder(path.data());
    return true;
}

} // namespace halvane
