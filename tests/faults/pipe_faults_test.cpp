// Named pipes put in place of the game's files: start-up must not wait on
// them. Before the readers checked for plain files, each of these hung the
// game for good (nothing ever writes to the pipe).
#include <sys/stat.h>

#include <filesystem>

#include "platform/image_file.h"
#include "platform/screen.h"
#include "platform/text_fields.h"
#include "screens/hiscore_file.h"
#include "tests/files/temp_dir.h"
#include "world/level_file.h"

namespace halvane {
namespace {

using PipeFaults = TempDirTest;

TEST_F(PipeFaults, PipesReadAsMissingFilesAtOnce) {
    std::filesystem::create_directory("Data");
    ASSERT_EQ(mkfifo(kHiScoreFileName, 0644), 0);
    ASSERT_EQ(mkfifo("Data/level1.dat", 0644), 0);
    ASSERT_EQ(mkfifo("picture.bmp", 0644), 0);

    EXPECT_EQ(ReadHiScoreFile(), 0);
    EXPECT_FALSE(LevelFileComplete("Data/level1.dat"));
    OpenOffscreenPages(32);
    EXPECT_EQ(LoadImageFile("picture.bmp"), kImageCannotOpen);
    // A new best still replaces the pipe with a file.
    ASSERT_TRUE(WriteHiScoreFile(35));
    EXPECT_EQ(ReadHiScoreFile(), 35);
}

TEST_F(PipeFaults, DevicesAndFoldersAreNoDataFiles) {
    OpenForReading(2, "/dev/zero");
    EXPECT_EQ(ReadIntField(2), 0);
    EXPECT_FALSE(LastFieldHadNumber(2));
    CloseFile(2);
    std::filesystem::create_directory("folder.bmp");
    OpenOffscreenPages(32);
    EXPECT_EQ(LoadImageFile("folder.bmp"), kImageCannotOpen);
    EXPECT_EQ(LoadImageFile("/dev/zero"), kImageCannotOpen);
}

} // namespace
} // namespace halvane
