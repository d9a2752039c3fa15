// Where files live: choosing the layout, the player's folder by the XDG
// rules, preparing it, mapping names, and the file layer writing through it.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <map>

#include "core/game_state.h"
#include "platform/file_io.h"
#include "platform/file_places.h"
#include "platform/image_file.h"
#include "platform/screen.h"
#include "screens/hiscore_file.h"
#include "temp_dir.h"

namespace halvane {
namespace {

namespace fs = std::filesystem;

// Every file below `folder` with its bytes, to show that nothing changed.
std::map<std::string, std::string> Tree(const fs::path &folder) {
    std::map<std::string, std::string> files;
    for (const auto &entry : fs::recursive_directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        files[fs::relative(entry.path(), folder).string()] =
            entry.is_regular_file() ? std::string(std::istreambuf_iterator<char>(in), {}) : "/";
    }
    return files;
}

// The temporary folder holds: work/ (the working directory, empty unless a
// case fills it), inst/ (an installed data folder with Data/setup.dat and
// Graphics/), home/ and xdg/.
class FilePlacesTest : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        for (const char *folder : {"work", "inst/Data", "inst/Graphics", "home", "xdg"})
            fs::create_directories(folder);
        WriteText("inst/Data/setup.dat", "0,0,16\n");
        WriteText("inst/Graphics/mmenu.bgr", "picture");
        root_ = fs::current_path().string();
        fs::current_path("work");
    }
    void TearDown() override {
        UseFilePlaces(FilePlaces{});
        TempDirTest::TearDown();
    }
    FilePlaces Choose(const char *data, const char *xdg, const char *home) {
        const std::string inst = root_ + "/inst";
        return ChooseFilePlaces({data, xdg, home, inst.c_str()});
    }
    std::string root_;
};

TEST_F(FilePlacesTest, LayoutAndPlayerFolderFollowTheFoldersAndTheXdgRules) {
    const std::string xdg = root_ + "/xdg", home = root_ + "/home", inst = root_ + "/inst";
    struct Case {
        const char *name;
        bool checkoutHere; // the working directory holds Data/ and Graphics/
        bool dataOnly;     // it holds Data/ only
        const char *data;  // --data
        const char *xdg;   // XDG_DATA_HOME
        const char *home;  // HOME
        FileLayout layout;
        std::string shipped, player;
        bool canSave;
    };
    const Case cases[] = {
        {"checkout", true, false, nullptr, xdg.c_str(), home.c_str(), FileLayout::WorkingFolder, "",
         "", true},
        {"installed, XDG set", false, false, nullptr, xdg.c_str(), home.c_str(),
         FileLayout::Installed, inst, xdg + "/halvane", true},
        {"installed, XDG unset", false, false, nullptr, nullptr, home.c_str(),
         FileLayout::Installed, inst, home + "/.local/share/halvane", true},
        {"installed, XDG relative", false, false, nullptr, "xdg", home.c_str(),
         FileLayout::Installed, inst, home + "/.local/share/halvane", true},
        {"installed, XDG empty", false, false, nullptr, "", home.c_str(), FileLayout::Installed,
         inst, home + "/.local/share/halvane", true},
        {"installed, no HOME", false, false, nullptr, nullptr, nullptr, FileLayout::Installed, inst,
         "", false},
        {"installed, HOME relative", false, false, nullptr, "", "home", FileLayout::Installed, inst,
         "", false},
        {"Data/ alone is no checkout", false, true, nullptr, xdg.c_str(), home.c_str(),
         FileLayout::Installed, inst, xdg + "/halvane", true},
        {"--data wins over a checkout", true, false, "../inst/Graphics", xdg.c_str(), home.c_str(),
         FileLayout::GivenFolder, inst + "/Graphics", "", true},
        {"--data to the installed folder", false, false, "../inst/Data/..", xdg.c_str(),
         home.c_str(), FileLayout::Installed, inst, xdg + "/halvane", true},
    };
    for (const Case &c : cases) {
        std::error_code ignored;
        fs::remove_all("Data", ignored);
        fs::remove_all("Graphics", ignored);
        if (c.checkoutHere || c.dataOnly) fs::create_directory("Data");
        if (c.checkoutHere) fs::create_directory("Graphics");
        const FilePlaces places = Choose(c.data, c.xdg, c.home);
        EXPECT_EQ(places.layout, c.layout) << c.name;
        EXPECT_EQ(std::string(places.shipped.data()), c.shipped) << c.name;
        EXPECT_EQ(std::string(places.player.data()), c.player) << c.name;
        EXPECT_EQ(places.canSave, c.canSave) << c.name;
    }
    // No installed game anywhere: the working directory, as before installing.
    EXPECT_EQ(ChooseFilePlaces({nullptr, nullptr, home.c_str(), "/nonexistent/halvane"}).layout,
              FileLayout::WorkingFolder);
    EXPECT_EQ(ChooseFilePlaces({nullptr, nullptr, home.c_str(), nullptr}).layout,
              FileLayout::WorkingFolder);
}

