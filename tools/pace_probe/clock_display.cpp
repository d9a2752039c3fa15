// clock_display.cpp -- the pace probe's display: the real monotonic clock and
// real sleeps, but no window and no input, so the probe measures the pacing
// alone.
#include <chrono>
#include <cstdlib>
#include <ctime>

#include "platform/display.h"

namespace halvane {

bool DisplayOpen(int, bool) {
    return false;
}

void DisplayPresent(const Page &, uint32_t, double restMs) {
    DisplaySleep(restMs);
}

void DisplayPump() {}

double DisplayClock() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void DisplaySleep(double ms) {
    if (!(ms > 0)) return;
    const auto ns = static_cast<long long>(ms * 1e6);
    timespec wait{static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    while (nanosleep(&wait, &wait) != 0) {
    }
}

void EndProgram(int code) {
    std::exit(code);
}

} // namespace halvane
