// screen.cpp -- the two pages, their roles, presenting, colours and reading a
// pixel back. The drawing primitives live in screen_line.cpp and
// screen_image.cpp and reach the pages only through screen.h.
#include "platform/screen.h"

#include <array>
#include <cmath>
#include <cstring>

#include "core/image.h"
#include "core/numbers.h"
#include "platform/display.h"
#include "platform/put_paths.h"
#include "platform/replay.h"

namespace halvane {

namespace {

constexpr std::size_t kPageBytes = std::size_t{kScreenWidth} * kScreenHeight * 4;

// Both pages are sized for 32 bits per pixel; a 16-bit screen uses the first
// half of each. Static, so nothing is allocated when the screen opens.
alignas(64) std::array<std::array<uint8_t, kPageBytes>, 2> Pages;

bool PagesOpen = false; // drawing works only while this is set
int BytesPerPixel = 0;
int WorkIndex = 0;
int VisibleIndex = 0;
uint32_t ChangeCount = 0;

void SetUpPages(int depth) {
    BytesPerPixel = (depth == 15 || depth == 16) ? 2 : 4;
    for (auto &page : Pages)
        page.fill(0);
    WorkIndex = 0;
    VisibleIndex = 0;
    PagesOpen = true;
    ++ChangeCount;
}

} // namespace

bool OpenScreen(int depth, int flags) {
    // A replay draws at the depth its run drew (the window or full screen is
    // this run's choice); a headless one opens its pages in memory only.
    if (Replaying() && !PlayScreenOpen(depth)) return false;
    SetUpPages(depth);
    if (ReplayWithoutWindow()) return true;
    const bool opened = DisplayOpen(BytesPerPixel, flags == 1);
    if (Recording()) RecordScreenOpen(depth, flags, opened);
    if (opened) return true;
    PagesOpen = false;
    BytesPerPixel = 0;
    return false;
}

void OpenOffscreenPages(int depth) {
    SetUpPages(depth);
}

void SetPages(int workPage, int visiblePage) {
    if (!PagesOpen) return;
    if ((workPage != 0 && workPage != 1) || (visiblePage != 0 && visiblePage != 1)) return;
    WorkIndex = workPage;
    if (visiblePage != VisibleIndex) {
        VisibleIndex = visiblePage;
        ++ChangeCount;
    }
}

void CopyWorkPage() {
    if (!PagesOpen) return;
    // A page copied again unchanged leaves the display nothing new to show.
    if (WorkIndex != VisibleIndex) {
        const std::size_t bytes = std::size_t{kScreenWidth} * kScreenHeight * BytesPerPixel;
        if (!CopyChangedPixels(Pages[VisibleIndex].data(), Pages[WorkIndex].data(), bytes)) return;
    }
    ++ChangeCount;
}

void WaitRetrace() {
    if (!PagesOpen) return;
    if (Replaying()) {
        PlayWait(ReplayEvent::WaitRetrace, 0);
    } else {
        ShowVisiblePage();
        if (Recording()) RecordWait(ReplayEvent::WaitRetrace, 0, DisplayClock());
    }
    ReplayPagePresented();
}

void ShowVisiblePage() {
    // Offscreen pages present too: tests and tools watch them through the
    // headless display, whose clock the refresh moves on.
    if (!PagesOpen) return;
    DisplayPresent(Page{Pages[VisibleIndex].data(), BytesPerPixel}, ChangeCount);
}

void ClearWorkPage() {
    if (!PagesOpen) return;
    std::memset(Pages[WorkIndex].data(), 0,
                std::size_t{kScreenWidth} * kScreenHeight * BytesPerPixel);
    if (WorkIndex == VisibleIndex) ++ChangeCount;
}

int32_t ReadPixel(float x, float y) {
    if (!PagesOpen || !std::isfinite(x) || !std::isfinite(y)) return -1;
    const int px = RoundHalfAway(x);
    const int py = RoundHalfAway(y);
    if (px < 0 || px >= kScreenWidth || py < 0 || py >= kScreenHeight) return -1;
    const uint8_t *at =
        Pages[WorkIndex].data() + (std::size_t{kScreenWidth} * py + px) * BytesPerPixel;
    if (BytesPerPixel == 4) {
        uint32_t value;
        std::memcpy(&value, at, 4);
        return static_cast<int32_t>(value);
    }
    uint16_t value;
    std::memcpy(&value, at, 2);
    // Widen each channel by repeating its top bits, so full red reads 0xFF.
    const uint32_t r5 = value >> 11, g6 = (value >> 5) & 0x3F, b5 = value & 0x1F;
    const uint32_t r8 = r5 * 8 + r5 / 4, g8 = g6 * 4 + g6 / 16, b8 = b5 * 8 + b5 / 4;
    return static_cast<int32_t>((r8 << 16) | (g8 << 8) | b8);
}

bool ScreenIsOpen() {
    return PagesOpen;
}

int ScreenBytesPerPixel() {
    return PagesOpen ? BytesPerPixel : 0;
}

int WorkPageIndex() {
    return WorkIndex;
}

int VisiblePageIndex() {
    return VisibleIndex;
}

uint8_t *PagePixels(int page) {
    return Pages[page == 1 ? 1 : 0].data();
}

uint32_t VisibleChangeCount() {
    return ChangeCount;
}

void MarkVisibleChanged() {
    ++ChangeCount;
}

uint32_t NativeColour(uint32_t rgb) {
    if (BytesPerPixel != 2) return rgb & 0xFFFFFF;
    return ((rgb >> 8) & 0xF800) | ((rgb >> 5) & 0x7E0) | ((rgb & 0xFF) >> 3);
}

} // namespace halvane
