// Picture files onto the page and the page into files: BMP and raw images, screenshots.
#include <tuple>

#include "bmp_file.h"
#include "core/game_state.h"
#include "platform/image_file.h"
#include "platform/screen.h"
#include "temp_dir.h"

namespace halvane {
namespace {

// An asymmetric colour for every pixel, so that a flip or a channel swap shows.
uint32_t Pattern(int x, int y) {
    return uint32_t(x * 3 + y) % 256 << 16 | uint32_t(y * 5) % 256 << 8 | uint32_t(x ^ y) % 256;
}

class ImageFileTest : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        OpenOffscreenPages(32);
        ScreenshotNumber = 1;
    }
    int Load(const std::vector<uint8_t> &bytes) {
        WriteBytes("pic.bgr", bytes);
        return LoadImageFile("pic.bgr");
    }
    static std::vector<uint8_t> Page() {
        return {PagePixels(WorkPageIndex()), PagePixels(WorkPageIndex()) + 640 * 480 * 4};
    }
    // Pixels that differ from inside(x, y) within w x h and from outside(x, y) beyond.
    static int WrongPixels(
        int w, int h, const PixelOf &inside, const PixelOf &outside = [](int, int) { return 0u; }) {
        int wrong = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                wrong += uint32_t(ReadPixel(x, y)) != (x < w && y < h ? inside : outside)(x, y);
        return wrong;
    }
};

TEST_F(ImageFileTest, TrueColourPicturesLoadExactlyAndTouchOnlyTheirPart) {
    // What lies beyond the page's right and bottom edges is skipped.
    ASSERT_EQ(Load(MakeBmp(700, 500, 24, Pattern)), kImageLoaded);
    EXPECT_EQ(WrongPixels(640, 480, Pattern), 0);
    // 32 bits are copied as they are, top byte included.
    auto withTop = [](int x, int y) { return 0xAB000000u | Pattern(x, y); };
    ASSERT_EQ(Load(MakeBmp(20, 10, 32, withTop)), kImageLoaded);
    EXPECT_EQ(WrongPixels(20, 10, withTop, Pattern), 0);
    // Rows too wide to read whole are read up to the page's edge.
    auto shifted = [](int x, int y) { return Pattern(x + 1, y); };
    ASSERT_EQ(Load(MakeBmp(23000, 3, 24, shifted)), kImageLoaded);
    EXPECT_EQ(
        WrongPixels(640, 3, shifted,
                    [&](int x, int y) { return x < 20 && y < 10 ? withTop(x, y) : Pattern(x, y); }),
        0);
}

TEST_F(ImageFileTest, IndexedPicturesLookUpTheColourTable) {
    std::vector<uint32_t> table(16);
    for (uint32_t i = 0; i < 16; ++i)
        table[i] = 0x110307 * i;
    for (int bits : {8, 4, 3, 1}) { // an odd width pads the rows; 3 bits straddle bytes
        auto index = [&](int x, int y) { return uint32_t(x * 7 + y) % std::min(16, 1 << bits); };
        ASSERT_EQ(Load(MakeBmp(37, 11, bits, index, table)), kImageLoaded);
        EXPECT_EQ(WrongPixels(37, 11, [&](int x, int y) { return table[index(x, y)]; }), 0) << bits;
    }
    // A short table reads missing entries as black, not as the last table's.
    ClearWorkPage();
    auto twoIndices = [](int x, int) { return x == 0 ? 1u : 5u; };
    ASSERT_EQ(Load(MakeBmp(4, 2, 8, twoIndices, {0x111111, 0x222222})), kImageLoaded);
    EXPECT_EQ(WrongPixels(4, 2, [](int x, int) { return x == 0 ? 0x222222u : 0u; }), 0);
    // A 16-bit page gets converted colours, widened back by ReadPixel.
    OpenOffscreenPages(16);
    ASSERT_EQ(Load(MakeBmp(2, 1, 8, [](int x, int) { return x + 0u; }, {0x00FF00, 0x102030})),
              kImageLoaded);
    EXPECT_EQ(WrongPixels(2, 1, [](int x, int) { return x ? 0x102031u : 0xFF00u; }), 0);
}

TEST(ImageFileNoScreen, RefusedBeforeTheScreenOpens) {
    EXPECT_EQ(LoadImageFile("anything.bmp"), kImageNoScreenOrDepth);
}

