#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace halvane {

std::FILE *OpenRegularFile(const char *fileName) {
    if (fileName == nullptr) return nullptr;
    // Non-blocking, so that opening a pipe with no writer returns at once.
    const int fd = open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return nullptr;
    }
    // Plain reads from here on; for a regular file the flag changes nothing.
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE *file = fdopen(fd, "rb");
    if (file == nullptr) close(fd);
    return file;
}

} // namespace halvane
