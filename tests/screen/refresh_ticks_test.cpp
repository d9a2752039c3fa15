// The window's refreshes out of view: a game idling there must still get its
// 60 refreshes a second, each no earlier than due, while waking a third as
// often; and a stretch without presents or of slow passes must not be made up
// for by a burst.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/refresh_ticks.h"

namespace halvane {
namespace {

struct Idling {
    double now = 1000.0;
    double lastTick = 1000.0;
    int presents = 0;
    int wakes = 0;
    int mostAtOnce = 0; // presents in a row that did not sleep
};

// Passes of `passSeconds` of work each, every one ending in a present with
// `restSeconds` after it, for `seconds` of clock; sleeps end 0.1 ms late.
void Idle(Idling &run, double seconds, double passSeconds, double restSeconds) {
    const double end = run.now + seconds;
    int atOnce = 0;
    while (run.now < end) {
        run.now += passSeconds;
        const TickWait wait = HiddenTickWait(run.lastTick, run.now, restSeconds);
        ASSERT_GT(wait.tick, run.lastTick);
        run.lastTick = wait.tick;
        if (wait.wakeAt > run.now) {
            run.now = wait.wakeAt + 0.0001;
            ++run.wakes;
            atOnce = 0;
        } else {
            run.mostAtOnce = std::max(run.mostAtOnce, ++atOnce);
        }
        // The refresh and the rest after it are over when the present returns.
        ASSERT_GE(run.now + 1e-9, wait.tick + restSeconds);
        ++run.presents;
    }
}

TEST(RefreshTicks, OutOfViewKeepsTheRateAndWakesAThirdAsOften) {
    for (const double rest : {0.0, 0.002}) {
        SCOPED_TRACE(rest);
        Idling run;
        Idle(run, 10.0, 0.0002, rest);
        EXPECT_NEAR(run.presents, 600, 3);
        EXPECT_NEAR(run.wakes, 600 / kHiddenTicksAtOnce, 2);
        EXPECT_LE(run.mostAtOnce, kHiddenTicksAtOnce - 1);
    }
}

TEST(RefreshTicks, NoBurstAfterALongPauseOrSlowPasses) {
    Idling run;
    Idle(run, 1.0, 0.0002, 0.002);
    // Two seconds of play paced by the clock, without a present.
    run.now += 2.0;
    const int before = run.presents;
    Idle(run, 1.0, 0.0002, 0.002);
    EXPECT_NEAR(run.presents - before, 60, 3);
    EXPECT_LE(run.mostAtOnce, kHiddenTicksAtOnce);

    // Passes slower than a refresh fall behind, and are not hurried after.
    Idle(run, 2.0, 0.030, 0.002);
    const int slowEnd = run.presents;
    run.mostAtOnce = 0;
    Idle(run, 1.0, 0.0002, 0.002);
    EXPECT_LE(run.presents - slowEnd, 63);
    EXPECT_LE(run.mostAtOnce, kHiddenTicksAtOnce);
}

TEST(RefreshTicks, NextTickIsStrictlyLater) {
    for (int k = 0; k < 200000; k += 7) {
        const double onTick = k * kTickSeconds;
        for (const double now : {onTick, std::nextafter(onTick, 0.0), onTick + 1e-7}) {
            const double next = NextTick(now);
            ASSERT_GT(next, now) << k;
            ASSERT_LE(next - now, kTickSeconds + 1e-9) << k;
        }
    }
}

} // namespace
} // namespace halvane
