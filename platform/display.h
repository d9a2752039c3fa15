// display.h -- the platform edge: what the screen, input and timing layers
// need of a real display. Two implementations, chosen at link time: the SDL
// window (display_sdl.cpp, the program) and the headless display
// (display_headless.cpp, tests and tools). Game code never calls these.
#pragma once

#include <cstdint>

namespace halvane {

// A page as the display sees it.
struct Page {
    const uint8_t *pixels; // 640 x 480, rows top first
    int bytesPerPixel;     // 2 (5-6-5) or 4 (0x00RRGGBB)
};

// Opens the display; fullScreen selects the kind tried first. Returns false
// when neither kind opens (no display at all).
bool DisplayOpen(int bytesPerPixel, bool fullScreen);
// Shows `page`, uploading it only when `changeCount` differs from the last
// upload, waits for the display's next refresh (or the next 1/60 s tick),
// then sleeps `restMs` more (0: not at all). Asked for together, the two
// waits of a page that did not change can be one.
void DisplayPresent(const Page &page, uint32_t changeCount, double restMs);
// Services window events and refreshes the input state.
void DisplayPump();
// Monotonic seconds; virtual time under the headless display.
double DisplayClock();
// Sleeps `ms` milliseconds, fractions included, so that the frame limiter
// can sleep to just before its deadline (advances the virtual clock when
// headless).
void DisplaySleep(double ms);
// Ends the program with `code`: closes the display and exits; under the
// headless display it throws ProgramEnded{code} for the test to catch.
[[noreturn]] void EndProgram(int code);

struct ProgramEnded {
    int code;
};

} // namespace halvane
