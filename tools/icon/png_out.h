// png_out.h -- writing an RGBA picture as a PNG file, with no library: the
// pixels go into stored (uncompressed) deflate blocks. Used by the icon tool.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace halvane {

// Writes `pixels` (width x height, top row first, each 0xAARRGGBB, straight
// alpha) as an 8-bit RGBA PNG; false when the file cannot be written.
bool WritePng(const std::string &fileName, int width, int height, std::span<const uint32_t> pixels);

} // namespace halvane
