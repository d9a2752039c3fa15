// bench_util.h -- what the drawing benchmarks share: every figure is timed
// against a memcpy of the same number of bytes in the same run, one after the
// other in each iteration, so that a busy machine slows both alike.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>

#include "core/image.h"

namespace halvane {

// Two buffers of a 32-bit page for the reference copy.
inline std::array<uint8_t, kScreenWidth * kScreenHeight * 4> CopyFrom, CopyTo;

// Copies `bytes` through the reference buffers, a page's worth at a time.
inline void CopyBytes(std::size_t bytes) {
    for (std::size_t done = 0; done < bytes; done += CopyFrom.size()) {
        std::memcpy(CopyTo.data(), CopyFrom.data(), std::min(CopyFrom.size(), bytes - done));
        benchmark::ClobberMemory();
    }
}

// Times `op` per iteration and a memcpy of `bytes` beside it; the benchmark's
// time is the operation's, the counter "x_memcpy" the ratio of the two.
template <typename Op> void TimeAgainstMemcpy(benchmark::State &state, std::size_t bytes, Op op) {
    using Clock = std::chrono::steady_clock;
    double opSeconds = 0, copySeconds = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        op();
        benchmark::ClobberMemory();
        const auto t1 = Clock::now();
        CopyBytes(bytes);
        const auto t2 = Clock::now();
        const double once = std::chrono::duration<double>(t1 - t0).count();
        state.SetIterationTime(once);
        opSeconds += once;
        copySeconds += std::chrono::duration<double>(t2 - t1).count();
    }
    state.counters["x_memcpy"] = opSeconds / copySeconds;
    state.counters["memcpy_us"] = copySeconds * 1e6 / static_cast<double>(state.iterations());
    state.counters["ms"] = opSeconds * 1e3 / static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

} // namespace halvane