// Refused, empty, hostile and cut-off files: each gives its code and leaves
// the page as it was (the sanitizer build runs these too).
TEST_F(ImageFileTest, BadFilesLeaveThePage) {
    const auto good = MakeBmp(10, 10, 24, Pattern);
    // Each case patches `size` bytes at `at` with `value`, little-endian, or with
    // size 0 cuts the file to `at` bytes, and must give `code`.
    const std::tuple<const char *, std::size_t, int, uint32_t, int> cases[] = {
        {"16 bits", 28, 2, 16, kImageNoScreenOrDepth},
        {"most negative height", 22, 4, 0x80000000, kImageLoaded},
        {"empty file", 0, 0, 0, kImageBadFile},
        {"header cut short", 20, 0, 0, kImageBadFile},
        {"rows cut off", good.size() - 5, 0, 0, kImageBadFile},
        {"not BM", 1, 1, 'X', kImageBadFile},
        {"12 bits", 28, 2, 12, kImageBadFile},
        {"negative width", 18, 4, uint32_t(-5), kImageBadFile},
        {"huge width", 18, 4, 0x7FFFFFFF, kImageBadFile},
        {"huge height", 22, 4, 0x7FFFFFFF, kImageBadFile},
        {"pixels at the very end", 10, 4, uint32_t(good.size()), kImageBadFile},
        {"huge offset", 10, 4, 0xFFFFFFFF, kImageBadFile},
    };
    FillBox(0, 0, 639, 479, 0x445566);
    const auto before = Page();
    for (const auto &[what, at, size, value, code] : cases) {
        auto bytes = good;
        if (size == 0) bytes.resize(at);
        for (int i = 0; i < size; ++i)
            bytes[at + i] = uint8_t(value >> (8 * i));
        EXPECT_EQ(Load(bytes), code) << what;
        EXPECT_TRUE(Page() == before) << what;
    }
    EXPECT_EQ(LoadImageFile("missing.bmp"), kImageCannotOpen);
    EXPECT_EQ(Load({0xFE, 1, 2}), kImageBadFile); // a raw header cut short
    EXPECT_TRUE(Page() == before);
}

TEST_F(ImageFileTest, RawImagesCopyWhatTheyHoldAndThePageTakes) {
    // The long header: 0xFE, then a 32-bit length, here more than the page holds.
    std::vector<uint8_t> raw(5 + 640 * 480 * 4 + 1024);
    for (std::size_t i = 0; i < raw.size(); ++i)
        raw[i] = uint8_t(i * 7 + i / 3);
    raw[0] = 0xFE;
    Put32(raw, 1, 0xFFFFFFFF);
    ASSERT_EQ(Load(raw), kImageLoaded);
    Put32(raw, 1, 640 * 480 * 4);
    raw.resize(5 + 640 * 480 * 4);
    EXPECT_TRUE(std::equal(raw.begin() + 5, raw.end(), PagePixels(0)));
    // Saved under any name but .bmp, the page goes out the same way.
    ASSERT_TRUE(SaveScreenImage("page.bmpx"));
    EXPECT_TRUE(ReadBytes("page.bmpx") == raw);
    // The short header: 0xFD, segment, offset, then a 16-bit length.
    OpenOffscreenPages(16);
    ASSERT_EQ(Load({0xFD, 9, 9, 9, 9, 6, 0, 1, 2, 3, 4, 5, 6, 7, 8}), kImageLoaded);
    EXPECT_EQ(std::vector<uint8_t>(PagePixels(0), PagePixels(0) + 8),
              (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 0, 0}));
}

// The file a shot of a page showing pixel(x, y) must be: a 24-bit BMP at 72 dots per inch.
std::vector<uint8_t> Shot(const PixelOf &pixel) {
    auto b = MakeBmp(640, 480, 24, pixel);
    Put32(b, 34, 640 * 480 * 3);
    Put32(b, 38, 2834), Put32(b, 42, 2834);
    return b;
}

TEST_F(ImageFileTest, ShotsAreExactBmpsOfThePageAndNeverReplaceAnEarlierOne) {
    // The top byte of a 32-bit pixel is dropped.
    ASSERT_EQ(Load(MakeBmp(640, 480, 32, [](int x, int y) { return 0xAB000000u | Pattern(x, y); })),
              kImageLoaded);
    WriteText("screenshot2.bmp", "from an earlier run");
    TakeScreenshot();
    EXPECT_EQ(ScreenshotNumber, 1); // the caller adds 1
    EXPECT_TRUE(ReadBytes("screenshot1.bmp") == Shot(Pattern));
    ++ScreenshotNumber;
    TakeScreenshot();
    EXPECT_EQ(ScreenshotNumber, 3);
    EXPECT_EQ(ReadBytes("screenshot2.bmp").size(), 19u);
    EXPECT_TRUE(ReadBytes("screenshot3.bmp") == Shot(Pattern));
    // A 16-bit page is widened; the extension may be in capitals.
    OpenOffscreenPages(16);
    FillBox(0, 0, 639, 479, 0x102030);
    FillBox(10, 20, 10, 20, 0xFFFFFF);
    ASSERT_TRUE(SaveScreenImage("wide.BMP"));
    EXPECT_TRUE(ReadBytes("wide.BMP") ==
                Shot([](int x, int y) { return x == 10 && y == 20 ? 0xFFFFFFu : 0x102031u; }));
}

} // namespace
} // namespace halvane
