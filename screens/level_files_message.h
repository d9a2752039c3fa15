// level_files_message.h -- the notice shown at launch when a level file is
// missing, short or corrupt. The launch sequence calls it after
// CheckLevelFiles.
#pragma once

namespace halvane {

// When RandomTerrain is 1: waits until Enter and Space are up (the Enter of
// LAUNCH may still be held), shows the three lines of the notice from the top
// left corner until Enter, Space or the left button is pressed, then waits
// for the release. Does nothing when every level file is sound.
void ShowLevelFilesMessage();

} // namespace halvane
