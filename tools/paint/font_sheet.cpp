#include <cstring>

#include "platform/screen.h"
#include "render/font.h"
#include "tools/paint/glyphs.h"
#include "tools/paint/paint.h"

namespace halvane {

namespace {

constexpr uint32_t kInk = 0xF2F6FF;        // the glyphs: near white, a breath of blue
constexpr uint32_t kGridColour = 0x404040; // separators, never read by the loader
constexpr uint32_t kMarkerColour = 0xFFFFFF;
constexpr int kSpaceWidth = 4; // the space's advance, without spacing

void PaintGlyph(int code, const GlyphBlock &block, int column, int width) {
    const int k = code - kFontFirstCode;
    const int left = kFontCell * (k % kFontColumns) + 1;
    const int top = kFontCell * (k / kFontColumns) + 1;
    for (int y = 0; y < kGlyphRows; ++y)
        for (int x = 0; x < width; ++x)
            if (block.rows[y][column + x] == '#') Plot(left + x, top + y, kInk);
}

} // namespace

void PaintFontSheet() {
    FillBox(0, 0, 639, 479, kMagenta);
    for (int c = 0; c <= kFontColumns; ++c)
        DrawLine(static_cast<float>(kFontCell * c), 0, static_cast<float>(kFontCell * c),
                 kFontCell * kFontRows, kGridColour);
    for (int r = 0; r <= kFontRows; ++r)
        DrawLine(0, static_cast<float>(kFontCell * r), kFontCell * kFontColumns,
                 static_cast<float>(kFontCell * r), kGridColour);
    // Size markers right of the grid: cell width along row 1 from x 277, glyph
    // height down column 298 from y 1.
    Plot(277 + kSpaceWidth, 1, kMarkerColour);
    Plot(298, 1 + kGlyphRows, kMarkerColour);

    for (const GlyphBlock &block : GlyphArt) {
        // Glyphs stand side by side, one blank column apart.
        int column = 0;
        for (const char *c = block.characters; *c != '\0'; ++c) {
            const char *row = block.rows[0] + column;
            const char *end = std::strchr(row, ' ');
            const int width =
                end ? static_cast<int>(end - row) : static_cast<int>(std::strlen(row));
            PaintGlyph(static_cast<unsigned char>(*c), block, column, width);
            column += width + 1;
        }
    }
}

} // namespace halvane
