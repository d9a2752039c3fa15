#include "tests/app/test_pictures.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace halvane::test {

uint32_t PatternColour(int seed, int x, int y) {
    const uint32_t r = static_cast<uint32_t>(x * 3 + seed * 40) & 0xFF;
    const uint32_t g = static_cast<uint32_t>(y * 5 + seed * 17) & 0xFF;
    const uint32_t b = static_cast<uint32_t>(x + 2 * y + seed * 91) & 0xFF;
    return (r << 16) | (g << 8) | b;
}

namespace {

void PutLittle(std::vector<uint8_t> &out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

} // namespace

void WritePatternBmp(const std::string &path, int w, int h, int seed) {
    const int rowBytes = (w * 3 + 3) / 4 * 4;
    std::vector<uint8_t> bmp;
    bmp.push_back('B');
    bmp.push_back('M');
    PutLittle(bmp, 54 + rowBytes * h, 4);
    PutLittle(bmp, 0, 4);
    PutLittle(bmp, 54, 4);
    PutLittle(bmp, 40, 4);
    PutLittle(bmp, w, 4);
    PutLittle(bmp, h, 4);
    PutLittle(bmp, 1, 2);
    PutLittle(bmp, 24, 2);
    PutLittle(bmp, 0, 4);
    PutLittle(bmp, rowBytes * h, 4);
    PutLittle(bmp, 2835, 4);
    PutLittle(bmp, 2835, 4);
    PutLittle(bmp, 0, 4);
    PutLittle(bmp, 0, 4);
    for (int y = h - 1; y >= 0; --y) { // bottom row first
        for (int x = 0; x < w; ++x)
            PutLittle(bmp, PatternColour(seed, x, y), 3);
        for (int pad = w * 3; pad < rowBytes; ++pad)
            bmp.push_back(0);
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char *>(bmp.data()),
               static_cast<std::streamsize>(bmp.size()));
    if (!file) throw std::runtime_error("cannot write " + path);
}

void WriteTextFile(const std::string &path, const std::string &text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    if (!file) throw std::runtime_error("cannot write " + path);
}

ScratchDirectory::ScratchDirectory() : previous(std::filesystem::current_path()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "halvane-app-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no scratch directory");
    path = pattern;
    std::filesystem::create_directories(path / "Data");
    std::filesystem::create_directories(path / "Graphics");
    std::filesystem::current_path(path);
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
    std::filesystem::remove_all(path, ignored);
}

} // namespace halvane::test
