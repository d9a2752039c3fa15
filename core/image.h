// image.h -- the Image layout shared by every picture, sprite, glyph and grab:
// a 4-byte header (width * 8 + bytes per pixel, then height, little-endian)
// followed by the rows, top row first, without padding.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace halvane {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr std::size_t kImageHeaderBytes = 4;

// Bytes an image of w x h needs at 32 bits per pixel, the largest depth.
constexpr std::size_t ImageBytes(int w, int h) {
    return kImageHeaderBytes + static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4;
}

// A caller-owned image buffer large enough for a w x h grab at either depth.
template <int W, int H> using ImageBuffer = std::array<uint8_t, ImageBytes(W, H)>;
using FullScreenImage = ImageBuffer<kScreenWidth, kScreenHeight>;

struct ImageHeader {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;
};

// Reads the header of an image buffer; a buffer shorter than the header reads
// as an empty image.
inline ImageHeader ReadImageHeader(std::span<const uint8_t> image) {
    if (image.size() < kImageHeaderBytes) return {};
    const int packed = image[0] | (image[1] << 8);
    return {packed >> 3, image[2] | (image[3] << 8), packed & 7};
}

inline void WriteImageHeader(std::span<uint8_t> image, int width, int height, int bytesPerPixel) {
    const int packed = width * 8 + bytesPerPixel;
    image[0] = static_cast<uint8_t>(packed & 0xFF);
    image[1] = static_cast<uint8_t>((packed >> 8) & 0xFF);
    image[2] = static_cast<uint8_t>(height & 0xFF);
    image[3] = static_cast<uint8_t>((height >> 8) & 0xFF);
}

} // namespace halvane
