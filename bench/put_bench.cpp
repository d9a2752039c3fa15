// Full-page puts in each mode and clearing a page, at both depths, through the
// widest row code and the portable one.
#include <random>

#include "bench/bench_util.h"
#include "platform/put_paths.h"
#include "platform/screen.h"

namespace halvane {
namespace {

FullScreenImage Picture;

// A page of noise with every other pixel magenta (the transparent put's
// worst case: no run of either kind for a branch to learn).
void FillPicture(int bpp) {
    std::mt19937 rng(7);
    WriteImageHeader(Picture, kScreenWidth, kScreenHeight, bpp);
    for (int i = 0; i < kScreenWidth * kScreenHeight; ++i) {
        uint32_t v = rng();
        if (i % 2 == 1) v = bpp == 4 ? 0xFF00FF : 0xF81F;
        std::memcpy(Picture.data() + kImageHeaderBytes + i * bpp, &v, bpp);
    }
}

// Arguments: depth (32 or 16), mode (1, 0, 6), wide row code (1) or not (0).
void BM_PutFullPage(benchmark::State &state) {
    const int depth = static_cast<int>(state.range(0));
    const int mode = static_cast<int>(state.range(1));
    OpenOffscreenPages(depth);
    SetPages(1, 0);
    UseWidePutRows(state.range(2) != 0);
    const int bpp = ScreenBytesPerPixel();
    FillPicture(bpp);
    state.SetLabel(PutRowsName());
    TimeAgainstMemcpy(state, std::size_t{kScreenWidth} * kScreenHeight * bpp,
                      [&] { PutImage(0, 0, Picture, mode, 128); });
}
BENCHMARK(BM_PutFullPage)
    ->ArgNames({"depth", "mode", "wide"})
    ->ArgsProduct({{32, 16}, {1, 0, 6}, {1, 0}})
    ->UseManualTime();

void BM_ClearWorkPage(benchmark::State &state) {
    const int depth = static_cast<int>(state.range(0));
    OpenOffscreenPages(depth);
    SetPages(1, 0);
    TimeAgainstMemcpy(state, std::size_t{kScreenWidth} * kScreenHeight * ScreenBytesPerPixel(),
                      [] { ClearWorkPage(); });
}
BENCHMARK(BM_ClearWorkPage)->ArgName("depth")->Arg(32)->Arg(16)->UseManualTime();

} // namespace
} // namespace halvane
