// The picture tool: paints every picture file of the game into the folder
// given on the command line (Graphics/ by default).
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/screen.h"
#include "render/font.h"
#include "tools/paint/bmp_out.h"
#include "tools/paint/glyphs.h"
#include "tools/paint/paint.h"

namespace {

using namespace halvane;

// Every glyph row of a block must hold the same glyph widths as its first.
bool GlyphArtIsConsistent() {
    for (const GlyphBlock &block : GlyphArt)
        for (const char *row : block.rows)
            if (std::strlen(row) != std::strlen(block.rows[0])) {
                std::fprintf(stderr, "paint: glyph rows of \"%s\" differ in width\n",
                             block.characters);
                return false;
            }
    return true;
}

bool Save(const std::string &folder, const char *name, int width, int height) {
    const std::string path = folder + "/" + name;
    if (WritePictureFile(path, width, height)) return true;
    std::fprintf(stderr, "paint: cannot write %s\n", path.c_str());
    return false;
}

} // namespace

int main(int argc, char **argv) {
    const std::string folder = argc > 1 ? argv[1] : "Graphics";
    if (!GlyphArtIsConsistent()) return 1;
    OpenOffscreenPages(32);
    SetPages(1, 0);

    bool ok = true;
    PaintFontSheet();
    ok &= Save(folder, "zqfont.fnt", 300, 188);
    // The pictures' own labels are written in the game's font.
    if (!CutFontFromWorkPage(GameFont, kFontProportional)) {
        std::fprintf(stderr, "paint: the font sheet has no size markers\n");
        return 1;
    }
    PaintMenuPicture();
    ok &= Save(folder, "mmenu.bgr", 640, 480);
    for (int n = 1; n <= 4; ++n) {
        PaintBackdrop(n);
        const std::string name = "backg" + std::to_string(n) + ".bgr";
        ok &= Save(folder, name.c_str(), 640, 480);
    }
    PaintBriefingPicture();
    ok &= Save(folder, "briefscrn.bgr", 640, 480);
    PaintScriptStrips();
    ok &= Save(folder, "crymsg.spr", 320, 100);
    PaintEndPicture();
    ok &= Save(folder, "endgame.bgr", 640, 480);
    PaintHudSprites();
    ok &= Save(folder, "zqsprite.spr", 128, 12);
    return ok ? 0 : 1;
}
