// The window's present path: one page converted, uploaded and drawn at scale
// 1 (a 640x480 window) and 2 (on a 1920x1080 desktop), without a window.
#ifdef HALVANE_BENCH_PRESENT
#include "bench/bench_util.h"
#include "platform/display_sdl.h"
#include "platform/screen.h"

namespace halvane {
namespace {

// Arguments: depth, scale.
void BM_PresentPage(benchmark::State &state) {
    OpenOffscreenPages(static_cast<int>(state.range(0)));
    const int bpp = ScreenBytesPerPixel();
    if (!OpenOffscreenPresent(bpp, static_cast<int>(state.range(1)))) {
        state.SkipWithError("SDL cannot make an off-screen renderer");
        return;
    }
    const uint8_t *page = PagePixels(0);
    TimeAgainstMemcpy(state, std::size_t{kScreenWidth} * kScreenHeight * bpp,
                      [&] { PresentOffscreen(page, bpp); });
    CloseOffscreenPresent();
}
BENCHMARK(BM_PresentPage)
    ->ArgNames({"depth", "scale"})
    ->ArgsProduct({{32, 16}, {1, 2}})
    ->UseManualTime();

} // namespace
} // namespace halvane
#endif
