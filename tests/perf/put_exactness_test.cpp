// The fast row code of the image puts against the per-pixel rules, written
// out plainly here: random pictures (with magenta, near-magenta and a random
// top byte), random opacities and positions, clipped on every side, at both
// depths, through the portable row code and through the widest one.
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

int FloorDiv(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// One source pixel s over destination d, by the rules of the put modes.
uint32_t Expected(uint32_t s, uint32_t d, int bpp, int mode, int opacity) {
    if (mode == kPutOpaque) return s;
    if (mode == kPutBlend && opacity == 0) return d;
    const bool mask = bpp == 4 ? (s & 0xFFFFFF) == 0xFF00FF : s == 0xF81F;
    if (mask) return d;
    if (mode == kPutTransparent || opacity == 255) return bpp == 4 ? s & 0xFFFFFF : s;
    if (bpp == 4) {
        const int k = opacity + 1;
        uint32_t out = 0;
        for (int shift : {0, 8, 16}) {
            const int sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
            out |= static_cast<uint32_t>(dc + FloorDiv((sc - dc) * k, 256)) << shift;
        }
        return out;
    }
    const int k = (opacity + 7) / 8;
    uint32_t out = 0;
    for (auto [shift, bits] : {std::pair{0, 0x1F}, {5, 0x3F}, {11, 0x1F}}) {
        const int sc = (s >> shift) & bits, dc = (d >> shift) & bits;
        out |= static_cast<uint32_t>(dc + FloorDiv((sc - dc) * k, 32)) << shift;
    }
    return out;
}

uint32_t PixelAt(const uint8_t *at, int bpp) {
    uint32_t v = 0;
    std::memcpy(&v, at, bpp);
    return v;
}

// A random pixel, a third of them the mask colour or one bit away from it.
uint32_t RandomPixel(std::mt19937 &rng, int bpp) {
    const uint32_t r = rng();
    const uint32_t mask = bpp == 4 ? 0xFF00FF | (r & 0xFF000000) : 0xF81F;
    switch (r % 6) {
    case 0:
        return mask;
    case 1:
        return mask ^ (1u << (rng() % (bpp == 4 ? 24 : 16)));
    default:
        return bpp == 4 ? rng() : rng() & 0xFFFF;
    }
}

ImageBuffer<kW + 60, kH> Picture;
std::array<uint8_t, kW * kH * 4> Before;

// Puts random pictures at random places and checks every pixel of the page.
void CheckRandomPuts(int depth, bool wide, unsigned seed) {
    OpenOffscreenPages(depth);
    UseWidePutRows(wide);
    const int bpp = ScreenBytesPerPixel();
    std::mt19937 rng(seed);
    uint8_t *page = PagePixels(WorkPageIndex());
    for (int trial = 0; trial < 60; ++trial) {
        for (int i = 0; i < kW * kH; ++i) {
            const uint32_t v = RandomPixel(rng, bpp);
            std::memcpy(page + i * bpp, &v, bpp);
        }
        // Widths across the vector steps' remainders, up to wider than the page.
        const int w = trial == 0 ? kW : 1 + static_cast<int>(rng() % (kW + 60));
        const int h = trial == 0 ? 1 : 1 + static_cast<int>(rng() % 200);
        WriteImageHeader(Picture, w, h, bpp);
        for (int i = 0; i < w * h; ++i) {
            const uint32_t v = RandomPixel(rng, bpp);
            std::memcpy(Picture.data() + kImageHeaderBytes + i * bpp, &v, bpp);
        }
        const int x = static_cast<int>(rng() % (kW + 2 * w)) - w;
        const int y = static_cast<int>(rng() % (kH + 2 * h)) - h;
        const int mode = std::array{kPutTransparent, kPutOpaque, kPutBlend, kPutBlend}[rng() % 4];
        const int opacity = std::array{0, 1, 7, 8, 9, 128, 254, 255}[rng() % 8] + 0 * trial;
        const int anyOpacity = rng() % 3 == 0 ? static_cast<int>(rng() % 256) : opacity;
        std::memcpy(Before.data(), page, static_cast<std::size_t>(kW) * kH * bpp);

        PutImage(static_cast<float>(x), static_cast<float>(y), Picture, mode, anyOpacity);

        for (int py = 0; py < kH; ++py)
            for (int px = 0; px < kW; ++px) {
                const std::size_t at = (static_cast<std::size_t>(py) * kW + px) * bpp;
                const uint32_t d = PixelAt(Before.data() + at, bpp);
                uint32_t want = d;
                if (px >= x && px < x + w && py >= y && py < y + h) {
                    const uint32_t s =
                        PixelAt(Picture.data() + kImageHeaderBytes +
                                    (static_cast<std::size_t>(py - y) * w + (px - x)) * bpp,
                                bpp);
                    want = Expected(s, d, bpp, mode, anyOpacity);
                }
                const uint32_t got = PixelAt(page + at, bpp);
                if (got != want) {
                    ADD_FAILURE() << PutRowsName() << " depth " << depth << " trial " << trial
                                  << " mode " << mode << " opacity " << anyOpacity << " image " << w
                                  << "x" << h << " at " << x << "," << y << ": pixel " << px << ","
                                  << py << " is " << std::hex << got << ", not " << want
                                  << " (s over " << d << ")";
                    return;
                }
            }
    }
}

TEST(PutExactness, PortableRowsFollowThePixelRulesAt32Bits) {
    CheckRandomPuts(32, false, 1);
}

TEST(PutExactness, PortableRowsFollowThePixelRulesAt16Bits) {
    CheckRandomPuts(16, false, 2);
}

TEST(PutExactness, WideRowsFollowThePixelRulesAt32Bits) {
    CheckRandomPuts(32, true, 3);
}

TEST(PutExactness, WideRowsFollowThePixelRulesAt16Bits) {
    CheckRandomPuts(16, true, 4);
}

// Every pair of channel values at every weight, through a full-width row so
// that the vector steps (not only the ends of rows) see them all.
TEST(PutExactness, EveryChannelPairAtEveryOpacityBlendsExactly) {
    for (bool wide : {false, true})
        for (int depth : {32, 16}) {
            OpenOffscreenPages(depth);
            UseWidePutRows(wide);
            const int bpp = ScreenBytesPerPixel();
            const int levels = bpp == 4 ? 256 : 64;
            WriteImageHeader(Picture, kW, levels, bpp);
            uint8_t *page = PagePixels(WorkPageIndex());
            for (int opacity = 1; opacity < 255; ++opacity) {
                // Row s, column d (repeated): channel values s and d in every channel.
                for (int s = 0; s < levels; ++s)
                    for (int x = 0; x < kW; ++x) {
                        const int d = x % levels;
                        const uint32_t sv =
                            bpp == 4 ? s * 0x010101u : ((s >> 1) << 11) | (s << 5) | (s >> 1);
                        const uint32_t dv =
                            bpp == 4 ? d * 0x010101u : ((d >> 1) << 11) | (d << 5) | (d >> 1);
                        std::memcpy(Picture.data() + kImageHeaderBytes +
                                        (static_cast<std::size_t>(s) * kW + x) * bpp,
                                    &sv, bpp);
                        std::memcpy(page + (static_cast<std::size_t>(s) * kW + x) * bpp, &dv, bpp);
                    }
                std::memcpy(Before.data(), page, static_cast<std::size_t>(kW) * levels * bpp);
                PutImage(0, 0, Picture, kPutBlend, opacity);
                for (int s = 0; s < levels; ++s)
                    for (int x = 0; x < kW; ++x) {
                        const std::size_t at = (static_cast<std::size_t>(s) * kW + x) * bpp;
                        const uint32_t sv = PixelAt(Picture.data() + kImageHeaderBytes + at, bpp);
                        const uint32_t want =
                            Expected(sv, PixelAt(Before.data() + at, bpp), bpp, kPutBlend, opacity);
                        ASSERT_EQ(PixelAt(page + at, bpp), want)
                            << PutRowsName() << " depth " << depth << " opacity " << opacity
                            << " s " << s << " x " << x;
                    }
            }
        }
}

// Whole pages copied block by block: only what differs is written, and the
// result is the source exactly, whatever the differences' places and sizes.
TEST(PutExactness, ChangedBlockCopiesMakeTheSourceAndSayWhetherAnythingChanged) {
    static std::array<uint8_t, kW * kH * 4> source, dest;
    std::mt19937 rng(5);
    for (bool wide : {false, true}) {
        UseWidePutRows(wide);
        for (int trial = 0; trial < 40; ++trial) {
            for (auto &b : source)
                b = static_cast<uint8_t>(rng());
            dest = source;
            // Lengths around the block size, odd starts and ends.
            const std::size_t bytes = trial == 0 ? dest.size() : 1 + rng() % dest.size();
            const int differences = static_cast<int>(rng() % 4);
            for (int i = 0; i < differences; ++i)
                dest[rng() % bytes] ^= static_cast<uint8_t>(1 + rng() % 255);
            const bool differed = std::memcmp(dest.data(), source.data(), bytes) != 0;
            // The byte after the copy differs from the source and must stay.
            if (bytes < dest.size()) dest[bytes] = static_cast<uint8_t>(source[bytes] ^ 0x5A);
            EXPECT_EQ(CopyChangedPixels(dest.data(), source.data(), bytes), differed)
                << PutRowsName() << " trial " << trial;
            ASSERT_EQ(std::memcmp(dest.data(), source.data(), bytes), 0)
                << PutRowsName() << " trial " << trial;
            if (bytes < dest.size()) {
                EXPECT_EQ(dest[bytes], source[bytes] ^ 0x5A) << trial;
            }
        }
    }
}

// A page copied again unchanged does not count as a change for the display;
// a full-page opaque put over a page that differs in one pixel draws it.
TEST(PutExactness, UnchangedPageCopiesLeaveTheChangeCountAlone) {
    OpenOffscreenPages(32);
    SetPages(1, 0);
    FillBox(10, 10, 20, 20, 0x123456);
    CopyWorkPage();
    const uint32_t count = VisibleChangeCount();
    CopyWorkPage();
    EXPECT_EQ(VisibleChangeCount(), count);
    GrabImage(0, 0, kW - 1, kH - 1, Picture);
    FillBox(639, 479, 639, 479, 0xFFFFFF);
    PutImage(0, 0, Picture, kPutOpaque, 0);
    EXPECT_EQ(ReadPixel(639, 479), 0);
    EXPECT_EQ(ReadPixel(15, 15), 0x123456);
    FillBox(0, 0, 0, 0, 1);
    CopyWorkPage();
    EXPECT_NE(VisibleChangeCount(), count);
    SetPages(0, 0);
    EXPECT_EQ(ReadPixel(0, 0), 1);
}

} // namespace
} // namespace halvane
