#include <algorithm>
#include <array>
#include <cstring>
#include <functional>

#include "core/image.h"
#include "platform/image_file.h"
#include "platform/screen.h"
#include "temp_dir.h"

namespace halvane {
namespace {

// A BMP as the tests write it. `pixel(x, y)` gives the value of screen pixel
// (x, y): a colour-table index for 1..8 bits, else 0xAARRGGBB.
struct BmpSpec {
    int32_t width = 0;
    int32_t height = 0;
    int bits = 24;
    std::vector<uint32_t> table; // colours 0x00RRGGBB
    std::function<uint32_t(int, int)> pixel = [](int, int) { return 0u; };
};

void Put32(std::vector<uint8_t> &b, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

std::vector<uint8_t> MakeBmp(const BmpSpec &s) {
    const int64_t rowBytes = (int64_t{s.width} * s.bits + 31) / 32 * 4;
    const int64_t rows = s.height < 0 ? -int64_t{s.height} : s.height;
    const std::size_t offset = 54 + s.table.size() * 4;
    std::vector<uint8_t> b(offset + static_cast<std::size_t>(rowBytes * rows), 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    Put32(b, 10, static_cast<uint32_t>(offset));
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<uint32_t>(s.width));
    Put32(b, 22, static_cast<uint32_t>(s.height));
    b[26] = 1;
    b[28] = static_cast<uint8_t>(s.bits);
    for (std::size_t i = 0; i < s.table.size(); ++i)
        Put32(b, 54 + i * 4, s.table[i]); // blue, green, red, reserved
    for (int64_t r = 0; r < rows; ++r) {
        const int y = static_cast<int>(rows - 1 - r); // bottom row first
        uint8_t *row = b.data() + offset + r * rowBytes;
        for (int x = 0; x < s.width; ++x) {
            const uint32_t v = s.pixel(x, y);
            if (s.bits == 32) {
                std::memcpy(row + x * 4, &v, 4);
            } else if (s.bits == 24) {
                row[x * 3] = static_cast<uint8_t>(v);
                row[x * 3 + 1] = static_cast<uint8_t>(v >> 8);
                row[x * 3 + 2] = static_cast<uint8_t>(v >> 16);
            } else {
                for (int bit = 0; bit < s.bits; ++bit) {
                    const int at = x * s.bits + bit;
                    if (v & (1u << (s.bits - 1 - bit))) row[at / 8] |= 0x80 >> (at % 8);
                }
            }
        }
    }
    return b;
}

// An asymmetric colour for every pixel, so that a flip or a channel swap shows.
uint32_t Pattern(int x, int y) {
    return (static_cast<uint32_t>(x * 3 + y) & 0xFF) << 16 |
           (static_cast<uint32_t>(y * 5) & 0xFF) << 8 | (static_cast<uint32_t>(x ^ y) & 0xFF);
}

std::vector<uint8_t> PageCopy() {
    const uint8_t *p = PagePixels(WorkPageIndex());
    return {p, p + kScreenWidth * kScreenHeight * ScreenBytesPerPixel()};
}

class ImageLoadTest : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        OpenOffscreenPages(32);
    }
    int Load(const std::vector<uint8_t> &bytes) {
        WriteBytes("pic.bgr", bytes);
        return LoadImageFile("pic.bgr");
    }
    // Every page pixel inside w x h must be expect(x, y), every pixel outside
    // must be the colour the page was filled with.
    void ExpectPicture(int w, int h, const std::function<uint32_t(int, int)> &expect,
                       uint32_t outside) {
        int wrong = 0;
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x) {
                const uint32_t want = (x < w && y < h) ? expect(x, y) : outside;
                if (static_cast<uint32_t>(ReadPixel(x, y)) != want && ++wrong < 5)
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex
                                  << ReadPixel(x, y) << " not " << want;
            }
        EXPECT_EQ(wrong, 0);
    }
};

