// screen_image.cpp -- grabbing a rectangle of the work page into an Image and
// putting an Image back in the transparent, opaque and blend modes. The puts
// work row by row on plain arrays, so that the compiler can vectorise them.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "core/image.h"
#include "core/numbers.h"
#include "platform/screen.h"

namespace halvane {

namespace {

constexpr uint32_t kMask32 = 0xFF00FF; // magenta, compared in the low 24 bits
constexpr uint16_t kMask16 = 0xF81F;   // magenta in the 5-6-5 layout

// One clipped row of source and destination pixels; a row is never wider
// than the screen.
std::array<uint32_t, kScreenWidth> SourceRow32, DestRow32;
std::array<uint16_t, kScreenWidth> SourceRow16, DestRow16;

void TransparentRow32(int n) {
    for (int i = 0; i < n; ++i) {
        const uint32_t s = SourceRow32[i] & 0xFFFFFF;
        DestRow32[i] = s == kMask32 ? DestRow32[i] : s;
    }
}

void TransparentRow16(int n) {
    for (int i = 0; i < n; ++i) {
        const uint16_t s = SourceRow16[i];
        DestRow16[i] = s == kMask16 ? DestRow16[i] : s;
    }
}

// Each channel moves k/256 of the way from d to s, floored (an arithmetic
// shift floors negative differences too).
void BlendRow32(int n, int k) {
    for (int i = 0; i < n; ++i) {
        const uint32_t sp = SourceRow32[i], dp = DestRow32[i];
        const int sr = (sp >> 16) & 0xFF, sg = (sp >> 8) & 0xFF, sb = sp & 0xFF;
        const int dr = (dp >> 16) & 0xFF, dg = (dp >> 8) & 0xFF, db = dp & 0xFF;
        const int r = dr + (((sr - dr) * k) >> 8);
        const int g = dg + (((sg - dg) * k) >> 8);
        const int b = db + (((sb - db) * k) >> 8);
        const uint32_t mixed = (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
                               static_cast<uint32_t>(b);
        DestRow32[i] = (sp & 0xFFFFFF) == kMask32 ? dp : mixed;
    }
}

// The same in 5-6-5 with k/32.
void BlendRow16(int n, int k) {
    for (int i = 0; i < n; ++i) {
        const int sp = SourceRow16[i], dp = DestRow16[i];
        const int sr = sp >> 11, sg = (sp >> 5) & 0x3F, sb = sp & 0x1F;
        const int dr = dp >> 11, dg = (dp >> 5) & 0x3F, db = dp & 0x1F;
        const int r = dr + (((sr - dr) * k) >> 5);
        const int g = dg + (((sg - dg) * k) >> 5);
        const int b = db + (((sb - db) * k) >> 5);
        const uint16_t mixed = static_cast<uint16_t>((r << 11) | (g << 5) | b);
        DestRow16[i] = sp == kMask16 ? static_cast<uint16_t>(dp) : mixed;
    }
}

// Draws one clipped row of n pixels from `source` onto `dest`.
void PutRow(uint8_t *dest, const uint8_t *source, int n, int bpp, int mode, int opacity) {
    const std::size_t bytes = static_cast<std::size_t>(n) * bpp;
    if (mode == kPutOpaque) {
        std::memcpy(dest, source, bytes);
        return;
    }
    if (bpp == 4) {
        std::memcpy(SourceRow32.data(), source, bytes);
        std::memcpy(DestRow32.data(), dest, bytes);
        if (mode == kPutBlend)
            BlendRow32(n, opacity + 1);
        else
            TransparentRow32(n);
        std::memcpy(dest, DestRow32.data(), bytes);
    } else {
        std::memcpy(SourceRow16.data(), source, bytes);
        std::memcpy(DestRow16.data(), dest, bytes);
        if (mode == kPutBlend)
            BlendRow16(n, (opacity + 7) / 8);
        else
            TransparentRow16(n);
        std::memcpy(dest, DestRow16.data(), bytes);
    }
}

} // namespace

void GrabImage(float x1, float y1, float x2, float y2, std::span<uint8_t> image) {
    if (!ScreenIsOpen()) return;
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return;
    int left = RoundHalfAway(x1), right = RoundHalfAway(x2);
    int top = RoundHalfAway(y1), bottom = RoundHalfAway(y2);
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (left < 0 || top < 0 || right >= kScreenWidth || bottom >= kScreenHeight) return;

    const int bpp = ScreenBytesPerPixel();
    const int width = right - left + 1, height = bottom - top + 1;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bpp;
    // A buffer too small for the rectangle keeps its old contents rather than
    // being written past its end.
    if (image.size() < kImageHeaderBytes + rowBytes * height) return;

    WriteImageHeader(image, width, height, bpp);
    const uint8_t *page = PagePixels(WorkPageIndex());
    for (int row = 0; row < height; ++row) {
        const uint8_t *from =
            page + (std::size_t{kScreenWidth} * (top + row) + left) * static_cast<std::size_t>(bpp);
        std::memcpy(image.data() + kImageHeaderBytes + rowBytes * row, from, rowBytes);
    }
}

void PutImage(float x, float y, std::span<const uint8_t> image, int mode, int opacity) {
    if (!ScreenIsOpen() || !std::isfinite(x) || !std::isfinite(y)) return;
    if (mode == kPutBlend) {
        if (opacity <= 0) return;
        if (opacity >= 255) mode = kPutTransparent;
    } else if (mode != kPutTransparent && mode != kPutOpaque) {
        return;
    }

    const int bpp = ScreenBytesPerPixel();
    const ImageHeader header = ReadImageHeader(image);
    if (header.bytesPerPixel != 0 && header.bytesPerPixel != bpp) return;
    if (header.width == 0 || header.height == 0) return;
    const std::size_t rowBytes = static_cast<std::size_t>(header.width) * bpp;
    // A buffer cut short of the size its header claims is not read at all.
    if (image.size() < kImageHeaderBytes + rowBytes * header.height) return;

    // 64-bit edges: a position near the integer limits must not wrap around.
    const int64_t px = RoundHalfAway(x), py = RoundHalfAway(y);
    const int64_t left = std::max<int64_t>(px, 0);
    const int64_t right = std::min<int64_t>(px + header.width - 1, kScreenWidth - 1);
    const int64_t top = std::max<int64_t>(py, 0);
    const int64_t bottom = std::min<int64_t>(py + header.height - 1, kScreenHeight - 1);
    if (left > right || top > bottom) return;

    uint8_t *page = PagePixels(WorkPageIndex());
    const int n = static_cast<int>(right - left + 1);
    for (int64_t row = top; row <= bottom; ++row) {
        const uint8_t *source = image.data() + kImageHeaderBytes +
                                static_cast<std::size_t>(row - py) * rowBytes +
                                static_cast<std::size_t>(left - px) * bpp;
        uint8_t *dest =
            page +
            (static_cast<std::size_t>(row) * kScreenWidth + static_cast<std::size_t>(left)) * bpp;
        PutRow(dest, source, n, bpp, mode, opacity);
    }
    if (WorkPageIndex() == VisiblePageIndex()) MarkVisibleChanged();
}

} // namespace halvane
