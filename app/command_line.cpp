// command_line.cpp -- reading the options and the texts of --help and
// --version.
#include "app/command_line.h"

#include <cstring>
#include <string_view>

#ifndef HALVANE_VERSION
#define HALVANE_VERSION "unknown"
#endif

namespace halvane {

namespace {

constexpr const char *kUsageLine = "Usage: halvane [OPTION]...\n";

// The keys, as the README's table gives them.
constexpr const char *kKeysText =
    "Keys:\n"
    "  Up, Down            menus: move the highlight\n"
    "  Enter, Space        choose or continue; in flight: fire (may be held)\n"
    "  left mouse button   continue; in flight: fly towards the horizon\n"
    "  Mouse               in flight, mouse controls: steer the craft\n"
    "  Arrow keys          in flight, keyboard controls: steer the craft\n"
    "  middle mouse button in flight: fire\n"
    "  C / V               in flight: towards / away from the horizon\n"
    "  right mouse button  in flight: away from the horizon\n"
    "  F                   in flight: show or hide the frame rate\n"
    "  S                   main menu, in flight, briefings: save a screenshot\n"
    "  Esc                 in flight: asks Abort(Y/N)?\n"
    "  Alt+Enter           switch between the window and the full screen\n";

void SetReason(std::span<char> reason, const char *first, std::string_view name, const char *last) {
    if (reason.empty()) return;
    std::snprintf(reason.data(), reason.size(), "%s%.*s%s", first, static_cast<int>(name.size()),
                  name.data(), last);
}

// The row whose long name is `name`, or else the one row whose long name
// begins with it; nullptr when none or several do (`ambiguous` then says
// which).
const OptionRow *FindLong(std::string_view name, bool &ambiguous) {
    ambiguous = false;
    const OptionRow *found = nullptr;
    for (const OptionRow &row : kOptions) {
        const std::string_view full(row.longName);
        if (full == name) return &row;
        if (!name.empty() && full.substr(0, name.size()) == name) {
            if (found != nullptr) ambiguous = true;
            found = &row;
        }
    }
    return ambiguous ? nullptr : found;
}

const OptionRow *FindShort(char name) {
    for (const OptionRow &row : kOptions)
        if (row.shortName != 0 && row.shortName == name) return &row;
    return nullptr;
}

// Puts one option with its value (nullptr when it has none) into `line`;
// false, with the reason, when the value is not one the option takes.
bool ApplyOption(const OptionRow &row, const char *value, CommandLine &line,
                 std::span<char> reason) {
    switch (row.id) {
    case OptionId::Help:
    case OptionId::Version:
        return true;
    case OptionId::Window:
        line.screenMode = 0;
        return true;
    case OptionId::Fullscreen:
        line.screenMode = 1;
        return true;
    case OptionId::Depth:
        if (std::strcmp(value, "16") == 0 || std::strcmp(value, "32") == 0) {
            line.colourDepth = value[0] == '1' ? 16 : 32;
            return true;
        }
        SetReason(reason, "--depth takes 16 or 32, not '", value, "'");
        return false;
    case OptionId::Record:
        line.recordFile = value;
        return true;
    case OptionId::Replay:
        line.replayFile = value;
        return true;
    case OptionId::Headless:
        line.headless = true;
        return true;
    case OptionId::Check:
        line.check = true;
        return true;
    case OptionId::Data:
        if (value[0] == '\0') {
            SetReason(reason, "--data needs a folder", "", "");
            return false;
        }
        line.dataFolder = value;
        return true;
    }
    return false;
}

CommandLineAction ActionOf(const OptionRow &row) {
    if (row.id == OptionId::Help) return CommandLineAction::ShowHelp;
    if (row.id == OptionId::Version) return CommandLineAction::ShowVersion;
    return CommandLineAction::Play;
}

} // namespace

CommandLineAction ReadCommandLine(int argc, const char *const *argv, CommandLine &line,
                                  std::span<char> reason) {
    if (!reason.empty()) reason[0] = '\0';
    for (int i = 1; i < argc; ++i) {
        const std::string_view word(argv[i]);
        if (word == "--") {
            if (i + 1 < argc) {
                SetReason(reason, "unexpected argument '", argv[i + 1], "'");
                return CommandLineAction::Refuse;
            }
            break;
        }
        if (word.size() > 2 && word.substr(0, 2) == "--") {
            // --name, --name=VALUE or --name VALUE.
            const std::string_view body = word.substr(2);
            const std::size_t equals = body.find('=');
            const std::string_view name = body.substr(0, equals);
            bool ambiguous = false;
            const OptionRow *row = FindLong(name, ambiguous);
            if (row == nullptr) {
                SetReason(reason, ambiguous ? "ambiguous option '--" : "unknown option '--", name,
                          "'");
                return CommandLineAction::Refuse;
            }
            const char *value = nullptr;
            if (equals != std::string_view::npos) {
                if (row->valueName == nullptr) {
                    SetReason(reason, "option '--", row->longName, "' takes no value");
                    return CommandLineAction::Refuse;
                }
                value = argv[i] + 2 + equals + 1;
            } else if (row->valueName != nullptr) {
                if (i + 1 >= argc) {
                    SetReason(reason, "option '--", row->longName, "' needs a value");
                    return CommandLineAction::Refuse;
                }
                value = argv[++i];
            }
            if (!ApplyOption(*row, value, line, reason)) return CommandLineAction::Refuse;
            if (ActionOf(*row) != CommandLineAction::Play) return ActionOf(*row);
            continue;
        }
        if (word.size() > 1 && word[0] == '-' && word[1] != '-') {
            // -a, grouped as -ab; a short option with a value takes the rest
            // of the word or the next word.
            for (std::size_t k = 1; k < word.size(); ++k) {
                const OptionRow *row = FindShort(word[k]);
                if (row == nullptr) {
                    SetReason(reason, "unknown option '-", word.substr(k, 1), "'");
                    return CommandLineAction::Refuse;
                }
                const char *value = nullptr;
                if (row->valueName != nullptr) {
                    if (k + 1 < word.size()) {
                        value = argv[i] + k + 1;
                    } else if (i + 1 < argc) {
                        value = argv[++i];
                    } else {
                        SetReason(reason, "option '-", word.substr(k, 1), "' needs a value");
                        return CommandLineAction::Refuse;
                    }
                }
                if (!ApplyOption(*row, value, line, reason)) return CommandLineAction::Refuse;
                if (ActionOf(*row) != CommandLineAction::Play) return ActionOf(*row);
                if (value != nullptr) break;
            }
            continue;
        }
        SetReason(reason, "unexpected argument '", word, "'");
        return CommandLineAction::Refuse;
    }
    if (line.recordFile != nullptr && line.replayFile != nullptr) {
        SetReason(reason, "--record and --replay do not go together", "", "");
        return CommandLineAction::Refuse;
    }
    if ((line.headless || line.check) && line.replayFile == nullptr) {
        SetReason(reason, line.headless ? "--headless" : "--check", "", " goes with --replay FILE");
        return CommandLineAction::Refuse;
    }
    return CommandLineAction::Play;
}

const char *ProgramVersion() {
    return HALVANE_VERSION;
}

void PrintVersion(std::FILE *to) {
    std::fprintf(to, "halvane %s\n", HALVANE_VERSION);
}

void PrintUsage(std::FILE *to) {
    std::fputs(kUsageLine, to);
    std::fputs("Halvane: fly down the channel, dig away the structure at each level's end.\n\n"
               "Options:\n",
               to);
    for (const OptionRow &row : kOptions) {
        std::array<char, 40> names{};
        int used = row.shortName != 0
                       ? std::snprintf(names.data(), names.size(), "-%c, --%s", row.shortName,
                                       row.longName)
                       : std::snprintf(names.data(), names.size(), "    --%s", row.longName);
        if (row.valueName != nullptr && used > 0 && static_cast<std::size_t>(used) < names.size())
            std::snprintf(names.data() + used, names.size() - static_cast<std::size_t>(used), " %s",
                          row.valueName);
        std::fprintf(to, "  %-22s %s\n", names.data(), row.meaning);
    }
}

void PrintHelp(std::FILE *to) {
    PrintUsage(to);
    std::fputs("\nWithout options the game opens as Data/setup.dat says. --window, --fullscreen\n"
               "and --depth change this run only; the file is never rewritten.\n"
               "A replay shows the recorded run at the recorded colour depth and never writes\n"
               "the best score; --headless prints its final score and a hash of its last page.\n\n",
               to);
    std::fputs(kKeysText, to);
}

void PrintRefusal(std::FILE *to, const char *reason) {
    std::fprintf(to, "halvane: %s\n%sTry 'halvane --help' for more information.\n", reason,
                 kUsageLine);
}

} // namespace halvane