TEST_F(FilePlacesTest, NamesMapOntoTheFoldersOfEachLayout) {
    const std::string inst = root_ + "/inst", player = root_ + "/xdg/halvane";
    FilePlaces installed = Choose(nullptr, (root_ + "/xdg").c_str(), nullptr);
    FilePlaces given = Choose(root_.c_str(), nullptr, nullptr);
    FilePlaces cannotSave = installed;
    cannotSave.canSave = false;
    fs::create_directories(player);
    WriteText(player + "/setup.dat", "1,0,32\n");
    struct Case {
        const FilePlaces *places; // nullptr: the working folder
        const char *name;
        FileUse use;
        std::string path; // "" when refused
    };
    const Case cases[] = {
        {nullptr, "Data/hs.dat", FileUse::Write, "Data/hs.dat"},
        {nullptr, "screenshot1.bmp", FileUse::Read, "screenshot1.bmp"},
        {&given, "Data/hs.dat", FileUse::Write, root_ + "/Data/hs.dat"},
        {&given, "screenshot2.bmp", FileUse::Write, root_ + "/screenshot2.bmp"},
        {&given, "Graphics/mmenu.bgr", FileUse::Read, root_ + "/Graphics/mmenu.bgr"},
        // Installed: the player's copy when there is one, else the shipped file.
        {&installed, "Data/setup.dat", FileUse::Read, player + "/setup.dat"},
        {&installed, "Data/hs.dat", FileUse::Read, inst + "/Data/hs.dat"},
        {&installed, "Data/level1.dat", FileUse::Read, inst + "/Data/level1.dat"},
        {&installed, "Graphics/mmenu.bgr", FileUse::Read, inst + "/Graphics/mmenu.bgr"},
        // Every write lands in the player's folder.
        {&installed, "Data/hs.dat", FileUse::Write, player + "/hs.dat"},
        {&installed, "Data/hs.dat.tmp", FileUse::Write, player + "/hs.dat.tmp"},
        {&installed, "Data/setup.dat", FileUse::Write, player + "/setup.dat"},
        {&installed, "screenshot12.bmp", FileUse::Write, player + "/screenshot12.bmp"},
        {&installed, "Graphics/mmenu.bgr", FileUse::Write, player + "/Graphics/mmenu.bgr"},
        {&installed, "/tmp/elsewhere", FileUse::Write, "/tmp/elsewhere"},
        {&cannotSave, "Data/hs.dat", FileUse::Write, ""},
        {&cannotSave, "screenshot1.bmp", FileUse::Write, ""},
        {&cannotSave, "Data/setup.dat", FileUse::Read, player + "/setup.dat"},
    };
    for (const Case &c : cases) {
        UseFilePlaces(c.places != nullptr ? *c.places : FilePlaces{});
        std::array<char, kPathCapacity> out{};
        errno = 0;
        const bool mapped = ResolvePath(c.name, c.use, out);
        EXPECT_EQ(mapped, !c.path.empty()) << c.name;
        if (mapped) {
            EXPECT_EQ(std::string(out.data()), c.path) << c.name;
        } else {
            EXPECT_EQ(errno, EACCES) << c.name;
        }
    }
    // The player's setup.dat gone: the shipped one is read.
    fs::remove(player + "/setup.dat");
    UseFilePlaces(installed);
    std::array<char, kPathCapacity> out{};
    ASSERT_TRUE(ResolvePath("Data/setup.dat", FileUse::Read, out));
    EXPECT_EQ(std::string(out.data()), inst + "/Data/setup.dat");
    // A path that does not fit is refused, not cut.
    std::array<char, 16> shortOut{};
    errno = 0;
    EXPECT_FALSE(ResolvePath("Graphics/mmenu.bgr", FileUse::Read, shortOut));
    EXPECT_EQ(errno, ENAMETOOLONG);
}

