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

uint32_t PageWord(int x, int y) {
    uint32_t v;
    std::memcpy(&v, PagePixels(WorkPageIndex()) + (y * kScreenWidth + x) * 4, 4);
    return v;
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

TEST_F(ImageLoadTest, FullScreen24BitPictureLoadsExactly) {
    ASSERT_EQ(Load(MakeBmp({640, 480, 24, {}, Pattern})), kImageLoaded);
    ExpectPicture(640, 480, Pattern, 0);
    EXPECT_EQ(PageWord(639, 479) >> 24, 0u);
}

TEST_F(ImageLoadTest, ThirtyTwoBitPixelsKeepTheirTopByte) {
    auto withTop = [](int x, int y) { return 0xAB000000u | Pattern(x, y); };
    ASSERT_EQ(Load(MakeBmp({20, 10, 32, {}, withTop})), kImageLoaded);
    EXPECT_EQ(PageWord(0, 0), withTop(0, 0));
    EXPECT_EQ(PageWord(19, 9), withTop(19, 9));
    EXPECT_EQ(PageWord(7, 3), withTop(7, 3));
}

TEST_F(ImageLoadTest, IndexedPicturesLookUpTheColourTable) {
    std::vector<uint32_t> table;
    for (uint32_t i = 0; i < 16; ++i)
        table.push_back(0x110000 * i + 0x000300 * i + 0x000007 * i);
    auto index = [](int x, int y) { return static_cast<uint32_t>(x * 7 + y) % 16; };
    auto colour = [&](int x, int y) { return table[index(x, y)]; };

    ASSERT_EQ(Load(MakeBmp({33, 9, 8, table, index})), kImageLoaded);
    ExpectPicture(33, 9, colour, 0);
    // Odd widths exercise the row padding and pixels that straddle bytes.
    for (int bits : {4, 3, 5}) {
        SCOPED_TRACE(bits);
        OpenOffscreenPages(32);
        auto limited = [&](int x, int y) { return table[index(x, y) % (1u << bits)]; };
        auto limitedIndex = [&](int x, int y) { return index(x, y) % (1u << bits); };
        ASSERT_EQ(Load(MakeBmp({37, 11, bits, table, limitedIndex})), kImageLoaded);
        ExpectPicture(37, 11, limited, 0);
    }
    OpenOffscreenPages(32);
    auto bit = [](int x, int y) { return static_cast<uint32_t>((x * x + y) % 3 == 0); };
    ASSERT_EQ(Load(MakeBmp({13, 5, 1, {0x0000FF, 0xFFFF00}, bit})), kImageLoaded);
    ExpectPicture(
        13, 5, [&](int x, int y) { return bit(x, y) ? 0xFFFF00u : 0x0000FFu; }, 0);
}

TEST_F(ImageLoadTest, PixelThreeOfAnEightBitFileIsTableEntryThree) {
    std::vector<uint32_t> table(16, 0x123456);
    table[3] = 0xC0FFEE;
    ASSERT_EQ(Load(MakeBmp({4, 4, 8, table, [](int, int) { return 3u; }})), kImageLoaded);
    EXPECT_EQ(ReadPixel(2, 2), 0xC0FFEE);
}

TEST_F(ImageLoadTest, SmallPictureLeavesTheRestOfThePage) {
    FillBox(0, 0, 639, 479, 0x445566);
    ASSERT_EQ(Load(MakeBmp({100, 50, 24, {}, Pattern})), kImageLoaded);
    ExpectPicture(100, 50, Pattern, 0x445566);
}

TEST_F(ImageLoadTest, LargePictureIsClippedToThePage) {
    ASSERT_EQ(Load(MakeBmp({700, 500, 24, {}, Pattern})), kImageLoaded);
    ExpectPicture(640, 480, Pattern, 0);
}

TEST_F(ImageLoadTest, SixteenBitPageGetsConvertedColours) {
    OpenOffscreenPages(16);
    const std::vector<uint32_t> table = {0xFF0000, 0x00FF00, 0x0000FF, 0x102030};
    auto index = [](int x, int y) { return static_cast<uint32_t>(x + 2 * y) % 4; };
    ASSERT_EQ(Load(MakeBmp({8, 8, 8, table, index})), kImageLoaded);
    EXPECT_EQ(ReadPixel(0, 0), 0xFF0000);
    EXPECT_EQ(ReadPixel(1, 0), 0x00FF00);
    EXPECT_EQ(ReadPixel(2, 0), 0x0000FF);
    EXPECT_EQ(ReadPixel(3, 0), 0x102031); // 5-6-5 widened back
    ASSERT_EQ(Load(MakeBmp({8, 8, 32, {}, [](int, int) { return 0xFF00FF00u; }})), kImageLoaded);
    EXPECT_EQ(ReadPixel(5, 5), 0x00FF00);
}

TEST_F(ImageLoadTest, RefusedAndEmptyPicturesLeaveThePage) {
    FillBox(0, 0, 639, 479, 0x445566);
    const auto before = PageCopy();
    EXPECT_EQ(Load(MakeBmp({10, 10, 16, {}, Pattern})), kImageNoScreenOrDepth);
    EXPECT_EQ(Load(MakeBmp({10, 10, 15, {}, Pattern})), kImageNoScreenOrDepth);
    // Top-down rows are not drawn but count as loaded.
    EXPECT_EQ(Load(MakeBmp({10, -10, 24, {}, Pattern})), kImageLoaded);
    EXPECT_EQ(Load(MakeBmp({10, 0, 24, {}, Pattern})), kImageLoaded);
    EXPECT_EQ(LoadImageFile("missing.bmp"), kImageCannotOpen);
    EXPECT_EQ(Load({}), kImageBadFile);
    EXPECT_EQ(Load({'X', 1, 2, 3}), kImageBadFile);
    EXPECT_EQ(PageCopy(), before);
}

TEST(ImageLoadNoScreen, RefusedBeforeTheScreenOpens) {
    EXPECT_EQ(LoadImageFile("anything.bmp"), kImageNoScreenOrDepth);
}

// Hostile and cut-off files: each is refused with its code or loads what is
// there, and never touches memory outside the page (run under the sanitizers).
TEST_F(ImageLoadTest, HostileBmpHeadersAreRefused) {
    const auto good = MakeBmp({10, 10, 24, {}, Pattern});
    struct Case {
        const char *what;
        std::size_t at; // byte to patch, or the length to cut the file to
        uint32_t value;
        bool cut;
        int code;
    };
    const Case cases[] = {
        {"header cut short", 20, 0, true, kImageBadFile},
        {"rows cut off", good.size() - 5, 0, true, kImageBadFile},
        {"only the first byte", 1, 0, true, kImageBadFile},
        {"not BM", 1, 'X', false, kImageBadFile},
        {"info header of 12", 14, 12, false, kImageBadFile},
        {"compressed", 30, 1, false, kImageBadFile},
        {"zero bits", 28, 0, false, kImageBadFile},
        {"12 bits", 28, 12, false, kImageBadFile},
        {"64 bits", 28, 64, false, kImageBadFile},
        {"65535 bits", 28, 0xFFFF, false, kImageBadFile},
        {"zero width", 18, 0, false, kImageBadFile},
        {"negative width", 18, static_cast<uint32_t>(-5), false, kImageBadFile},
        {"huge width", 18, 0x7FFFFFFF, false, kImageBadFile},
        {"huge height", 22, 0x7FFFFFFF, false, kImageBadFile},
        {"most negative height", 22, 0x80000000, false, kImageLoaded},
        {"pixels beyond the end", 10, 1000000, false, kImageBadFile},
        {"pixels at the very end", 10, static_cast<uint32_t>(good.size()), false, kImageBadFile},
        {"pixels inside the header", 10, 20, false, kImageBadFile},
        {"huge offset", 10, 0xFFFFFFFF, false, kImageBadFile},
    };
    FillBox(0, 0, 639, 479, 0x445566);
    const auto before = PageCopy();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto bytes = good;
        if (c.cut) {
            bytes.resize(c.at);
        } else if (c.at == 28) {
            bytes[28] = static_cast<uint8_t>(c.value);
            bytes[29] = static_cast<uint8_t>(c.value >> 8);
        } else if (c.at == 1) {
            bytes[1] = static_cast<uint8_t>(c.value);
        } else {
            Put32(bytes, c.at, c.value);
        }
        EXPECT_EQ(Load(bytes), c.code);
        EXPECT_EQ(PageCopy(), before);
    }
}

