// glyphs.h -- the game's font as text art, read by the picture tool when it
// paints the font sheet.
#pragma once

#include <array>

namespace halvane {

constexpr int kGlyphRows = 9;
constexpr int kGlyphBlocks = 12;

struct GlyphBlock {
    const char *characters;                    // the glyphs of the block, left to right
    std::array<const char *, kGlyphRows> rows; // glyph rows side by side, one blank apart
};

// Every printable character 32..126, in code order.
extern const std::array<GlyphBlock, kGlyphBlocks> GlyphArt;

} // namespace halvane
