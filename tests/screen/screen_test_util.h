// Helpers of the screen tests: raw pixels of the work page, counting, and
// small asymmetric test images.
#pragma once

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

// The raw stored value of a work-page pixel, in the page's own layout.
inline uint32_t RawPixel(int x, int y) {
    const int bpp = ScreenBytesPerPixel();
    const uint8_t *at = PagePixels(WorkPageIndex()) + (std::size_t{640} * y + x) * bpp;
    uint32_t value = 0;
    std::memcpy(&value, at, bpp);
    return value;
}

inline void SetRawPixel(int x, int y, uint32_t value) {
    const int bpp = ScreenBytesPerPixel();
    uint8_t *at = PagePixels(WorkPageIndex()) + (std::size_t{640} * y + x) * bpp;
    std::memcpy(at, &value, bpp);
}

// The pixels of the work page that are not zero, and their number.
using PixelSet = std::set<std::pair<int, int>>;
inline PixelSet LitPixels() {
    PixelSet lit;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            if (RawPixel(x, y) != 0) lit.insert({x, y});
    return lit;
}

inline int CountLitPixels() {
    int count = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            count += RawPixel(x, y) != 0;
    return count;
}

// An image of w x h at the screen's depth whose pixel (x, y) is pixel(x, y),
// given as a native value.
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

} // namespace halvane
