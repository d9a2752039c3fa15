// display_headless.cpp -- the display of tests and tools: no window, a virtual
// clock, and an opt-in observer of the presented pages. Every operation that
// the game's busy waits use moves the clock on a little, so each wait ends:
// a clock reading by 1 us, an event pump (each KeyDown or ReadMouse) by
// 0.1 ms, a sleep by its length, a present to the next 1/60 s tick.
#include <cmath>

#include "platform/audio_device.h"
#include "platform/display.h"
#include "platform/headless.h"
#include "platform/replay.h"

namespace halvane {

namespace {

constexpr double kClockReadStep = 1e-6;
constexpr double kPumpStep = 1e-4;
constexpr double kTicksPerSecond = 60.0;

double VirtualTime = 0.0;
PageObserver Observer = nullptr;
uint64_t PresentCount = 0;

} // namespace

void HeadlessSetClock(double seconds) {
    VirtualTime = seconds;
}

double HeadlessClock() {
    return VirtualTime;
}

void HeadlessSetObserver(PageObserver observer) {
    Observer = observer;
}

uint64_t HeadlessPresentCount() {
    return PresentCount;
}

int HeadlessRun(void (*entry)()) {
    try {
        entry();
    } catch (const ProgramEnded &end) {
        return end.code;
    }
    return 0;
}

// Silent: requests are posted and never heard, as nothing pulls the mixer.
bool OpenAudioDevice() {
    return false;
}

bool DisplayOpen(int, bool) {
    return true;
}

void DisplayPresent(const Page &page, uint32_t, double restMs) {
    // The next tick strictly after now; the small slack keeps a time that sits
    // on a tick (k/60 read back as k - epsilon) from landing on itself.
    double tick = std::floor(VirtualTime * kTicksPerSecond + 1e-6) + 1.0;
    double next = tick / kTicksPerSecond;
    if (next <= VirtualTime) next = (tick + 1.0) / kTicksPerSecond;
    VirtualTime = next;
    ++PresentCount;
    if (Observer != nullptr) Observer(page);
    if (restMs > 0) DisplaySleep(restMs);
}

void DisplayPump() {
    VirtualTime += kPumpStep;
}

double DisplayClock() {
    VirtualTime += kClockReadStep;
    return VirtualTime;
}

void DisplaySleep(double ms) {
    if (ms > 0) VirtualTime += ms * 1e-3;
}

void EndProgram(int code) {
    throw ProgramEnded{ReplayProgramEnds(code)};
}

} // namespace halvane
