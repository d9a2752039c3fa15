// The frame meter: the game's own work per paced frame, from each WaitFrame's
// return to the next one's entry, on the real clock, with a backend's pauses
// (its uploads, sound and waits inside a frame) left out.
#include <gtest/gtest.h>

#include <array>
#include <chrono>

#include "core/game_state.h"
#include "platform/frame_work.h"
#include "platform/headless.h"
#include "platform/timing.h"

namespace halvane {
namespace {

// Real work that takes `ms` milliseconds of the real clock.
void BusyFor(double ms) {
    const auto until =
        std::chrono::steady_clock::now() + std::chrono::duration<double, std::milli>(ms);
    while (std::chrono::steady_clock::now() < until) {
    }
}

// A frame's body: busy `before` ms, then `paused` ms inside a pause (of
// `depth` nested pauses), then `after` ms.
struct FrameCase {
    double before, paused, after;
    int depth;
};

TEST(FrameWork, CountsTheTimeBetweenWaitFramesLessThePausesOfABackend) {
    HeadlessSetClock(100.0);
    TargetFps = 45;
    LastFrameTime = ClockSeconds();
    // Before the first WaitFrame no frame is open: nothing to pause or count.
    EXPECT_FALSE(PauseFrameWork());
    BusyFor(5);
    WaitFrame();
    EXPECT_EQ(FrameWorkSoFar().frames, 0);
    EXPECT_EQ(FrameWorkSoFar().seconds, 0.0);

    constexpr FrameCase kFrames[] = {
        {4, 0, 0, 0},  // plain work
        {2, 30, 2, 1}, // a wait inside the frame is not the game's
        {1, 30, 3, 2}, // nor is one inside a nested pause
        {0, 30, 4, 3}, // a pause at the frame's start
    };
    for (const FrameCase &f : kFrames) {
        const FrameWork before = FrameWorkSoFar();
        BusyFor(f.before);
        std::array<bool, 3> answers{};
        for (int level = 0; level < f.depth; ++level) {
            answers[static_cast<std::size_t>(level)] = PauseFrameWork();
            // Only the outermost pause stops a running meter.
            EXPECT_EQ(answers[static_cast<std::size_t>(level)], level == 0);
        }
        // Half the wait at the deepest pause, the rest as the inner pauses
        // end: the outer one still holds the meter.
        BusyFor(f.depth > 1 ? f.paused / 2 : f.paused);
        for (int level = f.depth - 1; level >= 1; --level) {
            ResumeFrameWork(answers[static_cast<std::size_t>(level)]);
            BusyFor(f.paused / 2 / (f.depth - 1));
        }
        if (f.depth > 0) ResumeFrameWork(answers[0]);
        BusyFor(f.after);
        WaitFrame();
        const FrameWork after = FrameWorkSoFar();
        const double workMs = f.before + f.after;
        EXPECT_EQ(after.frames, before.frames + 1) << f.before;
        EXPECT_GE((after.seconds - before.seconds) * 1000.0, workMs) << f.before;
        // Well under the 30 ms paused: only the work and the meter's readings.
        EXPECT_LT((after.seconds - before.seconds) * 1000.0, workMs + 15.0) << f.before;
    }
}

} // namespace
} // namespace halvane
