// make_icon -- writes the game's icon from its drawing (platform/app_icon.h)
// as an SVG and as PNGs of the sizes desktops ask for, in the icon theme's
// layout: <folder>/hicolor/scalable/apps/<id>.svg and
// <folder>/hicolor/<n>x<n>/apps/<id>.png.
// Usage: make_icon <folder> <application id>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/app_icon.h"
#include "tools/icon/png_out.h"

namespace {

using namespace halvane;

constexpr std::array kPngSizes{16, 22, 24, 32, 48, 64, 128, 256};

std::string Hex(uint32_t rgb) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "#%06X", rgb & 0xFFFFFF);
    return text.data();
}

std::string Number(float v) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%g", static_cast<double>(v));
    return text.data();
}

// The same tile and strokes DrawIcon draws, as SVG shapes.
std::string Svg() {
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
                      "viewBox=\"0 0 256 256\">\n";
    svg += "  <rect x=\"" + Number(kIconInset) + "\" y=\"" + Number(kIconInset) + "\" width=\"" +
           Number(kIconSide - 2 * kIconInset) + "\" height=\"" +
           Number(kIconSide - 2 * kIconInset) + "\" rx=\"" + Number(kIconCorner) + "\" fill=\"" +
           Hex(kIconTile) + "\"/>\n";
    svg += "  <g fill=\"none\" stroke-linecap=\"round\">\n";
    for (const IconStroke &s : IconStrokes())
        svg += "    <line x1=\"" + Number(s.x1) + "\" y1=\"" + Number(s.y1) + "\" x2=\"" +
               Number(s.x2) + "\" y2=\"" + Number(s.y2) + "\" stroke=\"" + Hex(s.colour) +
               "\" stroke-width=\"" + Number(s.width) + "\"/>\n";
    svg += "  </g>\n</svg>\n";
    return svg;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_icon <folder> <application id>\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path root = fs::path(argv[1]) / "hicolor";
    const std::string id = argv[2];
    std::error_code error;
    fs::create_directories(root / "scalable/apps", error);
    std::ofstream(root / "scalable/apps" / (id + ".svg")) << Svg();
    bool ok = fs::file_size(root / "scalable/apps" / (id + ".svg"), error) > 0;
    for (int size : kPngSizes) {
        const std::string sizeName = std::to_string(size) + "x" + std::to_string(size);
        fs::create_directories(root / sizeName / "apps", error);
        std::vector<uint32_t> pixels(static_cast<std::size_t>(size) * size);
        ok = DrawIcon(size, pixels) &&
             WritePng((root / sizeName / "apps" / (id + ".png")).string(), size, size, pixels) &&
             ok;
    }
    if (!ok) std::fprintf(stderr, "make_icon: cannot write the icons below %s\n", argv[1]);
    return ok ? 0 : 1;
}
