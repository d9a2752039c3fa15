// test_pictures.h -- small picture files and a scratch working directory for
// the start-up tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace halvane::test {

// The colour the tests paint at (x, y) of a picture: every channel depends
// on the position and on `seed`, so a shifted, mirrored or swapped copy shows.
uint32_t PatternColour(int seed, int x, int y);

// Writes a w x h 24-bit BMP painted with PatternColour(seed, x, y).
void WritePatternBmp(const std::string &path, int w, int h, int seed);

void WriteTextFile(const std::string &path, const std::string &text);

// A fresh directory with Data/ and Graphics/ that is the working directory
// while the object lives; removed afterwards.
struct ScratchDirectory {
    ScratchDirectory();
    ~ScratchDirectory();
    std::filesystem::path previous;
    std::filesystem::path path;
};

} // namespace halvane::test
