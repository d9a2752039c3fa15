// file_places.h -- where the game's files live, decided once at start-up, and
// the one mapping of the game's relative names ("Data/hs.dat",
// "Graphics/mmenu.bgr", "screenshot1.bmp") onto the paths opened. The file
// layer (file_io, file_replace, image_file_save) maps every name through
// ResolvePath; anything else that must reach the same files (hashing the
// shipped files, another storage) calls it too.
//
// Three layouts:
//  - working folder: the working directory holds Data/ and Graphics/ (a
//    checkout): every name is used as it is, as the game always did; also
//    the layout until start-up decides, and when no installed game is found;
//  - given folder (--data DIR): every relative name below DIR, read and
//    written, as if the game were started in DIR;
//  - installed: the shipped files are read from the installed data folder,
//    which is never written; the best score ("Data/hs.dat"), "Data/setup.dat"
//    and the screenshots live in the player's folder ($XDG_DATA_HOME/halvane,
//    else ~/.local/share/halvane) as hs.dat, setup.dat, screenshotN.bmp.
#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <span>

namespace halvane {

constexpr std::size_t kPathCapacity = 4096;

enum class FileLayout { WorkingFolder, GivenFolder, Installed };

struct FilePlaces {
    FileLayout layout = FileLayout::WorkingFolder;
    std::array<char, kPathCapacity> shipped{}; // folder of Data/ and Graphics/; "" working folder
    std::array<char, kPathCapacity> player{};  // installed: the player's folder; "" none
    bool canSave = true; // false: nothing is written (the player's folder is unusable)
};

// What start-up knows when it decides; any of them may be nullptr.
struct FilePlacesFacts {
    const char *dataOption;      // --data DIR
    const char *xdgDataHome;     // $XDG_DATA_HOME
    const char *home;            // $HOME
    const char *installedFolder; // the installed data folder
};

// Called by main: the facts of this process (its environment, and the
// installed data folder: <program's folder>/../share/halvane when that holds
// the game's files, else the folder compiled in).
FilePlacesFacts FactsOfThisProcess(const char *dataOption);

// Decides the layout, looking at the file system but changing nothing:
// --data DIR gives that folder (made absolute; the installed data folder
// itself plays as installed); else a working directory holding Data/ and
// Graphics/ is used; else an installed folder holding both; else the working
// directory after all (the game then says which file it misses).
FilePlaces ChooseFilePlaces(const FilePlacesFacts &facts);

// The player's folder by the XDG base-directory rules: $XDG_DATA_HOME/halvane
// when XDG_DATA_HOME is an absolute path, else $HOME/.local/share/halvane
// when HOME is absolute; false (and "") when neither is, or it does not fit.
bool PlayerFolderFor(const char *xdgDataHome, const char *home, std::span<char> out);

// Called by main before StartUp, installed layout only: creates the player's
// folder (and its parents) and copies the shipped setup.dat into it when it
// has none. A folder that cannot be made or written, or a setup.dat that
// cannot be copied: one line on stderr, and canSave becomes false.
void PreparePlayerFolder(FilePlaces &places);

// Makes `places` the layout of every file opened from now on.
void UseFilePlaces(const FilePlaces &places);
const FilePlaces &CurrentFilePlaces();

enum class FileUse { Read, Write };

// Maps the game's name to the path to open, into `out`. Absolute names and
// the working-folder layout pass unchanged. Installed: a player's file is
// read from the player's folder when it is there, else from the shipped
// folder; any write goes to the player's folder. False (errno set) when the
// file must not be touched: a write while nothing can be saved (EACCES) or a
// path longer than `out` (ENAMETOOLONG).
bool ResolvePath(const char *name, FileUse use, std::span<char> out);

// Whether `path` is a folder (following links).
bool IsFolder(const char *path);

// The folders in use, for --help.
void DescribeFilePlaces(const FilePlaces &places, std::FILE *to);

} // namespace halvane
