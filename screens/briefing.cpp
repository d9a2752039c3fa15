// Does only the world's share (none yet) until the screen exists.
#include "screens/briefing.h"

namespace halvane {

void ShowBriefing() {}

} // namespace halvane
