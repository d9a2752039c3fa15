// Opening the screen, the page roles, presenting and reading pixels back.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/screen/screen_test_util.h"

namespace halvane {
namespace {

TEST(ScreenOpen, DepthPicksPageLayoutAndUnsupportedDepthsGetThirtyTwoBits) {
    const int depths[] = {15, 16, 24, 32, 0, 8, -1, 99};
    const int expected[] = {2, 2, 4, 4, 4, 4, 4, 4};
    for (int i = 0; i < 8; ++i) {
        OpenOffscreenPages(depths[i]);
        EXPECT_EQ(ScreenBytesPerPixel(), expected[i]) << "depth " << depths[i];
        EXPECT_EQ(WorkPageIndex(), 0);
        EXPECT_EQ(VisiblePageIndex(), 0);
    }
}

TEST(ScreenOpen, OpenScreenAsksTheDisplayForTheKindAndDepth) {
    EXPECT_EQ(ScreenBytesPerPixel(), 0);
    StandInOpens = true;
    EXPECT_TRUE(OpenScreen(16, 1));
    EXPECT_EQ(StandInOpenedBytesPerPixel, 2);
    EXPECT_TRUE(StandInFullScreen);
    EXPECT_TRUE(OpenScreen(7, 0));
    EXPECT_EQ(StandInOpenedBytesPerPixel, 4);
    EXPECT_FALSE(StandInFullScreen);
    EXPECT_TRUE(ScreenIsOpen());
}

TEST(ScreenOpen, WithoutADisplayNothingDrawsAndPixelsReadMinusOne) {
    StandInOpens = false;
    StandInPresentCount = 0;
    EXPECT_FALSE(OpenScreen(32, 0));
    EXPECT_FALSE(ScreenIsOpen());
    FillBox(0, 0, 639, 479, 0xFFFFFF);
    DrawLine(0, 0, 639, 479, 0xFFFFFF);
    DrawArc(320, 240, 100, 0xFFFFFF, 0, 6.3f);
    auto image = std::vector<uint8_t>{8 * 2 + 4, 0, 2, 0,  1,  2,  3,  4,  5,  6,
                                      7,         8, 9, 10, 11, 12, 13, 14, 15, 16};
    PutImage(0, 0, image, kPutOpaque, 0);
    for (int page = 0; page < 2; ++page)
        for (int i = 0; i < 640 * 480 * 4; ++i)
            ASSERT_EQ(PagePixels(page)[i], 0);
    EXPECT_EQ(ReadPixel(0, 0), -1);
    WaitRetrace();
    EXPECT_EQ(StandInPresentCount, 0);
}

class ScreenPages : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override { OpenOffscreenPages(GetParam()); }
};

TEST_P(ScreenPages, DrawingGoesToTheWorkPageAndCopyShowsIt) {
    SetPages(1, 0);
    FillBox(10, 20, 10, 20, 0x00FF00);
    EXPECT_EQ(RawPixel(10, 20), NativeColour(0x00FF00));
    SetPages(0, 1);
    EXPECT_EQ(RawPixel(10, 20), 0u);

    // Copy goes from whichever page works to whichever is shown.
    SetPages(1, 0);
    CopyWorkPage();
    SetPages(0, 1);
    EXPECT_EQ(RawPixel(10, 20), NativeColour(0x00FF00));

    ClearWorkPage();
    EXPECT_EQ(RawPixel(10, 20), 0u);
    SetPages(1, 0);
    EXPECT_EQ(RawPixel(10, 20), NativeColour(0x00FF00));

    // Pages other than 0 and 1 are refused.
    SetPages(2, -1);
    EXPECT_EQ(WorkPageIndex(), 1);
    EXPECT_EQ(VisiblePageIndex(), 0);
}

TEST_P(ScreenPages, VisibleChangesAreCountedButHiddenDrawingIsNot) {
    SetPages(1, 0);
    uint32_t count = VisibleChangeCount();
    FillBox(0, 0, 5, 5, 0xFFFFFF);
    DrawLine(0, 0, 5, 5, 0xFF);
    ClearWorkPage();
    SetPages(1, 0);
    EXPECT_EQ(VisibleChangeCount(), count);

    CopyWorkPage();
    EXPECT_NE(VisibleChangeCount(), count);
    count = VisibleChangeCount();
    SetPages(0, 1);
    EXPECT_NE(VisibleChangeCount(), count);
    count = VisibleChangeCount();
    SetPages(1, 1);
    FillBox(0, 0, 0, 0, 0xFF);
    EXPECT_NE(VisibleChangeCount(), count);
}

TEST_P(ScreenPages, ReadPixelWidensAndRefusesOutsidePoints) {
    FillBox(3, 4, 3, 4, 0xFF0000);
    FillBox(5, 4, 5, 4, 0x00FF00);
    FillBox(7, 4, 7, 4, 0x0000FF);
    FillBox(9, 4, 9, 4, 0x123456);
    EXPECT_EQ(ReadPixel(3, 4), 0xFF0000);
    EXPECT_EQ(ReadPixel(5, 4), 0x00FF00);
    EXPECT_EQ(ReadPixel(7, 4), 0x0000FF);
    // 0x12 0x34 0x56 loses its low bits at 16 bits and the top bits repeat.
    EXPECT_EQ(ReadPixel(9, 4), GetParam() == 16 ? 0x103452 : 0x123456);
    EXPECT_EQ(ReadPixel(2.5f, 4.49f), 0xFF0000);
    EXPECT_EQ(ReadPixel(640, 0), -1);
    EXPECT_EQ(ReadPixel(0, 480), -1);
    EXPECT_EQ(ReadPixel(-0.5f, 0), -1);
    EXPECT_EQ(ReadPixel(-0.49f, 0), 0);
    EXPECT_EQ(ReadPixel(NAN, 0), -1);
    EXPECT_EQ(ReadPixel(1e30f, 0), -1);
}

INSTANTIATE_TEST_SUITE_P(Depths, ScreenPages, ::testing::Values(16, 32));

TEST(ScreenPresent, WaitRetraceShowsTheVisiblePageWithItsChangeCount) {
    StandInOpens = true;
    StandInPresentCount = 0;
    ASSERT_TRUE(OpenScreen(16, 0));
    SetPages(1, 0);
    WaitRetrace();
    EXPECT_EQ(StandInPresentCount, 1);
    EXPECT_EQ(StandInLastPage.pixels, PagePixels(0));
    EXPECT_EQ(StandInLastPage.bytesPerPixel, 2);
    EXPECT_EQ(StandInLastChange, VisibleChangeCount());
    SetPages(0, 1);
    WaitRetrace();
    EXPECT_EQ(StandInLastPage.pixels, PagePixels(1));

    // Offscreen pages are presented as well, at their own depth.
    OpenOffscreenPages(32);
    WaitRetrace();
    EXPECT_EQ(StandInPresentCount, 3);
    EXPECT_EQ(StandInLastPage.bytesPerPixel, 4);
}

TEST(ScreenColour, SixteenBitColoursDropTheLowBitsOfEachChannel) {
    OpenOffscreenPages(16);
    EXPECT_EQ(NativeColour(0xFF0000), 0xF800u);
    EXPECT_EQ(NativeColour(0x00FF00), 0x07E0u);
    EXPECT_EQ(NativeColour(0x0000FF), 0x001Fu);
    EXPECT_EQ(NativeColour(0x070307), 0x0000u);
    EXPECT_EQ(NativeColour(0x081C08), 0x08E1u);
    OpenOffscreenPages(32);
    EXPECT_EQ(NativeColour(0x123456), 0x123456u);
}

} // namespace
} // namespace halvane
