// A display that opens or refuses as the test says and remembers the last page presented.
#include "tests/screen/screen_test_util.h"

namespace halvane {

bool StandInOpens = true;
int StandInOpenedBytesPerPixel = 0;
bool StandInFullScreen = false;
int StandInPresentCount = 0;
Page StandInLastPage{nullptr, 0};
uint32_t StandInLastChange = 0;

bool DisplayOpen(int bytesPerPixel, bool fullScreen) {
    StandInOpenedBytesPerPixel = bytesPerPixel;
    StandInFullScreen = fullScreen;
    return StandInOpens;
}

void DisplayPresent(const Page &page, uint32_t changeCount) {
    ++StandInPresentCount;
    StandInLastPage = page;
    StandInLastChange = changeCount;
}

} // namespace halvane