TEST_F(ImageLoadTest, ShortColourTableReadsMissingEntriesAsBlack) {
    // Two entries in the table, pixels that index far beyond it.
    auto index = [](int x, int) { return x == 0 ? 1u : 200u; };
    ASSERT_EQ(Load(MakeBmp({4, 2, 8, {0x111111, 0x222222}, index})), kImageLoaded);
    EXPECT_EQ(ReadPixel(0, 0), 0x222222);
    EXPECT_EQ(ReadPixel(1, 0), 0);
    // A pixel offset that leaves no room for a table at all.
    auto noTable = MakeBmp({4, 2, 8, {}, index});
    FillBox(0, 0, 639, 479, 0x445566);
    ASSERT_EQ(Load(noTable), kImageLoaded);
    EXPECT_EQ(ReadPixel(0, 0), 0);
    EXPECT_EQ(ReadPixel(4, 0), 0x445566);
}

std::vector<uint8_t> RawLong(uint32_t length, std::size_t dataBytes) {
    std::vector<uint8_t> b(5 + dataBytes);
    b[0] = 0xFE;
    Put32(b, 1, length);
    for (std::size_t i = 0; i < dataBytes; ++i)
        b[5 + i] = static_cast<uint8_t>(i * 7 + i / 3);
    return b;
}

TEST_F(ImageLoadTest, RawLongHeaderFillsTheWholePage) {
    const auto raw = RawLong(1228800, 1228800 + 1024); // pixels and a palette
    ASSERT_EQ(Load(raw), kImageLoaded);
    const auto page = PageCopy();
    ASSERT_EQ(page.size(), 1228800u);
    EXPECT_TRUE(std::equal(page.begin(), page.end(), raw.begin() + 5));
}

TEST_F(ImageLoadTest, RawImagesCopyOnlyWhatTheyHoldAndThePageTakes) {
    FillBox(0, 0, 639, 479, 0x445566);
    // Claims more than the file holds: the bytes there are copied.
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
    EXPECT_EQ(Load({0xFD, 1, 2, 3}), kImageBadFile);
    EXPECT_EQ(Load({0xFE, 1, 2}), kImageBadFile);
}

TEST_F(ImageLoadTest, LoadingOntoTheVisiblePageMarksItChanged) {
    SetPages(1, 0);
    const uint32_t hidden = VisibleChangeCount();
    ASSERT_EQ(Load(MakeBmp({4, 4, 24, {}, Pattern})), kImageLoaded);
    EXPECT_EQ(VisibleChangeCount(), hidden);
    SetPages(0, 0);
    const uint32_t shown = VisibleChangeCount();
    ASSERT_EQ(Load(MakeBmp({4, 4, 24, {}, Pattern})), kImageLoaded);
    EXPECT_NE(VisibleChangeCount(), shown);
}

} // namespace
} // namespace halvane
