#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>

#include "platform/file_places.h"

namespace halvane {

int OpenRegularFile(const char *fileName) {
    std::array<char, kPathCapacity> path;
    if (!ResolvePath(fileName, FileUse::Read, path)) return -1;
    // Non-blocking, so that opening a pipe with no writer returns at once.
    const int fd = open(path.data(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return -1;
    }
    // Plain reads from here on; for a regular file the flag changes nothing.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

int CreateForWriting(const char *fileName, bool exclusive) {
    std::array<char, kPathCapacity> path;
    if (!ResolvePath(fileName, FileUse::Write, path)) return -1;
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (exclusive ? O_EXCL : O_TRUNC);
    return open(path.data(), flags, 0666);
}

long long ReadBytes(int fd, void *bytes, std::size_t count) {
    auto *to = static_cast<char *>(bytes);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = read(fd, to + done, count - done);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        done += static_cast<std::size_t>(got);
    }
    return static_cast<long long>(done);
}

bool WriteBytes(int fd, const void *bytes, std::size_t count) {
    const auto *from = static_cast<const char *>(bytes);
    std::size_t done = 0;
    while (done < count) {
        const ssize_t put = write(fd, from + done, count - done);
        if (put <= 0) {
            if (put < 0 && errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

bool RenameFile(const char *fromName, const char *toName) {
    std::array<char, kPathCapacity> from;
    std::array<char, kPathCapacity> to;
    return ResolvePath(fromName, FileUse::Write, from) && ResolvePath(toName, FileUse::Write, to) &&
           std::rename(from.data(), to.data()) == 0;
}

void RemoveFile(const char *fileName) {
    std::array<char, kPathCapacity> path;
    if (ResolvePath(fileName, FileUse::Write, path)) std::remove(path.data());
}

bool CloseDescriptor(int fd) {
    return close(fd) == 0;
}

} // namespace halvane
