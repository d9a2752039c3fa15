// command_line.h -- the program's options, read by main before StartUp.
// GNU conventions: long options "--name", "--name=VALUE" or "--name VALUE",
// any unambiguous beginning of a long name, short options "-h" (grouped as
// "-hV"), "--" ending the options. The program takes no other words.
//
// To add an option: a new OptionId, a row in kOptions, a field in CommandLine
// and its case in ApplyOption (command_line.cpp); --help lists the row.
#pragma once

#include <array>
#include <cstdio>
#include <span>

namespace halvane {

enum class OptionId { Help, Version, Window, Fullscreen, Depth, Data, Record, Replay, Headless, Check };

struct OptionRow {
    OptionId id;
    char shortName;        // 0 when the option has no short form
    const char *longName;  // without the leading "--"
    const char *valueName; // nullptr for an option without a value
    const char *meaning;   // its line in --help
};

inline constexpr std::array kOptions{
    OptionRow{OptionId::Help, 'h', "help", nullptr, "show this help and exit"},
    OptionRow{OptionId::Version, 'V', "version", nullptr, "show the version and exit"},
    OptionRow{OptionId::Window, 0, "window", nullptr, "play in a window (this run only)"},
    OptionRow{OptionId::Fullscreen, 0, "fullscreen", nullptr,
              "play on the full screen (this run only)"},
    OptionRow{OptionId::Depth, 0, "depth", "16|32", "colour depth in bits (this run only)"},
    OptionRow{OptionId::Data, 0, "data", "DIR",
              "play from DIR, which holds Data/ and Graphics/, as if started there"},
    OptionRow{OptionId::Record, 0, "record", "FILE", "play and record the run into FILE"},
    OptionRow{OptionId::Replay, 0, "replay", "FILE", "show the run recorded in FILE (Esc ends it)"},
    OptionRow{OptionId::Headless, 0, "headless", nullptr,
              "with --replay: no window, as fast as it goes"},
    OptionRow{OptionId::Check, 0, "check", nullptr,
              "with --replay: stop at the first page that differs"},
};

// What the command line asks of this run. When an option is given more than
// once, the last one counts (--window and --fullscreen included).
struct CommandLine {
    int screenMode = -1;              // -1: as Data/setup.dat says; 0 window, 1 full screen
    int colourDepth = -1;             // -1: as Data/setup.dat says; else 16 or 32
    const char *dataFolder = nullptr; // --data DIR, or nullptr
    const char *recordFile = nullptr; // --record: the recording to write
    const char *replayFile = nullptr; // --replay: the recording to show
    bool headless = false;            // --replay without a window
    bool check = false;               // --replay comparing the page hashes
};

enum class CommandLineAction { Play, ShowHelp, ShowVersion, Refuse };

// Called by main: reads argv[1] to argv[argc - 1] into `line`. --help and
// --version act where they are met (later words are not looked at). On
// Refuse, `reason` holds one line saying what is wrong (NUL-terminated,
// truncated to fit).
CommandLineAction ReadCommandLine(int argc, const char *const *argv, CommandLine &line,
                                  std::span<char> reason);

// The program's version, e.g. "1.0.0" (kept in recordings).
const char *ProgramVersion();
// The program's name and version, e.g. "halvane 1.0.0", and a line.
void PrintVersion(std::FILE *to);
// The usage line and the options; PrintHelp adds the keys of the game.
void PrintUsage(std::FILE *to);
void PrintHelp(std::FILE *to);
// "halvane: <reason>", the usage line and a pointer to --help, for exit code 2.
void PrintRefusal(std::FILE *to, const char *reason);

} // namespace halvane
