// What recording costs the game per frame of play: the events of one frame
// (the clock, the mouse, the keys the flight polls, the frame's wait) handed
// to the recorder, a page hash every 16th frame and a compressed chunk written
// every 22nd (twice a second at TURBO's 45 frames), into /dev/null. The input
// moves as a player's does, so the compression works as hard as in play.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>

#include "platform/replay.h"
#include "platform/screen.h"

namespace halvane {
namespace {

constexpr int kFramesPerFlush = 22;

void BM_RecordFrameOfPlay(benchmark::State &state) {
    static bool started = false;
    if (!started) {
        OpenOffscreenPages(32);
        if (!StartRecording("/dev/null", "bench")) {
            state.SkipWithError("the recorder did not start");
            return;
        }
        RecordScreenOpen(32, 0, true);
        started = true;
    }
    // A small generator of the player's hand: the pointer wanders, Space is
    // held now and then, frames end 22.2 ms apart give or take a little.
    uint32_t seed = 12345;
    const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    double now = 1000.0;
    int x = 310, y = 200, frame = 0;
    for (auto _ : state) {
        RecordClock(now + 0.0013);
        x = std::clamp(x + static_cast<int>(next() % 9) - 4, 0, 639);
        y = std::clamp(y + static_cast<int>(next() % 7) - 3, 0, 479);
        RecordMouse(true, x, y, 0, (next() % 8 == 0) ? 4 : 0);
        const bool firing = (frame / 30) % 2 == 0;
        for (int key : {33, 28, 57, 46, 47})
            RecordKeyDown(key, firing && key == 57);
        now += 1.0 / 45 + (static_cast<int>(next() % 200) - 100) * 1e-6;
        RecordWait(ReplayEvent::WaitFrame, 0, now);
        ReplayPagePresented();
        RecordKeyDown(31, false);
        RecordKeyDown(1, false);
        if (++frame % kFramesPerFlush == 0) FlushRecording();
    }
    state.counters["us_per_frame"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 1e-6,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RecordFrameOfPlay);

} // namespace
} // namespace halvane
