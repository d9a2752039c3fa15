// Any bytes as the font sheet: the loader either refuses it or gives glyphs
// whose sizes fit their buffers, and every character then draws within bounds.
#include <array>
#include <cstdint>
#include <string_view>

#include "fuzz_input.h"
#include "platform/screen.h"
#include "render/font.h"

using namespace halvane;

namespace {

BitmapFont Font;
bool PagesReady = false;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    if (!PagesReady) {
        OpenOffscreenPages(32);
        PagesReady = true;
    }
    WriteFuzzFile("sheet.fnt", data, size);
    const int32_t mode = size > 0 && data[0] % 2 == 1 ? kFontFixed : kFontProportional;
    if (!LoadFont("sheet.fnt", Font, mode)) return 0;

    FuzzCheck(Font.height >= 1 && Font.height <= kFontGlyphMax, "glyph height out of range");
    for (int k = 0; k < kFontSheetGlyphs; ++k)
        FuzzCheck(Font.widths[static_cast<std::size_t>(k)] >= 1 &&
                      Font.widths[static_cast<std::size_t>(k)] <= kFontGlyphMax,
                  "glyph width out of range");
    std::array<char, 256> all{};
    for (std::size_t i = 0; i < all.size(); ++i)
        all[i] = static_cast<char>(i);
    const std::string_view text(all.data(), all.size());
    DrawText(600, 470, text, Font, kTextSpacing, kTextOpaque);
    DrawTextBlended(-10, -5, text, Font, kTextSpacing, 128);
    return 0;
}
