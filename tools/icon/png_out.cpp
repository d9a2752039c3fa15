// png_out.cpp -- PNG chunks with their CRCs, a zlib stream of stored blocks
// with its Adler-32.
#include "tools/icon/png_out.h"

#include <array>
#include <fstream>
#include <vector>

namespace halvane {

namespace {

uint32_t Crc32(std::span<const uint8_t> bytes, uint32_t crc = 0) {
    crc = ~crc;
    for (uint8_t b : bytes) {
        crc ^= b;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

uint32_t Adler32(std::span<const uint8_t> bytes) {
    uint32_t a = 1, b = 0;
    for (uint8_t v : bytes) {
        a = (a + v) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

void PutBig32(std::vector<uint8_t> &out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t> &out, const char *type, const std::vector<uint8_t> &data) {
    PutBig32(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutBig32(out, Crc32(typed));
}

} // namespace

bool WritePng(const std::string &fileName, int width, int height,
              std::span<const uint32_t> pixels) {
    if (width < 1 || height < 1 || pixels.size() < static_cast<std::size_t>(width) * height)
        return false;
    // Each row: filter type 0, then R, G, B, A.
    std::vector<uint8_t> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
            for (int shift : {16, 8, 0, 24})
                raw.push_back(static_cast<uint8_t>(p >> shift));
        }
    }
    std::vector<uint8_t> zlib{0x78, 0x01};
    constexpr std::size_t kBlock = 65535;
    for (std::size_t at = 0; at < raw.size() || at == 0; at += kBlock) {
        const std::size_t length = std::min(kBlock, raw.size() - at);
        zlib.push_back(at + length == raw.size() ? 1 : 0); // last block?
        for (uint16_t v : {static_cast<uint16_t>(length), static_cast<uint16_t>(~length)}) {
            zlib.push_back(static_cast<uint8_t>(v));
            zlib.push_back(static_cast<uint8_t>(v >> 8));
        }
        zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                    raw.begin() + static_cast<std::ptrdiff_t>(at + length));
        if (raw.empty()) break;
    }
    PutBig32(zlib, Adler32(raw));

    std::vector<uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBig32(header, static_cast<uint32_t>(width));
    PutBig32(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter choice, plain
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});
    std::ofstream out(fileName, std::ios::binary);
    out.write(reinterpret_cast<const char *>(png.data()), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(out.flush());
}

} // namespace halvane
