// Helpers of the screen tests: the stand-in display, raw work-page pixels and
// small test images at the screen's depth.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "core/image.h"
#include "platform/display.h"
#include "platform/screen.h"

namespace halvane {

// The stand-in display (display_standin.cpp).
extern bool StandInOpens;
extern int StandInOpenedBytesPerPixel;
extern bool StandInFullScreen;
extern int StandInPresentCount;
extern Page StandInLastPage;
extern uint32_t StandInLastChange;

// The stored value of a work-page pixel, in the page's own layout.
inline uint8_t *RawAt(int x, int y) {
    return PagePixels(WorkPageIndex()) + (std::size_t{640} * y + x) * ScreenBytesPerPixel();
}
inline uint32_t RawPixel(int x, int y) {
    uint32_t value = 0;
    std::memcpy(&value, RawAt(x, y), ScreenBytesPerPixel());
    return value;
}

using PixelSet = std::set<std::pair<int, int>>;
inline PixelSet LitPixels() {
    PixelSet lit;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (RawPixel(x, y) != 0) lit.insert({x, y});
    return lit;
}

// A w x h image at the screen's depth whose pixel (x, y) is the native pixel(x, y).
template <typename F> std::vector<uint8_t> MakeImage(int w, int h, F pixel) {
    const int bpp = ScreenBytesPerPixel();
    std::vector<uint8_t> image(4 + std::size_t(w) * h * bpp);
    WriteImageHeader(image, w, h, bpp);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t value = pixel(x, y);
            std::memcpy(image.data() + 4 + (std::size_t(y) * w + x) * bpp, &value, bpp);
        }
    return image;
}

// Each case runs at 16 and at 32 bits per pixel.
class ScreenAtDepth : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override { OpenOffscreenPages(GetParam()); }
    bool Wide() const { return GetParam() == 32; }
};

} // namespace halvane
