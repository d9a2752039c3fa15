// The fast row code of the image puts and page copies against the per-pixel
// rules written out plainly here, at both depths, portable and widest.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>

#include "core/image.h"
#include "platform/put_paths.h"
#include "platform/screen.h"

namespace halvane {
namespace {

constexpr int kW = kScreenWidth, kH = kScreenHeight;

// One source pixel s over destination d, by the rules of the put modes.
uint32_t Expected(uint32_t s, uint32_t d, int bpp, int mode, int opacity) {
    if (mode == kPutOpaque) return s;
    if (mode == kPutBlend && opacity == 0) return d;
    const bool mask = bpp == 4 ? (s & 0xFFFFFF) == 0xFF00FF : s == 0xF81F;
    if (mask) return d;
    if (mode == kPutTransparent || opacity == 255) return bpp == 4 ? s & 0xFFFFFF : s;
    // Weights out of 256 (32 at 16 bits); the blend rounds towards minus infinity.
    const int k = bpp == 4 ? opacity + 1 : (opacity + 7) / 8, scale = bpp == 4 ? 8 : 5;
    uint32_t out = 0;
    for (int c = 0; c < 3; ++c) {
        const int shift = bpp == 4 ? 8 * c : std::array{0, 5, 11}[c];
        const int bits = bpp == 4 ? 0xFF : c == 1 ? 0x3F : 0x1F;
        const int sc = (s >> shift) & bits, dc = (d >> shift) & bits;
        out |= uint32_t(dc + ((sc - dc) * k >> scale)) << shift;
    }
    return out;
}

uint32_t PixelAt(const uint8_t *at, int bpp) {
    uint32_t v = 0;
    std::memcpy(&v, at, bpp);
    return v;
}

// Random pixels, a third of them the mask colour or one bit away from it
// (at 32 bits with a random top byte).
void FillRandomly(uint8_t *pixels, int count, std::mt19937 &rng, int bpp) {
    for (int i = 0; i < count; ++i) {
        const uint32_t r = rng();
        const uint32_t mask = bpp == 4 ? 0xFF00FF | (r & 0xFF000000) : 0xF81F;
        uint32_t v = bpp == 4 ? rng() : rng() & 0xFFFF;
        if (r % 6 < 2) v = r % 6 == 0 ? mask : mask ^ (1u << (rng() % (bpp == 4 ? 24 : 16)));
        std::memcpy(pixels + i * bpp, &v, bpp);
    }
}

ImageBuffer<kW + 60, kH> Picture;
std::array<uint8_t, kW * kH * 4> Before;

// Puts the w x h Picture at (x, y) over the work page and checks every pixel
// of the page against the rules; false (with a failure) at the first wrong one.
bool PutMatchesTheRules(int x, int y, int w, int h, int mode, int opacity) {
    const int bpp = ScreenBytesPerPixel();
    const uint8_t *page = PagePixels(WorkPageIndex());
    std::memcpy(Before.data(), page, std::size_t(kW) * kH * bpp);
    PutImage(float(x), float(y), Picture, mode, opacity);
    for (int py = 0; py < kH; ++py) {
        const std::size_t row = std::size_t(py) * kW * bpp;
        if ((py < y || py >= y + h) && std::memcmp(page + row, Before.data() + row, kW * bpp) == 0)
            continue; // a row the picture does not reach, untouched
        for (int px = 0; px < kW; ++px) {
            const std::size_t at = (std::size_t(py) * kW + px) * bpp;
            const uint32_t d = PixelAt(Before.data() + at, bpp);
            uint32_t want = d;
            if (px >= x && px < x + w && py >= y && py < y + h) {
                const std::size_t from = (std::size_t(py - y) * w + (px - x)) * bpp;
                want = Expected(PixelAt(Picture.data() + kImageHeaderBytes + from, bpp), d, bpp,
                                mode, opacity);
            }
            if (PixelAt(page + at, bpp) != want) {
                ADD_FAILURE() << PutRowsName() << ", " << bpp * 8 << " bits, mode " << mode
                              << " opacity " << opacity << ", " << w << "x" << h << " at " << x
                              << "," << y << ": pixel " << px << "," << py << " wrong";
                return false;
            }
        }
    }
    return true;
}

// Random pictures at random places, clipped on every side, with random
// modes and opacities; then every pair of channel values at every weight,
// through full-width rows so that the vector steps (not only the ends of
// rows) see them all.
TEST(PutExactness, EveryRowCodeFollowsThePixelRulesAtBothDepths) {
    std::mt19937 rng(1);
    for (bool wide : {false, true})
        for (int depth : {32, 16}) {
            OpenOffscreenPages(depth);
            UseWidePutRows(wide);
            const int bpp = ScreenBytesPerPixel();
            uint8_t *page = PagePixels(WorkPageIndex());
            uint8_t *picture = Picture.data() + kImageHeaderBytes;
            for (int trial = 0; trial < 60; ++trial) {
                FillRandomly(page, kW * kH, rng, bpp);
                // Widths across the vector steps' remainders, up to wider than the page.
                const int w = trial == 0 ? kW : 1 + int(rng() % (kW + 60));
                const int h = trial == 0 ? 1 : 1 + int(rng() % 200);
                WriteImageHeader(Picture, w, h, bpp);
                FillRandomly(picture, w * h, rng, bpp);
                const int x = int(rng() % (kW + 2 * w)) - w;
                const int y = int(rng() % (kH + 2 * h)) - h;
                const int mode =
                    std::array{kPutTransparent, kPutOpaque, kPutBlend, kPutBlend}[rng() % 4];
                const int opacity = rng() % 3 == 0
                                        ? int(rng() % 256)
                                        : std::array{0, 1, 7, 8, 9, 128, 254, 255}[rng() % 8];
                ASSERT_TRUE(PutMatchesTheRules(x, y, w, h, mode, opacity)) << "trial " << trial;
            }
            // Row s, column x: source s over destination x % levels in every channel.
            const int levels = bpp == 4 ? 256 : 64;
            auto grey = [bpp](int c) {
                return bpp == 4 ? c * 0x010101u : ((c >> 1) << 11) | (c << 5) | (c >> 1);
            };
            WriteImageHeader(Picture, kW, levels, bpp);
            for (int opacity = 1; opacity < 255; ++opacity) {
                for (int i = 0; i < kW * levels; ++i) {
                    const uint32_t sv = grey(i / kW), dv = grey(i % kW % levels);
                    std::memcpy(picture + i * bpp, &sv, bpp);
                    std::memcpy(page + i * bpp, &dv, bpp);
                }
                ASSERT_TRUE(PutMatchesTheRules(0, 0, kW, levels, kPutBlend, opacity));
            }
        }
}

// Whole pages copied block by block: only what differs is written, and the
// result is the source exactly, whatever the differences' places and sizes.
TEST(PutExactness, ChangedBlockCopiesMakeTheSourceAndCountOnlyChanges) {
    static std::array<uint8_t, kW * kH * 4 + 1> source, dest; // a guard byte after a page
    std::mt19937 rng(5);
    for (bool wide : {false, true}) {
        UseWidePutRows(wide);
        for (int trial = 0; trial < 40; ++trial) {
            for (auto &b : source)
                b = uint8_t(rng());
            dest = source;
            // Whole blocks and a rest of 1 to 256 bytes, every other time a short one.
            const std::size_t rest = 1 + (trial % 2 == 1 ? trial % 7 : rng() % 256);
            const std::size_t bytes = trial == 0 ? kW * kH * 4 : rng() % 4800 * 256 + rest;
            for (int i = int(rng() % 4); i > 0; --i)
                dest[rng() % bytes] ^= uint8_t(1 + rng() % 255);
            dest[bytes - 1] ^= trial % 4 < 2; // the rest's last byte
            const bool differed = std::memcmp(dest.data(), source.data(), bytes) != 0;
            // The byte after the copy differs from the source and must stay.
            dest[bytes] = uint8_t(source[bytes] ^ 0x5A);
            SCOPED_TRACE(std::string(PutRowsName()) + " trial " + std::to_string(trial));
            EXPECT_EQ(CopyChangedPixels(dest.data(), source.data(), bytes), differed);
            ASSERT_EQ(std::memcmp(dest.data(), source.data(), bytes), 0);
            EXPECT_EQ(dest[bytes], source[bytes] ^ 0x5A);
        }
    }
    // A page copied again unchanged does not count as a change for the display.
    OpenOffscreenPages(32);
    SetPages(1, 0);
    FillBox(10, 10, 20, 20, 0x123456);
    CopyWorkPage();
    const uint32_t count = VisibleChangeCount();
    CopyWorkPage();
    EXPECT_EQ(VisibleChangeCount(), count); // a changed copy counts: see the screen tests
}

} // namespace
} // namespace halvane
