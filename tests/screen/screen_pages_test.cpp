// Opening the screen, the page roles, presenting and reading pixels back.
#include <cmath>
#include <tuple>

#include "tests/screen/screen_test_util.h"

namespace halvane {
namespace {

TEST(ScreenOpen, DepthPicksTheLayoutFlagsTheWindowKindAndRetraceShowsTheVisiblePage) {
    EXPECT_EQ(ScreenBytesPerPixel(), 0);
    for (int depth : {15, 16, 24, 32, 0, 8, -1}) {
        OpenOffscreenPages(depth);
        EXPECT_EQ(ScreenBytesPerPixel(), depth == 15 || depth == 16 ? 2 : 4) << depth;
    }
    for (auto [depth, full, bytes] : {std::tuple(16, 1, 2), std::tuple(7, 0, 4)}) {
        EXPECT_TRUE(OpenScreen(depth, full));
        EXPECT_EQ(StandInOpenedBytesPerPixel, bytes);
        EXPECT_EQ(StandInFullScreen, full == 1);
    }
    SetPages(0, 1); // the visible page is shown with its change count
    WaitRetrace();
    EXPECT_EQ(StandInLastPage.pixels, PagePixels(1));
    EXPECT_EQ(StandInLastChange, VisibleChangeCount());
}

TEST(ScreenOpen, WithoutADisplayNothingDrawsAndPixelsReadMinusOne) {
    StandInOpens = false;
    EXPECT_FALSE(OpenScreen(32, 0));
    FillBox(0, 0, 639, 479, 0xFFFFFF);
    DrawLine(0, 0, 639, 479, 0xFFFFFF);
    DrawArc(320, 240, 100, 0xFFFFFF, 0, 6.3f);
    PutImage(0, 0, std::vector<uint8_t>{8 + 4, 0, 1, 0, 1, 2, 3, 4}, kPutOpaque, 0);
    for (int page = 0; page < 2; ++page)
        for (int i = 0; i < 640 * 480 * 4; ++i)
            ASSERT_EQ(PagePixels(page)[i], 0);
    EXPECT_EQ(ReadPixel(0, 0), -1);
    WaitRetrace();
    EXPECT_EQ(StandInPresentCount, 0);
}

using ScreenPages = ScreenAtDepth;

TEST_P(ScreenPages, DrawingGoesToTheWorkPageAndVisibleChangesAreCounted) {
    SetPages(1, 0);
    uint32_t count = VisibleChangeCount();
    FillBox(10, 20, 10, 20, 0x00FF00);
    EXPECT_EQ(VisibleChangeCount(), count); // hidden drawing
    SetPages(0, 1);
    EXPECT_NE(VisibleChangeCount(), count);
    EXPECT_EQ(RawPixel(10, 20), 0u);
    SetPages(1, 0); // copy goes from whichever page works to whichever is shown
    count = VisibleChangeCount();
    CopyWorkPage();
    EXPECT_NE(VisibleChangeCount(), count);
    SetPages(0, 0);
    EXPECT_EQ(RawPixel(10, 20), NativeColour(0x00FF00));
    count = VisibleChangeCount();
    ClearWorkPage();
    EXPECT_NE(VisibleChangeCount(), count); // drawing on the shown page
    EXPECT_EQ(RawPixel(10, 20), 0u);
    SetPages(2, -1);
    EXPECT_EQ(WorkPageIndex() + VisiblePageIndex(), 0);
}

TEST_P(ScreenPages, ReadPixelWidensAndRefusesOutsidePoints) {
    FillBox(3, 4, 3, 4, 0xFF0000);
    FillBox(9, 4, 9, 4, 0x123456);
    // 16 bits lose the low bits and widen by repeating the top ones.
    EXPECT_EQ(ReadPixel(9, 4), Wide() ? 0x123456 : 0x103452);
    EXPECT_EQ(ReadPixel(2.5f, 4.49f), 0xFF0000);
    EXPECT_EQ(ReadPixel(-0.49f, 0), 0);
    for (float x : {640.0f, -0.5f, NAN, 1e30f})
        EXPECT_EQ(ReadPixel(x, 0), -1) << x;
    EXPECT_EQ(ReadPixel(0, 480), -1);
}

INSTANTIATE_TEST_SUITE_P(Depths, ScreenPages, ::testing::Values(16, 32));

} // namespace
} // namespace halvane
