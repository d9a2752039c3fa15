#include "render/font.h"

#include "platform/image_file.h"
#include "platform/screen.h"

namespace halvane {

BitmapFont GameFont;

namespace {

// Where the size markers sit, right of the glyph grid.
constexpr int kBackgroundX = 277;
constexpr int kMarkerRow = 1;
constexpr int kHeightColumn = 298;
constexpr int kMarkerScanEnd = 299;

// The font slot of a character code, or -1 for codes the record does not hold.
int GlyphIndex(char c) {
    const int code = static_cast<unsigned char>(c);
    const int k = code - kFontFirstCode;
    return (k >= 0 && k < kFontGlyphs) ? k : -1;
}

int32_t DrawGlyphs(int32_t x, int32_t y, std::string_view text, const BitmapFont &font,
                   int32_t spacing, int putMode, int opacity) {
    for (char c : text) {
        const int k = GlyphIndex(c);
        if (k < 0) {
            x += spacing;
            continue;
        }
        PutImage(static_cast<float>(x), static_cast<float>(y), font.glyphs[k], putMode, opacity);
        x += font.widths[k] + spacing;
    }
    return x;
}

} // namespace

bool LoadFont(const char *fileName, BitmapFont &font, int32_t mode) {
    SetPages(1, 0);
    ClearWorkPage();
    LoadImageFile(fileName);
    return CutFontFromWorkPage(font, mode);
}

bool CutFontFromWorkPage(BitmapFont &font, int32_t mode) {
    if (mode != kFontProportional && mode != kFontFixed) mode = kFontProportional;
    for (auto &glyph : font.glyphs)
        glyph.fill(0);
    font.widths.fill(0);

    const int32_t background = ReadPixel(kBackgroundX, kMarkerRow);
    int32_t cellWidth = -1;
    int32_t height = -1;
    for (int x = kBackgroundX + 1; x <= kMarkerScanEnd && cellWidth < 0; ++x)
        if (ReadPixel(static_cast<float>(x), kMarkerRow) != background)
            cellWidth = x - kBackgroundX;
    for (int y = 2; y <= kFontCell && height < 0; ++y)
        if (ReadPixel(kHeightColumn, static_cast<float>(y)) != background) height = y - 1;
    // A marker beyond the cell would cut glyphs bigger than their buffers.
    const bool usable =
        cellWidth >= 1 && cellWidth <= kFontGlyphMax && height >= 1 && height <= kFontGlyphMax;
    font.height = height;
    if (!usable) {
        ClearWorkPage();
        return false;
    }

    for (int k = 0; k < kFontSheetGlyphs; ++k) {
        const int left = kFontCell * (k % kFontColumns);
        const int top = kFontCell * (k / kFontColumns);
        // The rightmost column with ink; column 1 is never tested, so an
        // empty cell still comes out one pixel wide.
        int w = 1;
        for (int p = kFontGlyphMax; p >= 2 && w == 1; --p)
            for (int y = 1; y <= height; ++y)
                if (ReadPixel(static_cast<float>(left + p), static_cast<float>(top + y)) !=
                    background) {
                    w = p;
                    break;
                }
        if (mode == kFontFixed) w = cellWidth;
        if (k == 0) {
            // The space is always a blank of the cell width.
            GrabImage(1, 1, static_cast<float>(cellWidth), static_cast<float>(height),
                      font.glyphs[0]);
            font.widths[0] = cellWidth;
            continue;
        }
        GrabImage(static_cast<float>(left + 1), static_cast<float>(top + 1),
                  static_cast<float>(left + w), static_cast<float>(top + height), font.glyphs[k]);
        font.widths[k] = w;
    }
    ClearWorkPage();
    return true;
}

int32_t DrawText(int32_t x, int32_t y, std::string_view text, const BitmapFont &font,
                 int32_t spacing, int32_t mode) {
    const int putMode = mode == kTextOpaque ? kPutOpaque : kPutTransparent;
    return DrawGlyphs(x, y, text, font, spacing, putMode, 255);
}

int32_t DrawTextBlended(int32_t x, int32_t y, std::string_view text, const BitmapFont &font,
                        int32_t spacing, int32_t opacity) {
    if (opacity < 0 || opacity > 255) opacity = 255;
    return DrawGlyphs(x, y, text, font, spacing, kPutBlend, opacity);
}

int32_t TextAdvance(std::string_view text, const BitmapFont &font, int32_t spacing) {
    int32_t x = 0;
    for (char c : text) {
        const int k = GlyphIndex(c);
        x += (k < 0 ? 0 : font.widths[k]) + spacing;
    }
    return x;
}

} // namespace halvane
