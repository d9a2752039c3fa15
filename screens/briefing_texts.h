// briefing_texts.h -- what the five mission briefings say: for each mission
// the lines and alien-script strips, each with the step from which it shows.
// Read by the briefing screen and its tests.
#pragma once

#include <array>

#include "core/offset_array.h"

namespace halvane {

constexpr int kMissions = 5;
constexpr int kBriefingItemsMax = 16;

// One line of text, or one strip of alien script when `sprite` is not 0.
struct BriefingItem {
    int step; // shown from this step on
    int x;    // top-left corner
    int y;
    const char *text; // nullptr for a strip
    int sprite;       // Sprites slot of a strip, else 0
};

struct BriefingMission {
    int lastStep; // the step that shows "*** END OF TRANSMISSION ***"
    int itemCount;
    std::array<BriefingItem, kBriefingItemsMax> items; // in drawing order
};

// Missions 1..5.
extern const OffsetArray<BriefingMission, 1, kMissions> BriefingMissions;

} // namespace halvane
