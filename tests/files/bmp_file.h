// BMP files made in memory by the tests that load pictures.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

namespace halvane {

using PixelOf = std::function<uint32_t(int, int)>;

inline void Put32(std::vector<uint8_t> &b, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = uint8_t(v >> (8 * i));
}

// A bottom-up BMP whose screen pixel (x, y) is pixel(x, y): a colour-table
// index for 1..8 bits, else 0xAARRGGBB.
inline std::vector<uint8_t> MakeBmp(int w, int h, int bits, const PixelOf &pixel,
                                    const std::vector<uint32_t> &table = {}) {
    const std::size_t rowBytes = (std::size_t(w) * bits + 31) / 32 * 4;
    const std::size_t offset = 54 + table.size() * 4;
    std::vector<uint8_t> b(offset + rowBytes * h, 0);
    b[0] = 'B', b[1] = 'M', b[26] = 1, b[28] = uint8_t(bits);
    for (auto [at, v] :
         {std::pair<int, uint32_t>{2, b.size()}, {10, offset}, {14, 40}, {18, w}, {22, h}})
        Put32(b, at, v);
    for (std::size_t i = 0; i < table.size(); ++i)
        Put32(b, 54 + i * 4, table[i]);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t v = pixel(x, y);
            uint8_t *row = b.data() + offset + (h - 1 - y) * rowBytes;
            if (bits >= 24)
                std::memcpy(row + x * bits / 8, &v, bits / 8);
            else
                for (int bit = 0; bit < bits; ++bit)
                    if (v & (1u << (bits - 1 - bit)))
                        row[(x * bits + bit) / 8] |= 0x80 >> ((x * bits + bit) % 8);
        }
    return b;
}

} // namespace halvane