TEST_F(ImageLoadTest, TrueColourPicturesLoadExactly) {
    // 24 bits leave the top byte 0 (ReadPixel shows all 32 bits of the page).
    ASSERT_EQ(Load(MakeBmp({640, 480, 24, {}, Pattern})), kImageLoaded);
    ExpectPicture(640, 480, Pattern, 0);
    // 32 bits are copied as they are, top byte included.
    auto withTop = [](int x, int y) { return 0xAB000000u | Pattern(x, y); };
    OpenOffscreenPages(32);
    ASSERT_EQ(Load(MakeBmp({20, 10, 32, {}, withTop})), kImageLoaded);
    ExpectPicture(20, 10, withTop, 0);
}

TEST_F(ImageLoadTest, IndexedPicturesLookUpTheColourTable) {
    std::vector<uint32_t> table(16);
    for (uint32_t i = 0; i < 16; ++i)
        table[i] = 0x110000 * i + 0x000300 * i + 0x000007 * i;
    // Odd widths exercise the row padding and pixels that straddle bytes.
    for (int bits : {8, 4, 3, 1}) {
        SCOPED_TRACE(bits);
        auto index = [&](int x, int y) {
            return static_cast<uint32_t>(x * 7 + y) % std::min(16u, 1u << bits);
        };
        ASSERT_EQ(Load(MakeBmp({37, 11, bits, table, index})), kImageLoaded);
        ExpectPicture(
            37, 11, [&](int x, int y) { return table[index(x, y)]; }, 0);
    }
}

TEST_F(ImageLoadTest, SmallAndLargePicturesTouchOnlyThePage) {
    FillBox(0, 0, 639, 479, 0x445566);
    ASSERT_EQ(Load(MakeBmp({100, 50, 24, {}, Pattern})), kImageLoaded);
    ExpectPicture(100, 50, Pattern, 0x445566);
    ASSERT_EQ(Load(MakeBmp({700, 500, 24, {}, Pattern})), kImageLoaded);
    ExpectPicture(640, 480, Pattern, 0);
}

TEST_F(ImageLoadTest, SixteenBitPageGetsConvertedColours) {
    OpenOffscreenPages(16);
    const std::vector<uint32_t> table = {0xFF0000, 0x00FF00, 0x0000FF, 0x102030};
    ASSERT_EQ(Load(MakeBmp({4, 1, 8, table, [](int x, int) { return x + 0u; }})), kImageLoaded);
    // ReadPixel widens 5-6-5 back by repeating the top bits.
    ExpectPicture(
        4, 1,
        [](int x, int) {
            return std::array{0xFF0000u, 0xFF00u, 0xFFu, 0x102031u}[x];
        },
        0);
}

TEST(ImageLoadNoScreen, RefusedBeforeTheScreenOpens) {
    EXPECT_EQ(LoadImageFile("anything.bmp"), kImageNoScreenOrDepth);
}

