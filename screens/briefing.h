// briefing.h -- the mission briefings. LoadNextLevel calls it for levels 1..5.
#pragma once

namespace halvane {

// Shows the briefing of mission LevelNumber and ends with RespawnCraft.
void ShowBriefing();

} // namespace halvane
