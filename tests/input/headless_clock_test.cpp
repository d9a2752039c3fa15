#include <cstdint>

#include <gtest/gtest.h>

#include "platform/display.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "platform/timing.h"

namespace halvane {
namespace {

constexpr double kTick = 1.0 / 60.0;

// How far the clock moves while `wait` runs.
template <typename F> double ClockStep(F wait) {
    const double before = HeadlessClock();
    wait();
    return HeadlessClock() - before;
}

TEST(HeadlessClock, EachWaitOfTheGameMovesTheClockByItsOwnStep) {
    OpenOffscreenPages(32);
    HeadlessSetClock(5.0);
    EXPECT_NEAR(ClockStep([] { EXPECT_NEAR(ClockSeconds(), 5.0 + 1e-6, 1e-12); }), 1e-6, 1e-12);
    EXPECT_NEAR(ClockStep([] { SleepMs(20); }), 0.020, 1e-12);
    // A poll pumps the display (0.1 ms) and reads the clock once (1 us).
    EXPECT_NEAR(ClockStep([] { KeyDown(kKeyEnter); }), 0.000101, 1e-9);
    int32_t x, y, wheel, buttons;
    EXPECT_NEAR(ClockStep([&] { ReadMouse(x, y, wheel, buttons); }), 0.000101, 1e-9);
}

TEST(HeadlessClock, PresentWaitsForTheNextSixtiethAndPresentPageTwoMillisecondsMore) {
    static uint8_t pixels[640 * 480 * 4];
    const Page page{pixels, 4};
    HeadlessSetClock(1.0 + 0.25 * kTick);
    DisplayPresent(page, 1);
    EXPECT_NEAR(HeadlessClock(), 61 * kTick, 1e-12);
    // Standing on a tick, the next present still waits a whole tick.
    for (int i = 0; i < 600; ++i)
        ASSERT_NEAR(ClockStep([&] { DisplayPresent(page, 1); }), kTick, 1e-9) << i;
    EXPECT_EQ(HeadlessPresentCount(), 601u);
    ASSERT_TRUE(OpenScreen(16, 0));
    HeadlessSetClock(2.0 + 0.5 * kTick);
    PresentPage();
    EXPECT_NEAR(HeadlessClock(), 121 * kTick + 0.002, 1e-9);
}

uint32_t ObservedPixel = 0;
void RecordCentrePixel(const Page &page) {
    const uint8_t *p = page.pixels + (240 * 640 + 320) * page.bytesPerPixel;
    ObservedPixel += p[0] | p[1] << 8 | p[2] << 16;
}

TEST(HeadlessClock, ObserverSeesEachPresentedPageUntilTurnedOff) {
    ASSERT_TRUE(OpenScreen(32, 0));
    HeadlessSetObserver(RecordCentrePixel);
    SetPages(1, 0);
    FillBox(300, 200, 340, 280, 0xC03010);
    PresentPage();
    HeadlessSetObserver(nullptr);
    PresentPage();
    EXPECT_EQ(ObservedPixel, 0xC03010u);
    EXPECT_EQ(HeadlessPresentCount(), 2u);
}

} // namespace
} // namespace halvane
