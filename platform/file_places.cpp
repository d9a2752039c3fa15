// file_places.cpp -- choosing the layout, preparing the player's folder, and
// mapping names.
#include "platform/file_places.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/file_io.h"
#include "platform/file_replace.h"

#ifndef HALVANE_INSTALLED_DATA_DIR
#define HALVANE_INSTALLED_DATA_DIR "/usr/local/share/halvane"
#endif
#ifndef HALVANE_DATA_FROM_BIN
#define HALVANE_DATA_FROM_BIN "../share/halvane"
#endif

namespace halvane {

namespace {

FilePlaces Places;

// The game's names of the player's files, and their names in the player's
// folder. Any name without a folder (a screenshot) is a player's file too.
struct PlayerFile {
    std::string_view gameName;
    std::string_view playerName;
};
constexpr std::array kPlayerFiles{
    PlayerFile{"Data/hs.dat", "hs.dat"},
    PlayerFile{"Data/hs.dat.tmp", "hs.dat.tmp"},
    PlayerFile{"Data/setup.dat", "setup.dat"},
};
constexpr const char *kShippedSetup = "Data/setup.dat";

// Joins folder + "/" + name into `out`; false when it does not fit.
bool Join(std::string_view folder, std::string_view name, std::span<char> out) {
    const std::size_t length = folder.size() + 1 + name.size();
    if (length + 1 > out.size()) {
        errno = ENAMETOOLONG;
        return false;
    }
    std::memcpy(out.data(), folder.data(), folder.size());
    out[folder.size()] = '/';
    std::memcpy(out.data() + folder.size() + 1, name.data(), name.size());
    out[length] = '\0';
    return true;
}

bool Copy(std::string_view text, std::span<char> out) {
    if (text.size() + 1 > out.size()) {
        errno = ENAMETOOLONG;
        return false;
    }
    std::memcpy(out.data(), text.data(), text.size());
    out[text.size()] = '\0';
    return true;
}

bool IsAbsolute(const char *path) {
    return path != nullptr && path[0] == '/';
}

// Whether `folder` holds Data/ and Graphics/.
bool HoldsGameFiles(const char *folder) {
    std::array<char, kPathCapacity> path{};
    return Join(folder, "Data", path) && IsFolder(path.data()) && Join(folder, "Graphics", path) &&
           IsFolder(path.data());
}

bool SameFolder(const char *a, const char *b) {
    struct stat sa {};
    struct stat sb {};
    return stat(a, &sa) == 0 && stat(b, &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// The player's name of a game name, or "" when it is a shipped file.
std::string_view PlayerNameOf(std::string_view name) {
    for (const PlayerFile &file : kPlayerFiles)
        if (file.gameName == name) return file.playerName;
    if (name.find('/') == std::string_view::npos) return name;
    return {};
}

// Makes `path` and its missing parents (private to the player, as the XDG
// rules ask of the folders they create); false with errno set.
bool MakeFolders(std::span<char> path) {
    for (std::size_t i = 1; i < path.size() && path[i] != '\0'; ++i) {
        if (path[i] != '/') continue;
        path[i] = '\0';
        const bool made = mkdir(path.data(), 0700) == 0 || errno == EEXIST;
        path[i] = '/';
        if (!made) return false;
    }
    if (mkdir(path.data(), 0700) != 0 && errno != EEXIST) return false;
    if (!IsFolder(path.data())) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

void CannotSave(FilePlaces &places, const char *what, int error) {
    std::fprintf(stderr,
                 "halvane: cannot use %s for your files (%s); playing on without saving the "
                 "best score or screenshots\n",
                 what, std::strerror(error));
    places.canSave = false;
}

// Copies the shipped setup.dat into the player's folder when it has none.
bool CopyShippedSetup(const FilePlaces &places) {
    std::array<char, kPathCapacity> target{};
    std::array<char, kPathCapacity> temp{};
    std::array<char, kPathCapacity> source{};
    if (!Join(places.player.data(), "setup.dat", target) ||
        !Join(places.player.data(), "setup.dat.tmp", temp) ||
        !Join(places.shipped.data(), kShippedSetup, source))
        return false;
    struct stat info {};
    if (lstat(target.data(), &info) == 0) return true;
    if (errno != ENOENT) return false;
    std::array<char, 4096> bytes{};
    const int fd = OpenRegularFile(source.data());
    if (fd < 0) return true; // nothing shipped: the game reads empty fields, as always
    const long long got = ReadBytes(fd, bytes.data(), bytes.size());
    CloseDescriptor(fd);
    if (got < 0) return true;
    return ReplaceFile(target.data(), temp.data(),
                       std::span<const char>(bytes.data(), static_cast<std::size_t>(got)));
}

} // namespace

FilePlacesFacts FactsOfThisProcess(const char *dataOption) {
    // Beside the program first, so that an installed tree that was moved or
    // unpacked elsewhere still finds its files.
    static std::array<char, kPathCapacity> installed{};
    static std::array<char, kPathCapacity> program{};
    std::snprintf(installed.data(), installed.size(), "%s", HALVANE_INSTALLED_DATA_DIR);
    const ssize_t length = readlink("/proc/self/exe", program.data(), program.size() - 1);
    if (length > 0) {
        program[static_cast<std::size_t>(length)] = '\0';
        char *slash = std::strrchr(program.data(), '/');
        std::array<char, kPathCapacity> beside{};
        if (slash != nullptr) {
            *slash = '\0';
            if (Join(program.data(), HALVANE_DATA_FROM_BIN, beside) &&
                HoldsGameFiles(beside.data()) && realpath(beside.data(), program.data()) != nullptr)
                std::snprintf(installed.data(), installed.size(), "%s", program.data());
        }
    }
    return {dataOption, std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), installed.data()};
}

bool PlayerFolderFor(const char *xdgDataHome, const char *home, std::span<char> out) {
    if (!out.empty()) out[0] = '\0';
    bool made = false;
    if (IsAbsolute(xdgDataHome))
        made = Join(xdgDataHome, "halvane", out);
    else if (IsAbsolute(home))
        made = Join(home, ".local/share/halvane", out);
    if (!made && !out.empty()) out[0] = '\0';
    return made;
}

FilePlaces ChooseFilePlaces(const FilePlacesFacts &facts) {
    FilePlaces places;
    const char *installed = facts.installedFolder;
    if (facts.dataOption != nullptr) {
        std::array<char, PATH_MAX> absolute{};
        const char *folder = realpath(facts.dataOption, absolute.data()) != nullptr
                                 ? absolute.data()
                                 : facts.dataOption;
        if (installed == nullptr || !SameFolder(folder, installed)) {
            places.layout = FileLayout::GivenFolder;
            Copy(folder, places.shipped);
            return places;
        }
    } else if (HoldsGameFiles(".") || installed == nullptr || !HoldsGameFiles(installed)) {
        return places;
    }
    places.layout = FileLayout::Installed;
    Copy(installed, places.shipped);
    places.canSave = PlayerFolderFor(facts.xdgDataHome, facts.home, places.player);
    return places;
}

void PreparePlayerFolder(FilePlaces &places) {
    if (places.layout != FileLayout::Installed || !places.canSave) {
        if (places.layout == FileLayout::Installed)
            std::fprintf(stderr, "halvane: no folder for your files (neither XDG_DATA_HOME nor "
                                 "HOME is an absolute path); playing on without saving the best "
                                 "score or screenshots\n");
        return;
    }
    if (!MakeFolders(places.player)) {
        CannotSave(places, places.player.data(), errno);
        return;
    }
    if (access(places.player.data(), W_OK | X_OK) != 0) {
        CannotSave(places, places.player.data(), errno);
        return;
    }
    if (!CopyShippedSetup(places)) CannotSave(places, places.player.data(), errno);
}

void UseFilePlaces(const FilePlaces &places) {
    Places = places;
}

const FilePlaces &CurrentFilePlaces() {
    return Places;
}

bool ResolvePath(const char *name, FileUse use, std::span<char> out) {
    if (name == nullptr) {
        errno = ENOENT;
        return false;
    }
    if (Places.layout == FileLayout::WorkingFolder || IsAbsolute(name)) return Copy(name, out);
    if (Places.layout == FileLayout::GivenFolder) return Join(Places.shipped.data(), name, out);
    const std::string_view playerName = PlayerNameOf(name);
    if (use == FileUse::Write) {
        if (!Places.canSave) {
            errno = EACCES;
            return false;
        }
        // Never into the installed folder: a write of any other name lands
        // in the player's folder under the same relative name.
        return Join(Places.player.data(), playerName.empty() ? name : playerName, out);
    }
    if (!playerName.empty() && Places.player[0] != '\0' &&
        Join(Places.player.data(), playerName, out)) {
        struct stat info {};
        if (stat(out.data(), &info) == 0) return true;
    }
    return Join(Places.shipped.data(), name, out);
}

bool IsFolder(const char *path) {
    struct stat info {};
    return path != nullptr && stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

void DescribeFilePlaces(const FilePlaces &places, std::FILE *to) {
    switch (places.layout) {
    case FileLayout::WorkingFolder:
        std::fputs("Files: all in the working directory (Data/, Graphics/, screenshots).\n", to);
        return;
    case FileLayout::GivenFolder:
        std::fprintf(to, "Files: all in %s (Data/, Graphics/, screenshots).\n",
                     places.shipped.data());
        return;
    case FileLayout::Installed:
        std::fprintf(to, "Files: the game's own in %s;\n", places.shipped.data());
        if (places.player[0] != '\0')
            std::fprintf(to, "  yours (best score hs.dat, setup.dat, screenshots) in %s.\n",
                         places.player.data());
        else
            std::fputs("  yours: none (set HOME or XDG_DATA_HOME to keep them).\n", to);
        return;
    }
}

} // namespace halvane