TEST_F(FilePlacesTest, PlayerFolderIsMadeOnceWithTheShippedSetupAndNeverReplacesIt) {
    const std::string player = root_ + "/xdg/deep/er/halvane";
    const auto installedBefore = Tree(root_ + "/inst");
    FilePlaces places = Choose(nullptr, (root_ + "/xdg/deep/er").c_str(), nullptr);
    PreparePlayerFolder(places);
    EXPECT_TRUE(places.canSave);
    EXPECT_TRUE(fs::is_directory(player));
    EXPECT_EQ(ReadBytes(player + "/setup.dat"), ReadBytes(root_ + "/inst/Data/setup.dat"));
    EXPECT_FALSE(fs::exists(player + "/setup.dat.tmp"));
    // Made private to the player, as the rules ask of new folders.
    struct stat info {};
    ASSERT_EQ(stat(player.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    // The player's own setup is kept on the next start.
    WriteText(player + "/setup.dat", "1,0,32\n");
    FilePlaces again = Choose(nullptr, (root_ + "/xdg/deep/er").c_str(), nullptr);
    PreparePlayerFolder(again);
    EXPECT_TRUE(again.canSave);
    const std::vector<uint8_t> kept = ReadBytes(player + "/setup.dat");
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "1,0,32\n");
    EXPECT_EQ(Tree(root_ + "/inst"), installedBefore);
}

TEST_F(FilePlacesTest, UnusablePlayerFolderIsReportedOnceAndNothingIsSaved) {
    WriteText(root_ + "/xdg/halvane", "a file where the folder belongs");
    WriteText(root_ + "/home/.local", "a file where a parent belongs");
    struct Case {
        const char *name;
        std::string xdg, home;
        const char *said; // part of the one line on stderr
    };
    const Case cases[] = {
        {"player folder is a file", root_ + "/xdg", "", "Not a directory"},
        {"a parent is a file", "", root_ + "/home", "Not a directory"},
        {"no HOME", "", "", "no folder for your files"},
    };
    const auto installedBefore = Tree(root_ + "/inst");
    for (const Case &c : cases) {
        FilePlaces places = Choose(nullptr, c.xdg.empty() ? nullptr : c.xdg.c_str(),
                                   c.home.empty() ? nullptr : c.home.c_str());
        ASSERT_EQ(places.layout, FileLayout::Installed) << c.name;
        ::testing::internal::CaptureStderr();
        PreparePlayerFolder(places);
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(places.canSave) << c.name;
        EXPECT_NE(said.find(c.said), std::string::npos) << c.name << ": " << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << c.name;
        // The game plays on: the shipped setup reads, the best score is not
        // written anywhere.
        UseFilePlaces(places);
        const int fd = OpenRegularFile("Data/setup.dat");
        EXPECT_GE(fd, 0) << c.name;
        if (fd >= 0) CloseDescriptor(fd);
        EXPECT_FALSE(WriteHiScoreFile(500)) << c.name;
        EXPECT_EQ(ReadHiScoreFile(), 0) << c.name;
    }
    EXPECT_EQ(Tree(root_ + "/inst"), installedBefore);
    EXPECT_TRUE(fs::is_empty("."));
}

// The best score and screenshots go through the file layer into the player's
// folder; the installed folder and the working directory stay as they were.
TEST_F(FilePlacesTest, InstalledGameWritesOnlyIntoThePlayersFolder) {
    const std::string player = root_ + "/home/.local/share/halvane";
    FilePlaces places = Choose(nullptr, nullptr, (root_ + "/home").c_str());
    PreparePlayerFolder(places);
    UseFilePlaces(places);
    const auto installedBefore = Tree(root_ + "/inst");
    ASSERT_TRUE(WriteHiScoreFile(1234));
    EXPECT_EQ(ReadHiScoreFile(), 1234);
    EXPECT_TRUE(fs::exists(player + "/hs.dat"));
    EXPECT_FALSE(fs::exists(player + "/hs.dat.tmp"));
    OpenOffscreenPages(32);
    FillBox(0, 0, 639, 479, 0x203040);
    ScreenshotNumber = 1;
    WriteText(player + "/screenshot1.bmp", "an earlier shot");
    TakeScreenshot();
    EXPECT_EQ(ScreenshotNumber, 2);
    EXPECT_EQ(ReadBytes(player + "/screenshot2.bmp").size(), 54u + 640 * 480 * 3);
    EXPECT_EQ(ReadBytes(player + "/screenshot1.bmp").size(), 15u);
    EXPECT_EQ(Tree(root_ + "/inst"), installedBefore);
    EXPECT_TRUE(fs::is_empty("."));
}

} // namespace
} // namespace halvane
