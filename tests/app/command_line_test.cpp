// The program's options: each one, grouped, repeated, abbreviated, with bad
// values, and the texts of --help, --version and a refusal.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "app/command_line.h"

namespace halvane {
namespace {

using Action = CommandLineAction;

struct Case {
    std::vector<const char *> words; // after the program's name
    Action action;
    int screenMode;
    int colourDepth;
    const char *reason; // part of the refusal's reason; "" when not refused
};

const Case kCases[] = {
    {{}, Action::Play, -1, -1, ""},
    {{"--window"}, Action::Play, 0, -1, ""},
    {{"--fullscreen"}, Action::Play, 1, -1, ""},
    {{"--depth", "16"}, Action::Play, -1, 16, ""},
    {{"--depth=32"}, Action::Play, -1, 32, ""},
    {{"--fullscreen", "--depth=16"}, Action::Play, 1, 16, ""},
    // Repeated: the last one counts.
    {{"--window", "--fullscreen", "--window"}, Action::Play, 0, -1, ""},
    {{"--depth=16", "--depth", "32"}, Action::Play, -1, 32, ""},
    // Any unambiguous beginning of a long name.
    {{"--full", "--dep=16", "--w"}, Action::Play, 0, 16, ""},
    {{"--"}, Action::Play, -1, -1, ""},
    {{"--help"}, Action::ShowHelp, -1, -1, ""},
    {{"-h"}, Action::ShowHelp, -1, -1, ""},
    {{"--version"}, Action::ShowVersion, -1, -1, ""},
    {{"-V"}, Action::ShowVersion, -1, -1, ""},
    {{"--hel"}, Action::ShowHelp, -1, -1, ""}, // "--he" is also --headless
    // --help and --version act where they stand; what follows is not read.
    {{"--help", "--bogus"}, Action::ShowHelp, -1, -1, ""},
    {{"-Vh"}, Action::ShowVersion, -1, -1, ""},
    {{"--window", "--version", "--help"}, Action::ShowVersion, 0, -1, ""},
    // Refused.
    {{"--bogus"}, Action::Refuse, -1, -1, "unknown option '--bogus'"},
    {{"--bogus", "--help"}, Action::Refuse, -1, -1, "unknown option '--bogus'"},
    {{"-x"}, Action::Refuse, -1, -1, "unknown option '-x'"},
    {{"-hx"}, Action::ShowHelp, -1, -1, ""},
    {{"-xh"}, Action::Refuse, -1, -1, "unknown option '-x'"},
    {{"--depth"}, Action::Refuse, -1, -1, "'--depth' needs a value"},
    {{"--depth", "24"}, Action::Refuse, -1, -1, "--depth takes 16 or 32, not '24'"},
    {{"--depth="}, Action::Refuse, -1, -1, "not ''"},
    {{"--depth=016"}, Action::Refuse, -1, -1, "not '016'"},
    {{"--depth", "16x"}, Action::Refuse, -1, -1, "not '16x'"},
    {{"--window=1"}, Action::Refuse, -1, -1, "'--window' takes no value"},
    {{"--help=yes"}, Action::Refuse, -1, -1, "'--help' takes no value"},
    {{"level1"}, Action::Refuse, -1, -1, "unexpected argument 'level1'"},
    {{"-"}, Action::Refuse, -1, -1, "unexpected argument '-'"},
    {{"--", "--window"}, Action::Refuse, -1, -1, "unexpected argument '--window'"},
    {{"--WINDOW"}, Action::Refuse, -1, -1, "unknown option '--WINDOW'"},
    {{"--=16"}, Action::Refuse, -1, -1, "unknown option '--'"},
    // A value never swallows the next option's name silently.
    {{"--depth", "--window"}, Action::Refuse, -1, -1, "not '--window'"},
};

TEST(CommandLine, OptionsValuesAndRefusals) {
    for (const Case &c : kCases) {
        std::vector<const char *> argv{"halvane"};
        argv.insert(argv.end(), c.words.begin(), c.words.end());
        std::string shown;
        for (const char *w : c.words)
            shown += std::string(" ") + w;
        CommandLine line;
        std::array<char, 128> reason{};
        reason[0] = 'x';
        const Action action =
            ReadCommandLine(static_cast<int>(argv.size()), argv.data(), line, reason);
        EXPECT_EQ(action, c.action) << shown;
        if (c.action != Action::Refuse) {
            EXPECT_EQ(line.screenMode, c.screenMode) << shown;
            EXPECT_EQ(line.colourDepth, c.colourDepth) << shown;
            EXPECT_STREQ(reason.data(), "") << shown;
        } else {
            EXPECT_NE(std::string(reason.data()).find(c.reason), std::string::npos)
                << shown << ": " << reason.data();
        }
    }
}

// The replay options: their files and switches, and the pairs that do not go
// together.
TEST(CommandLine, RecordAndReplayOptions) {
    struct ReplayCase {
        std::vector<const char *> words;
        const char *record, *replay;
        bool headless, check;
        const char *reason; // "" when accepted
    };
    const ReplayCase cases[] = {
        {{"--record", "a.hrp"}, "a.hrp", nullptr, false, false, ""},
        {{"--record=b.hrp", "--window"}, "b.hrp", nullptr, false, false, ""},
        {{"--replay", "c.hrp", "--headless", "--check"}, nullptr, "c.hrp", true, true, ""},
        {{"--check", "--repl=d.hrp"}, nullptr, "d.hrp", false, true, ""},
        {{"--record", "a", "--replay", "b"}, "", "", false, false, "do not go together"},
        {{"--headless"}, "", "", false, false, "--headless goes with --replay FILE"},
        {{"--record", "a", "--check"}, "", "", false, false, "--check goes with --replay FILE"},
        {{"--re", "a"}, "", "", false, false, "ambiguous option '--re'"},
        {{"--replay"}, "", "", false, false, "'--replay' needs a value"},
    };
    for (const ReplayCase &c : cases) {
        std::vector<const char *> argv{"halvane"};
        argv.insert(argv.end(), c.words.begin(), c.words.end());
        CommandLine line;
        std::array<char, 128> reason{};
        const Action action =
            ReadCommandLine(static_cast<int>(argv.size()), argv.data(), line, reason);
        const std::string shown = c.words.empty() ? "" : c.words[0];
        if (c.reason[0] != '\0') {
            EXPECT_EQ(action, Action::Refuse) << shown;
            EXPECT_NE(std::string(reason.data()).find(c.reason), std::string::npos)
                << shown << ": " << reason.data();
            continue;
        }
        EXPECT_EQ(action, Action::Play) << shown;
        EXPECT_STREQ(line.recordFile, c.record) << shown;
        EXPECT_STREQ(line.replayFile, c.replay) << shown;
        EXPECT_EQ(std::tuple(line.headless, line.check), std::tuple(c.headless, c.check)) << shown;
    }
}

// An ambiguous beginning is refused; the table holds no two long names that
// begin alike except where a test here says so, so make one from the table.
TEST(CommandLine, AmbiguousAbbreviationIsRefused) {
    // Two rows sharing their first letter, if any; else nothing to check.
    for (const OptionRow &a : kOptions)
        for (const OptionRow &b : kOptions) {
            if (&a == &b || a.longName[0] != b.longName[0]) continue;
            const std::string word = std::string("--") + a.longName[0];
            const char *argv[] = {"halvane", word.c_str()};
            CommandLine line;
            std::array<char, 128> reason{};
            EXPECT_EQ(ReadCommandLine(2, argv, line, reason), Action::Refuse) << word;
            EXPECT_NE(std::string(reason.data()).find("ambiguous"), std::string::npos);
            return;
        }
    GTEST_SKIP() << "no two options begin alike";
}

// A long reason is cut to the caller's buffer, still NUL-terminated.
TEST(CommandLine, LongReasonIsTruncated) {
    const std::string word = "--" + std::string(300, 'q');
    const char *argv[] = {"halvane", word.c_str()};
    CommandLine line;
    std::array<char, 16> reason{};
    reason.fill('#');
    EXPECT_EQ(ReadCommandLine(2, argv, line, reason), Action::Refuse);
    EXPECT_EQ(std::string(reason.data()), "unknown option ");
}

std::string Printed(void (*print)(std::FILE *)) {
    std::FILE *f = std::tmpfile();
    print(f);
    std::rewind(f);
    std::string text;
    for (int c = std::fgetc(f); c != EOF; c = std::fgetc(f))
        text += static_cast<char>(c);
    std::fclose(f);
    return text;
}

TEST(CommandLine, HelpListsEveryOptionAndTheKeys) {
    const std::string help = Printed(PrintHelp);
    EXPECT_EQ(help.rfind("Usage: halvane [OPTION]...\n", 0), 0u);
    for (const OptionRow &row : kOptions) {
        std::string name = std::string("--") + row.longName;
        if (row.valueName != nullptr) name += std::string(" ") + row.valueName;
        EXPECT_NE(help.find(name), std::string::npos) << name;
        EXPECT_NE(help.find(row.meaning), std::string::npos) << name;
    }
    EXPECT_NE(help.find("-h, --help"), std::string::npos);
    EXPECT_NE(help.find("Alt+Enter"), std::string::npos);
    EXPECT_NE(help.find("Esc"), std::string::npos);
}

TEST(CommandLine, VersionIsOneLineWithTheProjectVersion) {
    const std::string version = Printed(PrintVersion);
    EXPECT_EQ(version, std::string("halvane ") + HALVANE_TEST_VERSION + "\n");
}

} // namespace
} // namespace halvane
