// Does only the world's share (the craft's controls reset) until the screen exists.
#include "screens/briefing.h"

#include "world/lives.h"

namespace halvane {

void ShowBriefing() {
    RespawnCraft();
}

} // namespace halvane
