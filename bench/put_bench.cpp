// Full-page puts in each mode and clearing a page, at both depths, through the
// widest row code and the portable one.
#include <random>

#include "bench/bench_util.h"
#include "platform/put_paths.h"
#include "platform/screen.h"

namespace halvane {
namespace {

// Two pages of noise with every other pixel magenta (the transparent put's
// worst case: no run of either kind for a branch to learn), put in turn so
// that every put changes every pixel.
std::array<FullScreenImage, 2> Pictures;

void FillPictures(int bpp) {
    std::mt19937 rng(7);
    for (FullScreenImage &picture : Pictures) {
        WriteImageHeader(picture, kScreenWidth, kScreenHeight, bpp);
        for (int i = 0; i < kScreenWidth * kScreenHeight; ++i) {
            uint32_t v = rng();
            if (i % 2 == 1) v = bpp == 4 ? 0xFF00FF : 0xF81F;
            std::memcpy(picture.data() + kImageHeaderBytes + i * bpp, &v, bpp);
        }
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
    FillPictures(bpp);
    state.SetLabel(PutRowsName());
    int turn = 0;
    TimeAgainstMemcpy(state, std::size_t{kScreenWidth} * kScreenHeight * bpp,
                      [&] { PutImage(0, 0, Pictures[turn ^= 1], mode, 128); });
}
BENCHMARK(BM_PutFullPage)
    ->ArgNames({"depth", "mode", "wide"})
    ->ArgsProduct({{32, 16}, {1, 0, 6}, {1, 0}})
    ->UseManualTime();

// CopyWorkPage of a page that changed, and of one that did not (still
// screens copy the same page at every pass).
void BM_CopyWorkPage(benchmark::State &state) {
    OpenOffscreenPages(static_cast<int>(state.range(0)));
    UseWidePutRows(true);
    const int bpp = ScreenBytesPerPixel();
    FillPictures(bpp);
    const bool changing = state.range(1) != 0;
    int turn = 0;
    TimeAgainstMemcpy(state, std::size_t{kScreenWidth} * kScreenHeight * bpp, [&] {
        SetPages(1, 0);
        if (changing) PutImage(0, 0, Pictures[turn ^= 1], kPutOpaque, 0);
        CopyWorkPage();
    });
}
BENCHMARK(BM_CopyWorkPage)
    ->ArgNames({"depth", "changed"})
    ->ArgsProduct({{32, 16}, {0, 1}})
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
