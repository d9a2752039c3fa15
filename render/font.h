// font.h -- the game's proportional bitmap font: a sheet of 96 glyphs in
// 23-pixel cells, cut out and measured at start-up, then drawn glyph by glyph
// with the image put of the screen layer. All text of the game goes through
// here.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/image.h"

namespace halvane {

constexpr int kFontGlyphs = 98;      // codes 32..129; 128 and 129 stay empty
constexpr int kFontSheetGlyphs = 96; // codes 32..127 come from the sheet
constexpr int kFontCell = 23;        // cell pitch on the sheet, separator included
constexpr int kFontGlyphMax = 22;    // largest glyph width and height
constexpr int kFontRows = 8;
constexpr int kFontColumns = 12;
constexpr int kFontFirstCode = 32;

// Font modes of LoadFont: proportional widths, or every glyph the cell width.
constexpr int kFontProportional = 1;
constexpr int kFontFixed = 2;
// Text modes of DrawText.
constexpr int kTextTransparent = 1;
constexpr int kTextOpaque = 2;
// Spacing between glyphs that nearly every caller passes.
constexpr int kTextSpacing = 2;

struct BitmapFont {
    std::array<ImageBuffer<kFontGlyphMax, kFontGlyphMax>, kFontGlyphs> glyphs; // glyph k: code 32+k
    std::array<int32_t, kFontGlyphs> widths; // advance of glyph k, spacing not included
    int32_t height;                          // height of every glyph image
};

// The one font all text uses; filled by start-up, read by every screen.
extern BitmapFont GameFont;

// Builds `font` from the sheet file: loads it onto the work page (page 1,
// page 0 visible), reads the size markers, measures and cuts the glyphs, then
// clears the work page. A mode other than 1 or 2 acts as 1. Returns false when
// the sheet gave no usable size markers (missing or unreadable file): the
// glyphs are then unusable and the caller should refuse to go on. Called once
// by start-up.
bool LoadFont(const char *fileName, BitmapFont &font, int32_t mode);
// The second half of LoadFont: builds `font` from a sheet already on the work
// page, then clears the page. Used by LoadFont and the picture tool.
bool CutFontFromWorkPage(BitmapFont &font, int32_t mode);

// Draws `text` with its first glyph's top-left pixel at (x, y), `spacing`
// pixels between glyphs, mode 1 transparent (magenta skipped) or 2 opaque;
// any other mode acts as 1. Returns x advanced by every character's width plus
// the spacing. Codes outside 32..129 draw nothing and advance by the spacing.
int32_t DrawText(int32_t x, int32_t y, std::string_view text, const BitmapFont &font,
                 int32_t spacing, int32_t mode);

// As DrawText, blended at a constant opacity (the fades of text); an opacity
// outside 0..255 acts as 255, and 0 draws nothing but still advances x.
int32_t DrawTextBlended(int32_t x, int32_t y, std::string_view text, const BitmapFont &font,
                        int32_t spacing, int32_t opacity);

// Width in pixels that DrawText advances over `text` (for layout and tests).
int32_t TextAdvance(std::string_view text, const BitmapFont &font, int32_t spacing);

} // namespace halvane
