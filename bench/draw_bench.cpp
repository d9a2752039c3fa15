// Lines, a line of blended text, a picture file, and a whole play frame.
#include <cmath>
#include <cstdio>
#include <random>

#include "bench/bench_util.h"
#include "core/game_state.h"
#include "platform/image_file.h"
#include "platform/screen.h"
#include "render/font.h"
#include "render/models.h"
#include "render/terrain_view.h"
#include "world/objects.h"
#include "world/terrain.h"

namespace halvane {
namespace {

constexpr std::size_t kPage32 = std::size_t{kScreenWidth} * kScreenHeight * 4;

// 256 lines over a spread of lengths (1..800 pixels) and slopes; with
// `clipped`, every line starts or ends well off the page.
struct Segment {
    float x1, y1, x2, y2;
};
std::array<Segment, 256> Segments;
int SegmentPixels = 0;

void MakeSegments(bool clipped) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<float> unit(0, 1);
    SegmentPixels = 0;
    for (Segment &s : Segments) {
        const float length = 1 + 799 * unit(rng) * unit(rng);
        const float angle = 6.2831853f * unit(rng);
        s.x1 = clipped ? -200 + 1040 * unit(rng) : 320 + 300 * (unit(rng) - 0.5f);
        s.y1 = clipped ? -200 + 880 * unit(rng) : 240 + 220 * (unit(rng) - 0.5f);
        if (clipped && s.x1 >= 0 && s.x1 < 640 && s.y1 >= 0 && s.y1 < 480) s.x1 = -50;
        s.x2 = s.x1 + length * std::cos(angle);
        s.y2 = s.y1 + length * std::sin(angle);
        if (!clipped) {
            s.x2 = std::clamp(s.x2, 0.f, 639.f);
            s.y2 = std::clamp(s.y2, 0.f, 479.f);
        }
        SegmentPixels += static_cast<int>(std::max(std::abs(s.x2 - s.x1), std::abs(s.y2 - s.y1)));
    }
}

// Arguments: depth, clipped (1) or wholly on the page (0). The reference copy
// is of the bytes the lines would cover at most.
void BM_DrawLines(benchmark::State &state) {
    OpenOffscreenPages(static_cast<int>(state.range(0)));
    SetPages(1, 0);
    MakeSegments(state.range(1) != 0);
    const std::size_t bytes = std::size_t(SegmentPixels) * ScreenBytesPerPixel();
    TimeAgainstMemcpy(state, std::min(bytes, kPage32), [] {
        uint32_t colour = 0x40C080;
        for (const Segment &s : Segments)
            DrawLine(s.x1, s.y1, s.x2, s.y2, colour++);
    });
    state.counters["ns_per_line"] = benchmark::Counter(
        static_cast<double>(Segments.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DrawLines)
    ->ArgNames({"depth", "clipped"})
    ->ArgsProduct({{32, 16}, {0, 1}})
    ->UseManualTime();

bool FontLoaded(int depth) {
    OpenOffscreenPages(depth);
    SetPages(1, 0);
    return LoadFont("Graphics/zqfont.fnt", GameFont, kFontProportional);
}

// A 60-character line of text at opacity 128; the reference copy is of the
// bytes of its 640 x 23 band.
void BM_DrawTextBlended(benchmark::State &state) {
    if (!FontLoaded(static_cast<int>(state.range(0)))) {
        state.SkipWithError("Graphics/zqfont.fnt not found (run from the source tree)");
        return;
    }
    const char *line = "MISSION 3: THE CANYON OF GLASS - DESTROY THE REACTOR CORE!!";
    TimeAgainstMemcpy(state, std::size_t{kScreenWidth} * 23 * ScreenBytesPerPixel(),
                      [&] { DrawTextBlended(10, 200, line, GameFont, kTextSpacing, 128); });
}
BENCHMARK(BM_DrawTextBlended)->ArgName("depth")->Arg(32)->Arg(16)->UseManualTime();

void BM_LoadImageFile(benchmark::State &state) {
    OpenOffscreenPages(static_cast<int>(state.range(0)));
    SetPages(1, 0);
    if (std::FILE *probe = std::fopen("Graphics/mmenu.bgr", "rb"))
        std::fclose(probe);
    else {
        state.SkipWithError("Graphics/mmenu.bgr not found (run from the source tree)");
        return;
    }
    TimeAgainstMemcpy(state, std::size_t{kScreenWidth} * kScreenHeight * ScreenBytesPerPixel(),
                      [] { LoadImageFile("Graphics/mmenu.bgr"); });
}
BENCHMARK(BM_LoadImageFile)->ArgName("depth")->Arg(32)->Arg(16)->UseManualTime();

// Rolling hills under five ships, ten mines and four missiles, all in view,
// over a full-page background, as one frame of play draws them.
FullScreenImage Background;

void SetUpPlayField() {
    CraftModelScale = 0.1f;
    FillAngleTables();
    BuildCraftModels();
    BuildMineModel();
    BuildMissileModel();
    for (int r = 1; r <= kWindowLastRow; ++r)
        for (int c = kLeftColumn; c <= kRightColumn; ++c)
            TerrainDepth[r][c] = 5 + 2 * std::sin(0.7f * r + 0.5f * c) + 0.1f * c * c;
    for (int row = kMapFirstRow; row <= kMapLastRow; ++row)
        for (int c = kLeftColumn; c <= kRightColumn; ++c)
            LevelMap[c + 23][row] = static_cast<float>((row + c + 14) % 6);
    for (int i = 1; i <= kRegularShipSlots; ++i) {
        Ship[i] = {-5.0f + 2.5f * (i - 1), 4.5f + 3 * i, 3, kSlotActive};
        ShipRoll[i] = 4;
        ShipPitch[i] = 4;
    }
    for (int i = 1; i <= kMineSlots; ++i)
        Mine[i] = {-6.0f + 1.3f * (i - 1), 3.5f + 1.5f * i, 4, kSlotActive};
    for (int i = 1; i <= 4; ++i) {
        Missile[i] = {-1.0f + 0.7f * i, 3.5f + 2 * i, 3, kSlotActive};
        MissileDrop[i] = 0;
    }
    OptAltitudeMeter = 1;
    WriteImageHeader(Background, kScreenWidth, kScreenHeight, 4);
    for (int i = 0; i < kScreenWidth * kScreenHeight; ++i) {
        const uint32_t v = 0x102030u + static_cast<uint32_t>(i % 640) * 0x10101 / 16;
        std::memcpy(Background.data() + kImageHeaderBytes + i * 4, &v, 4);
    }
}

void BM_PlayFrame(benchmark::State &state) {
    OpenOffscreenPages(32);
    SetPages(1, 0);
    SetUpPlayField();
    TimeAgainstMemcpy(state, kPage32, [] {
        PutImage(0, 0, Background, kPutOpaque, 0);
        DrawScene();
        DrawCraftLayer();
    });
}
BENCHMARK(BM_PlayFrame)->UseManualTime();

} // namespace
} // namespace halvane

BENCHMARK_MAIN();
