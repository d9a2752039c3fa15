#include "fuzz_input.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>

namespace halvane {

namespace {

bool InScratch = false;

void EnterScratchFolder() {
    std::array<char, 64> folder{};
    const char *base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::snprintf(folder.data(), folder.size(), "%s/halvane-fuzz-XXXXXX", base);
    if (mkdtemp(folder.data()) == nullptr || chdir(folder.data()) != 0) {
        std::perror("halvane fuzz: scratch folder");
        std::abort();
    }
    mkdir("Data", 0755);
    InScratch = true;
}

} // namespace

void WriteFuzzFile(const char *fileName, const uint8_t *data, std::size_t size) {
    if (!InScratch) EnterScratchFolder();
    std::FILE *file = std::fopen(fileName, "wb");
    if (file == nullptr || (size > 0 && std::fwrite(data, 1, size, file) != size)) {
        std::perror("halvane fuzz: writing the input");
        std::abort();
    }
    std::fclose(file);
}

void FuzzCheck(bool holds, const char *what) {
    if (holds) return;
    std::fprintf(stderr, "halvane fuzz: %s\n", what);
    std::abort();
}

} // namespace halvane