// Refused, empty, hostile and cut-off files: each gives its code and leaves
// the page as it was, and none reads or writes outside its buffers (the
// sanitizer build runs these too).
TEST_F(ImageLoadTest, BadFilesLeaveThePage) {
    const auto good = MakeBmp({10, 10, 24, {}, Pattern});
    struct Case {
        const char *what;
        std::size_t at; // first byte to patch, or the length to cut the file to
        int size;       // bytes patched, little-endian; 0 cuts the file
        uint32_t value;
        int code;
    };
    const Case cases[] = {
        {"16 bits", 28, 2, 16, kImageNoScreenOrDepth},
        {"15 bits", 28, 2, 15, kImageNoScreenOrDepth},
        {"top-down rows", 22, 4, static_cast<uint32_t>(-10), kImageLoaded},
        {"most negative height", 22, 4, 0x80000000, kImageLoaded},
        {"no rows", 22, 4, 0, kImageLoaded},
        {"empty file", 0, 0, 0, kImageBadFile},
        {"unknown first byte", 0, 1, 'X', kImageBadFile},
        {"only the first byte", 1, 0, 0, kImageBadFile},
        {"header cut short", 20, 0, 0, kImageBadFile},
        {"rows cut off", good.size() - 5, 0, 0, kImageBadFile},
        {"not BM", 1, 1, 'X', kImageBadFile},
        {"info header of 12", 14, 4, 12, kImageBadFile},
        {"compressed", 30, 4, 1, kImageBadFile},
        {"zero bits", 28, 2, 0, kImageBadFile},
        {"12 bits", 28, 2, 12, kImageBadFile},
        {"65535 bits", 28, 2, 0xFFFF, kImageBadFile},
        {"zero width", 18, 4, 0, kImageBadFile},
        {"negative width", 18, 4, static_cast<uint32_t>(-5), kImageBadFile},
        {"huge width", 18, 4, 0x7FFFFFFF, kImageBadFile},
        {"huge height", 22, 4, 0x7FFFFFFF, kImageBadFile},
        {"pixels beyond the end", 10, 4, 1000000, kImageBadFile},
        {"pixels at the very end", 10, 4, static_cast<uint32_t>(good.size()), kImageBadFile},
        {"pixels inside the header", 10, 4, 20, kImageBadFile},
        {"huge offset", 10, 4, 0xFFFFFFFF, kImageBadFile},
    };
    FillBox(0, 0, 639, 479, 0x445566);
    const auto before = PageCopy();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto bytes = good;
        if (c.size == 0) bytes.resize(c.at);
        for (int i = 0; i < c.size; ++i)
            bytes[c.at + i] = static_cast<uint8_t>(c.value >> (8 * i));
        EXPECT_EQ(Load(bytes), c.code);
        EXPECT_EQ(PageCopy(), before);
    }
    EXPECT_EQ(LoadImageFile("missing.bmp"), kImageCannotOpen);
    EXPECT_EQ(Load({0xFD, 1, 2, 3}), kImageBadFile);
    EXPECT_EQ(Load({0xFE, 1, 2}), kImageBadFile);
    EXPECT_EQ(PageCopy(), before);
}

TEST_F(ImageLoadTest, ShortColourTableReadsMissingEntriesAsBlack) {
    auto index = [](int x, int) { return x == 0 ? 1u : 200u; };
    ASSERT_EQ(Load(MakeBmp({4, 2, 8, {0x111111, 0x222222}, index})), kImageLoaded);
    ExpectPicture(
        4, 2, [](int x, int) { return x == 0 ? 0x222222u : 0u; }, 0);
}

std::vector<uint8_t> RawLong(uint32_t length, std::size_t dataBytes) {
    std::vector<uint8_t> b(5 + dataBytes);
    b[0] = 0xFE;
    Put32(b, 1, length);
    for (std::size_t i = 0; i < dataBytes; ++i)
        b[5 + i] = static_cast<uint8_t>(i * 7 + i / 3);
    return b;
}

TEST_F(ImageLoadTest, RawImagesCopyWhatTheyHoldAndThePageTakes) {
    const auto full = RawLong(1228800, 1228800 + 1024); // pixels and a palette
    ASSERT_EQ(Load(full), kImageLoaded);
    EXPECT_EQ(PageCopy(), std::vector<uint8_t>(full.begin() + 5, full.begin() + 5 + 1228800));
    // Claims more than the file holds: the bytes there are copied.
    FillBox(0, 0, 639, 479, 0x445566);
    const auto shortRaw = RawLong(5000, 100);
    ASSERT_EQ(Load(shortRaw), kImageLoaded);
    EXPECT_TRUE(std::equal(shortRaw.begin() + 5, shortRaw.end(), PagePixels(WorkPageIndex())));
    EXPECT_EQ(ReadPixel(25, 0), 0x445566);
    // Claims far more than the page: the page is filled and nothing beyond.
    ASSERT_EQ(Load(RawLong(0xFFFFFFFF, 1228800 + 16)), kImageLoaded);

    // The short header: 0xFD, segment, offset, then a 16-bit length.
    OpenOffscreenPages(16);
    std::vector<uint8_t> shortHeader = {0xFD, 9, 9, 9, 9, 6, 0, 1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(Load(shortHeader), kImageLoaded);
    EXPECT_EQ(std::vector<uint8_t>(PagePixels(WorkPageIndex()), PagePixels(WorkPageIndex()) + 8),
              (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 0, 0}));
}

} // namespace
} // namespace halvane
