// stand_ins.h -- counters of the stand-in screens linked into these tests.
#pragma once

namespace halvane {

extern int BriefingsShown;
extern int EndGamesShown;
extern int LevelStatsShown;

} // namespace halvane
