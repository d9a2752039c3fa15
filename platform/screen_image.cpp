// screen_image.cpp -- grabbing a rectangle of the work page into an Image and
// putting an Image back in the transparent, opaque and blend modes. The puts
// work a row at a time straight on the page, several pixels per step in
// vector registers; the same row code is built for the portable target and,
// on x86-64, for AVX2 and AVX-512, and the widest the CPU runs is used.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "core/image.h"
#include "core/numbers.h"
#include "platform/put_paths.h"
#include "platform/screen.h"

namespace halvane {

namespace {

constexpr uint32_t kMask32 = 0xFF00FF; // magenta, compared in the low 24 bits
constexpr uint16_t kMask16 = 0xF81F;   // magenta in the 5-6-5 layout

// --- one pixel, for the ends of rows -------------------------------------

// Each channel moves k/256 of the way from d to s, floored. Since
// d + floor((s - d) k / 256) = floor((d (256 - k) + s k) / 256) and the sum
// is never negative, the whole blend is two products and a shift per
// channel, which fits 16-bit lanes (at most 255 * 256).
inline uint32_t BlendPixel32(uint32_t s, uint32_t d, uint32_t k) {
    if ((s & 0xFFFFFF) == kMask32) return d;
    const uint32_t inv = 256 - k;
    const uint32_t rb = (((d & 0xFF00FF) * inv + (s & 0xFF00FF) * k) >> 8) & 0xFF00FF;
    const uint32_t g = ((d & 0xFF00) * inv + (s & 0xFF00) * k) >> 8 & 0xFF00;
    return rb | g;
}

// The same in 5-6-5 with k/32 (at most 63 * 32 per channel).
inline uint16_t BlendPixel16(uint16_t s, uint16_t d, uint32_t k) {
    if (s == kMask16) return d;
    const uint32_t inv = 32 - k;
    const uint32_t r = ((d >> 11) * inv + (s >> 11) * k) >> 5;
    const uint32_t g = (((d >> 5) & 0x3F) * inv + ((s >> 5) & 0x3F) * k) >> 5;
    const uint32_t b = ((d & 0x1F) * inv + (s & 0x1F) * k) >> 5;
    return static_cast<uint16_t>((r << 11) | (g << 5) | b);
}

// --- whole rows, Bytes bytes of pixels per step ---------------------------
// Written with the compiler's generic vectors, so the same source is exact
// at every width and on every target; the pixels of a row that do not fill
// a step go one at a time. A C-style cast between vectors of one size keeps
// the bits (the compiler's vector rule), which is how lanes are regrouped.

template <int Bytes> struct Lanes {
    typedef uint32_t U32 __attribute__((vector_size(Bytes)));
    typedef int32_t S32 __attribute__((vector_size(Bytes)));
    typedef uint16_t U16 __attribute__((vector_size(Bytes)));
    typedef uint64_t U64 __attribute__((vector_size(Bytes)));
    typedef int16_t S16 __attribute__((vector_size(Bytes)));
};

template <typename V> [[gnu::always_inline]] inline void Load(V &v, const void *from) {
    std::memcpy(&v, from, sizeof v);
}

template <typename V> [[gnu::always_inline]] inline void Store(void *to, V v) {
    std::memcpy(to, &v, sizeof v);
}

template <int Bytes>
[[gnu::always_inline]] inline void TransparentRow32(uint8_t *dest, const uint8_t *source, int n) {
    using U32 = typename Lanes<Bytes>::U32;
    constexpr int kStep = Bytes / 4;
    int i = 0;
    for (; i + kStep <= n; i += kStep) {
        U32 s;
        Load(s, source + i * 4);
        s &= 0xFFFFFF;
        U32 d;
        Load(d, dest + i * 4);
        const U32 skip = (U32)(s == kMask32);
        Store(dest + i * 4, (d & skip) | (s & ~skip));
    }
    for (; i < n; ++i) {
        uint32_t s;
        std::memcpy(&s, source + i * 4, 4);
        s &= 0xFFFFFF;
        if (s != kMask32) std::memcpy(dest + i * 4, &s, 4);
    }
}

template <int Bytes>
[[gnu::always_inline]] inline void TransparentRow16(uint8_t *dest, const uint8_t *source, int n) {
    using U16 = typename Lanes<Bytes>::U16;
    constexpr int kStep = Bytes / 2;
    int i = 0;
    for (; i + kStep <= n; i += kStep) {
        U16 s;
        Load(s, source + i * 2);
        U16 d;
        Load(d, dest + i * 2);
        const U16 skip = (U16)(s == kMask16);
        Store(dest + i * 2, (d & skip) | (s & ~skip));
    }
    for (; i < n; ++i) {
        uint16_t s;
        std::memcpy(&s, source + i * 2, 2);
        if (s != kMask16) std::memcpy(dest + i * 2, &s, 2);
    }
}

// 32 bits: each pixel is two 16-bit lanes, blue+green and red+top byte; the
// low bytes (blue, red) and the high bytes (green, top) are blended apart.
template <int Bytes>
[[gnu::always_inline]] inline void BlendRow32(uint8_t *dest, const uint8_t *source, int n,
                                              uint32_t k) {
    using U32 = typename Lanes<Bytes>::U32;
    using U16 = typename Lanes<Bytes>::U16;
    constexpr int kStep = Bytes / 4;
    const uint16_t weight = static_cast<uint16_t>(k);
    const uint16_t inverse = static_cast<uint16_t>(256 - k);
    int i = 0;
    for (; i + kStep <= n; i += kStep) {
        U32 s;
        Load(s, source + i * 4);
        U32 d;
        Load(d, dest + i * 4);
        const U16 s16 = (U16)(s);
        const U16 d16 = (U16)(d);
        const U16 low = ((d16 & 0xFF) * inverse + (s16 & 0xFF) * weight) >> 8;
        const U16 high = ((d16 >> 8) * inverse + (s16 >> 8) * weight) & 0xFF00;
        const U16 mixed16 = low | high;
        const U32 mixed = (U32)(mixed16)&0xFFFFFF;
        const U32 skip = (U32)((s & 0xFFFFFF) == kMask32);
        Store(dest + i * 4, (d & skip) | (mixed & ~skip));
    }
    for (; i < n; ++i) {
        uint32_t s, d;
        std::memcpy(&s, source + i * 4, 4);
        std::memcpy(&d, dest + i * 4, 4);
        d = BlendPixel32(s, d, k);
        std::memcpy(dest + i * 4, &d, 4);
    }
}

// 16 bits: the three channels taken out of each 16-bit lane, blended and put
// back; green stays in place (at most 0x7E0 * 32, which still fits).
template <int Bytes>
[[gnu::always_inline]] inline void BlendRow16(uint8_t *dest, const uint8_t *source, int n,
                                              uint32_t k) {
    using U16 = typename Lanes<Bytes>::U16;
    constexpr int kStep = Bytes / 2;
    const uint16_t weight = static_cast<uint16_t>(k);
    const uint16_t inverse = static_cast<uint16_t>(32 - k);
    int i = 0;
    for (; i + kStep <= n; i += kStep) {
        U16 s;
        Load(s, source + i * 2);
        U16 d;
        Load(d, dest + i * 2);
        const U16 r = (((d >> 11) * inverse + (s >> 11) * weight) >> 5) << 11;
        const U16 g = (((d & 0x7E0) * inverse + (s & 0x7E0) * weight) >> 5) & 0x7E0;
        const U16 b = ((d & 0x1F) * inverse + (s & 0x1F) * weight) >> 5;
        const U16 skip = (U16)(s == kMask16);
        Store(dest + i * 2, (d & skip) | ((r | g | b) & ~skip));
    }
    for (; i < n; ++i) {
        uint16_t s, d;
        std::memcpy(&s, source + i * 2, 2);
        std::memcpy(&d, dest + i * 2, 2);
        d = BlendPixel16(s, d, k);
        std::memcpy(dest + i * 2, &d, 2);
    }
}

// One clipped row of n pixels from `source` onto `dest`, in a mode other
// than opaque; k is the blend weight (a + 1 at 32 bits, (a + 7) / 8 at 16).
template <int Bytes>
[[gnu::always_inline]] inline void PutRows(uint8_t *dest, const uint8_t *source, int n, int rows,
                                           std::size_t sourceStride, int bpp, int mode,
                                           uint32_t k) {
    constexpr std::size_t kPageStride = kScreenWidth;
    for (int row = 0; row < rows; ++row) {
        uint8_t *to = dest + row * kPageStride * bpp;
        const uint8_t *from = source + row * sourceStride;
        if (bpp == 4) {
            if (mode == kPutBlend)
                BlendRow32<Bytes>(to, from, n, k);
            else
                TransparentRow32<Bytes>(to, from, n);
        } else {
            if (mode == kPutBlend)
                BlendRow16<Bytes>(to, from, n, k);
            else
                TransparentRow16<Bytes>(to, from, n);
        }
    }
}

// Copies `bytes` from `source` to `dest`, 256-byte block by block, writing
// only the blocks that differ: a page copied again as it was (the menu and
// other still screens show the same picture at every pass) is then read but
// not written. Returns whether anything differed.
template <int Bytes>
[[gnu::always_inline]] inline bool CopyChangedBlocks(uint8_t *dest, const uint8_t *source,
                                                     std::size_t bytes) {
    using U64 = typename Lanes<Bytes>::U64;
    constexpr std::size_t kBlock = 256;
    constexpr int kVectors = static_cast<int>(kBlock) / Bytes;
    bool changed = false;
    std::size_t at = 0;
    for (; at + kBlock <= bytes; at += kBlock) {
        U64 from[kVectors], to[kVectors];
        U64 differ{};
        for (int v = 0; v < kVectors; ++v) {
            Load(from[v], source + at + v * Bytes);
            Load(to[v], dest + at + v * Bytes);
            differ |= from[v] ^ to[v];
        }
        uint64_t any = 0;
        for (int lane = 0; lane < Bytes / 8; ++lane)
            any |= differ[lane];
        if (any != 0) {
            for (int v = 0; v < kVectors; ++v)
                Store(dest + at + v * Bytes, from[v]);
            changed = true;
        }
    }
    if (at < bytes && std::memcmp(dest + at, source + at, bytes - at) != 0) {
        std::memcpy(dest + at, source + at, bytes - at);
        changed = true;
    }
    return changed;
}

bool CopyChangedPortable(uint8_t *dest, const uint8_t *source, std::size_t bytes) {
    return CopyChangedBlocks<16>(dest, source, bytes);
}

void PutRowsPortable(uint8_t *dest, const uint8_t *source, int n, int rows,
                     std::size_t sourceStride, int bpp, int mode, uint32_t k) {
    PutRows<16>(dest, source, n, rows, sourceStride, bpp, mode, k);
}

#if defined(__x86_64__) && defined(__GNUC__)
#define HALVANE_WIDE_PUTS 1

__attribute__((target("avx2"))) void PutRowsAvx2(uint8_t *dest, const uint8_t *source, int n,
                                                 int rows, std::size_t sourceStride, int bpp,
                                                 int mode, uint32_t k) {
    PutRows<32>(dest, source, n, rows, sourceStride, bpp, mode, k);
}

__attribute__((target("avx2"))) bool CopyChangedAvx2(uint8_t *dest, const uint8_t *source,
                                                     std::size_t bytes) {
    return CopyChangedBlocks<32>(dest, source, bytes);
}

__attribute__((target("avx512f,avx512bw"))) void PutRowsAvx512(uint8_t *dest, const uint8_t *source,
                                                               int n, int rows,
                                                               std::size_t sourceStride, int bpp,
                                                               int mode, uint32_t k) {
    PutRows<64>(dest, source, n, rows, sourceStride, bpp, mode, k);
}

__attribute__((target("avx512f,avx512bw"))) bool
CopyChangedAvx512(uint8_t *dest, const uint8_t *source, std::size_t bytes) {
    return CopyChangedBlocks<64>(dest, source, bytes);
}
#endif

enum class RowCode { Undecided, Portable, Avx2, Avx512 };
RowCode PutRowCode = RowCode::Undecided;

RowCode WidestRowCode() {
#ifdef HALVANE_WIDE_PUTS
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512bw")) return RowCode::Avx512;
    if (__builtin_cpu_supports("avx2")) return RowCode::Avx2;
#endif
    return RowCode::Portable;
}

void PutRowsDispatched(uint8_t *dest, const uint8_t *source, int n, int rows,
                       std::size_t sourceStride, int bpp, int mode, uint32_t k) {
    if (PutRowCode == RowCode::Undecided) PutRowCode = WidestRowCode();
    switch (PutRowCode) {
#ifdef HALVANE_WIDE_PUTS
    case RowCode::Avx512:
        PutRowsAvx512(dest, source, n, rows, sourceStride, bpp, mode, k);
        return;
    case RowCode::Avx2:
        PutRowsAvx2(dest, source, n, rows, sourceStride, bpp, mode, k);
        return;
#endif
    default:
        PutRowsPortable(dest, source, n, rows, sourceStride, bpp, mode, k);
        return;
    }
}

} // namespace

bool CopyChangedPixels(uint8_t *dest, const uint8_t *source, std::size_t bytes) {
    if (PutRowCode == RowCode::Undecided) PutRowCode = WidestRowCode();
    switch (PutRowCode) {
#ifdef HALVANE_WIDE_PUTS
    case RowCode::Avx512:
        return CopyChangedAvx512(dest, source, bytes);
    case RowCode::Avx2:
        return CopyChangedAvx2(dest, source, bytes);
#endif
    default:
        return CopyChangedPortable(dest, source, bytes);
    }
}

void UseWidePutRows(bool wide) {
    PutRowCode = wide ? WidestRowCode() : RowCode::Portable;
}

const char *PutRowsName() {
    if (PutRowCode == RowCode::Undecided) PutRowCode = WidestRowCode();
    switch (PutRowCode) {
    case RowCode::Avx512:
        return "avx512";
    case RowCode::Avx2:
        return "avx2";
    default:
        return "portable";
    }
}

void GrabImage(float x1, float y1, float x2, float y2, std::span<uint8_t> image) {
    if (!ScreenIsOpen()) return;
    PixelRect r;
    if (!RoundCorners(x1, y1, x2, y2, r)) return;
    const int left = r.left, right = r.right, top = r.top, bottom = r.bottom;
    if (left < 0 || top < 0 || right >= kScreenWidth || bottom >= kScreenHeight) return;

    const int bpp = ScreenBytesPerPixel();
    const int width = right - left + 1, height = bottom - top + 1;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * bpp;
    // A buffer too small for the rectangle keeps its old contents rather than
    // being written past its end.
    if (image.size() < kImageHeaderBytes + rowBytes * height) return;

    WriteImageHeader(image, width, height, bpp);
    NoteImageWritten();
    const uint8_t *page = PageView(WorkPageIndex());
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

    const uint8_t *source = image.data() + kImageHeaderBytes +
                            static_cast<std::size_t>(top - py) * rowBytes +
                            static_cast<std::size_t>(left - px) * bpp;
    const int n = static_cast<int>(right - left + 1);
    const int rows = static_cast<int>(bottom - top + 1);
    const std::size_t pageRowBytes = std::size_t{kScreenWidth} * bpp;
    const std::size_t bytes = static_cast<std::size_t>(n) * bpp;
    if (mode == kPutOpaque && px == 0 && py == 0 && header.width == kScreenWidth &&
        header.height == kScreenHeight) {
        PutWholePage(source);
        if (WorkPageIndex() == VisiblePageIndex()) MarkVisibleChanged();
        return;
    }
    uint8_t *dest =
        DrawOnWork(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right),
                   static_cast<int>(bottom)) +
        (static_cast<std::size_t>(top) * kScreenWidth + static_cast<std::size_t>(left)) * bpp;
    if (mode == kPutOpaque) {
        if (bytes == rowBytes && bytes == pageRowBytes)
            std::memcpy(dest, source, bytes * rows); // a whole page at once
        else
            for (int row = 0; row < rows; ++row)
                std::memcpy(dest + row * pageRowBytes, source + row * rowBytes, bytes);
    } else {
        const uint32_t k = bpp == 4 ? static_cast<uint32_t>(opacity + 1)
                                    : static_cast<uint32_t>((opacity + 7) / 8);
        PutRowsDispatched(dest, source, n, rows, rowBytes, bpp, mode, k);
    }
    if (WorkPageIndex() == VisiblePageIndex()) MarkVisibleChanged();
}

} // namespace halvane
