// make_seeds -- writes the seed corpora of the fuzz targets: valid files of
// every kind each reader takes, kept small so that the fuzzer runs fast.
// Usage: make_seeds <corpus folder> <source folder>; one subfolder per target.
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/image_file.h"
#include "platform/replay.h"
#include "platform/replay_codec.h"
#include "platform/screen.h"
#include "platform/sound_file.h"
#include "screens/hiscore_file.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

namespace {

fs::path Root;

void Save(const std::string &target, const std::string &name, const Bytes &bytes) {
    fs::create_directories(Root / target);
    std::ofstream out(Root / target / name, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}
void SaveText(const std::string &target, const std::string &name, const std::string &text) {
    Save(target, name, Bytes(text.begin(), text.end()));
}

void Put16(Bytes &b, std::size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(Bytes &b, std::size_t at, uint32_t v) {
    Put16(b, at, v);
    Put16(b, at + 2, v >> 16);
}

// A BMP of `width` x `height` at `bits` per pixel with `colours` table
// entries; pixel (x, y) (top row first) gets the index or colour `pixel`.
template <typename PixelOf> Bytes Bmp(int width, int height, int bits, int colours, PixelOf pixel) {
    const int absHeight = height < 0 ? -height : height;
    const std::size_t rowBytes = static_cast<std::size_t>((width * bits + 31) / 32 * 4);
    const std::size_t offset = 54 + static_cast<std::size_t>(colours) * 4;
    Bytes b(offset + rowBytes * static_cast<std::size_t>(absHeight), 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    Put32(b, 10, static_cast<uint32_t>(offset));
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<uint32_t>(width));
    Put32(b, 22, static_cast<uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<uint32_t>(bits));
    Put32(b, 34, static_cast<uint32_t>(rowBytes * static_cast<std::size_t>(absHeight)));
    for (int i = 0; i < colours; ++i)
        Put32(b, 54 + static_cast<std::size_t>(i) * 4,
              static_cast<uint32_t>(i * 0x1F3D5B) & 0xFFFFFF);
    for (int row = 0; row < absHeight; ++row) {
        // Bottom-up rows unless the height is negative.
        const int y = height > 0 ? absHeight - 1 - row : row;
        uint8_t *out = &b[offset + rowBytes * static_cast<std::size_t>(row)];
        for (int x = 0; x < width; ++x) {
            const uint32_t v = pixel(x, y);
            if (bits >= 24) {
                for (int k = 0; k < bits / 8; ++k)
                    out[x * bits / 8 + k] = static_cast<uint8_t>(v >> (8 * k));
            } else {
                // Leftmost pixel in the high bits, one bit at a time so that
                // depths that straddle bytes pack too.
                for (int j = 0; j < bits; ++j) {
                    const int bit = x * bits + j;
                    if ((v >> (bits - 1 - j)) & 1u)
                        out[bit / 8] |= static_cast<uint8_t>(0x80 >> (bit % 8));
                }
            }
        }
    }
    return b;
}

Bytes Raw(bool shortHeader, std::size_t length, bool palette) {
    Bytes b(shortHeader ? 7 : 5, 0);
    b[0] = shortHeader ? 0xFD : 0xFE;
    if (shortHeader)
        Put16(b, 5, static_cast<uint32_t>(length));
    else
        Put32(b, 1, static_cast<uint32_t>(length));
    for (std::size_t i = 0; i < length; ++i)
        b.push_back(static_cast<uint8_t>(i * 7 + i / 640));
    if (palette) b.resize(b.size() + 1024, 0x40);
    return b;
}

void ImageSeeds() {
    // An asymmetric "F" of distinct channels, so that mirrored rows show.
    auto f = [](int x, int y) -> uint32_t {
        const bool ink = x == 2 || y == 1 || (y == 5 && x < 8);
        return ink ? 0xFF2010u : 0x1030C0u + static_cast<uint32_t>(x);
    };
    Save("image_file", "bmp24.bmp", Bmp(13, 9, 24, 0, f));
    Save("image_file", "bmp32.bmp",
         Bmp(12, 7, 32, 0, [&](int x, int y) { return f(x, y) | 0xA5000000u; }));
    Save("image_file", "bmp8.bmp",
         Bmp(17, 5, 8, 16, [](int x, int y) { return uint32_t(x + y) % 16; }));
    Save("image_file", "bmp4.bmp",
         Bmp(9, 6, 4, 16, [](int x, int y) { return uint32_t(x * 3 + y) % 16; }));
    Save("image_file", "bmp1.bmp",
         Bmp(33, 4, 1, 2, [](int x, int y) { return uint32_t(x ^ y) & 1; }));
    Save("image_file", "bmp3.bmp", Bmp(11, 3, 3, 8, [](int x, int) { return uint32_t(x) % 8; }));
    Save("image_file", "topdown.bmp", Bmp(8, -4, 24, 0, f));
    Save("image_file", "bmp16.bmp", Bmp(8, 4, 16, 0, f));
    Save("image_file", "wide.bmp", Bmp(700, 2, 8, 4, [](int x, int) { return uint32_t(x) % 4; }));
    Save("image_file", "tall.bmp", Bmp(1, 500, 24, 0, f));
    Save("image_file", "raw_short.raw", Raw(true, 1500, true));
    Save("image_file", "raw_long.raw", Raw(false, 2600, false));
    Save("image_file", "raw_long_palette.raw", Raw(false, 640 * 4, true));
}

void TextSeeds() {
    SaveText("text_fields", "setup.dat", "1,0,32\r\n");
    SaveText("text_fields", "lines.dat", "1\n0\n32\n");
    SaveText("text_fields", "mixed.dat", "\"a, quoted\" field,2.5e1\t3.7 -12 &H1F &o17 &B101\r\n");
    SaveText("text_fields", "long.dat", "123456789012345678901234567890,-2147483648,1e39,.5,+-3\n");
    SaveText("text_fields", "quote.dat", "\"unclosed quote, to the end");
}

void LevelSeeds(const fs::path &source) {
    std::ifstream in(source / "Data/level1.dat", std::ios::binary);
    const Bytes level{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Save("level_file", "level1.dat", level);
    Save("level_file", "short.dat", Bytes(level.begin(), level.begin() + level.size() / 3));
    SaveText("level_file", "wild.dat", "1e38,-1e38,nan,inf,\"7\",7.5e-3\n3,3,3\n");
}

void HiScoreSeeds() {
    for (const std::string score : {"0", "5", "12345", "9999995"}) {
        std::string line = score;
        halvane::ScrambleText(std::span<char>(line.data(), line.size()), halvane::HiScoreKey);
        SaveText("hiscore", "hs" + score + ".dat", line + "\r\n");
    }
    SaveText("hiscore", "plain.dat", "12345\r\n");
    SaveText("hiscore", "hex.dat", "&H7FFFFFFF\r\n");
}

// The shipped font sheet again as a 1-bit BMP (background and ink), a tenth of
// its size, so that the fuzzer mutates its markers and glyphs quickly.
void FontSeeds(const fs::path &source) {
    halvane::OpenOffscreenPages(32);
    halvane::SetPages(1, 0);
    halvane::ClearWorkPage();
    if (halvane::LoadImageFile((source / "Graphics/zqfont.fnt").c_str()) != halvane::kImageLoaded) {
        std::fprintf(stderr, "make_seeds: the font sheet did not load\n");
        return;
    }
    const int32_t background = halvane::ReadPixel(277, 1);
    Bytes sheet = Bmp(300, 188, 1, 2, [&](int x, int y) {
        return uint32_t(halvane::ReadPixel(float(x), float(y)) != background);
    });
    Put32(sheet, 54, 0xFF00FF);
    Put32(sheet, 58, 0xFFFFFF);
    Save("font", "sheet1.bmp", sheet);
}

// A short sound in our format, one with a chunk of another kind before its
// samples, and the shipped select effect.
void SoundSeeds(const fs::path &source) {
    fs::create_directories(Root / "sound_file");
    const std::array<int16_t, 6> samples{0, 1200, -3400, 32767, -32768, 5};
    halvane::WriteSoundFile((Root / "sound_file" / "short.wav").c_str(), {samples.data(), 6});
    std::ifstream in(Root / "sound_file" / "short.wav", std::ios::binary);
    Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const Bytes list{'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};
    bytes.insert(bytes.begin() + 36, list.begin(), list.end());
    Save("sound_file", "chunk.wav", bytes);
    std::error_code ignored; // without the shipped sounds, the two above do
    fs::copy_file(source / "Sound/fx_menu_select.wav", Root / "sound_file" / "select.wav",
                  fs::copy_options::overwrite_existing, ignored);
}

// A short recording made by the recorder itself (a screen, polls with a
// busy wait among them, the clock, a page hash, the end), the bare events of
// a frame for the direct reading, and the committed recordings of real play.
void ReplaySeeds(const fs::path &source) {
    using namespace halvane;
    fs::create_directories(Root / "replay");
    const fs::path made = Root / "replay" / "made.hrp";
    if (StartRecording(made.c_str(), "seed")) {
        RecordScreenOpen(32, 0, true);
        for (int i = 0; i < 3; ++i) {
            RecordClock(1000.0 + i * 0.022);
            RecordMouse(true, 300 + i, 200, 0, i == 2 ? 4 : 0);
            for (int k = 0; k < 50; ++k)
                RecordKeyDown(31, true);
            RecordKeyDown(28, i == 1);
            RecordWait(ReplayEvent::WaitFrame, 0, 1000.01 + i * 0.022);
            RecordScreenshot(i + 1);
        }
        ReplayProgramEnds(0);
    }
    EventWriter writer;
    std::array<uint8_t, 2 * kMaxEventBytes> out;
    Bytes events;
    const auto add = [&](const ReplayRecord &e) {
        const std::size_t n = WriteEvent(writer, e, out);
        events.insert(events.end(), out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n));
    };
    for (int i = 0; i < 4; ++i) {
        add({ReplayEvent::Clock, 0, false, 0, 0, 0, 0, 1000000 + 22000 * i, 0});
        add({ReplayEvent::KeyDown, 57, i % 2 == 0, 0, 0, 0, 0, 0, 0});
        add({ReplayEvent::Mouse, 0, true, 310 + i, 4, 0, 1, 0, 0});
        add({ReplayEvent::PresentPage, 0, false, 0, 0, 0, 0, 1016000 + 22000 * i, 0});
    }
    add({ReplayEvent::PageHash, 0, false, 0, 0, 0, 0, 0, 0x0123456789ABCDEFULL});
    const std::size_t n = EndRun(writer, out);
    events.insert(events.end(), out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n));
    Save("replay", "events.bin", events);
    std::error_code ignored;
    for (const auto &entry : fs::directory_iterator(source / "tests/replay/recordings", ignored))
        fs::copy_file(entry.path(), Root / "replay" / entry.path().filename(),
                      fs::copy_options::overwrite_existing, ignored);
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_seeds <corpus folder> <source folder>\n");
        return 2;
    }
    Root = argv[1];
    const fs::path source = argv[2];
    ImageSeeds();
    TextSeeds();
    LevelSeeds(source);
    HiScoreSeeds();
    FontSeeds(source);
    SoundSeeds(source);
    ReplaySeeds(source);
    return 0;
}
