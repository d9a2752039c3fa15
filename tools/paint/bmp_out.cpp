#include <array>
#include <cstdio>
#include <vector>

#include "platform/screen.h"
#include "tools/paint/bmp_out.h"

namespace halvane {

namespace {

void Put32(std::array<uint8_t, 54> &header, int at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        header[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

} // namespace

bool WritePictureFile(const std::string &path, int width, int height) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const uint32_t imageBytes = static_cast<uint32_t>(rowBytes * height);
    std::array<uint8_t, 54> header{};
    header[0] = 'B';
    header[1] = 'M';
    Put32(header, 2, 54 + imageBytes);
    Put32(header, 10, 54);
    Put32(header, 14, 40);
    Put32(header, 18, static_cast<uint32_t>(width));
    Put32(header, 22, static_cast<uint32_t>(height));
    header[26] = 1;
    header[28] = 24;
    Put32(header, 34, imageBytes);
    Put32(header, 38, 2834);
    Put32(header, 42, 2834);

    // Rows bottom-up, blue, green, red, from the work page as it reads back.
    std::vector<uint8_t> pixels(imageBytes, 0);
    for (int y = 0; y < height; ++y) {
        uint8_t *row = pixels.data() + static_cast<size_t>(height - 1 - y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            const uint32_t rgb =
                static_cast<uint32_t>(ReadPixel(static_cast<float>(x), static_cast<float>(y)));
            row[3 * x] = static_cast<uint8_t>(rgb);
            row[3 * x + 1] = static_cast<uint8_t>(rgb >> 8);
            row[3 * x + 2] = static_cast<uint8_t>(rgb >> 16);
        }
    }
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(header.data(), 1, header.size(), file) == header.size() &&
                         std::fwrite(pixels.data(), 1, pixels.size(), file) == pixels.size();
    return std::fclose(file) == 0 && written;
}

} // namespace halvane
