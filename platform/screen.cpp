// screen.cpp -- the two pages, their roles, presenting, colours and reading a
// pixel back. The drawing primitives live in screen_line.cpp and
// screen_image.cpp and reach the pages only through screen.h.
#include "platform/screen.h"

#include <algorithm>
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

// What a page is known to hold: the pixels of a whole-page image put opaque,
// with rows top..bottom drawn over since (none when top > bottom). Images
// change only through GrabImage, which bumps ImageVersion.
struct PageOrigin {
    const uint8_t *image = nullptr; // nullptr: nothing known
    uint32_t imageVersion = 0;
    int top = 0;
    int bottom = -1;
};
std::array<PageOrigin, 2> Origins;
uint32_t ImageVersion = 0;

std::size_t PageBytes() {
    return std::size_t{kScreenWidth} * kScreenHeight * BytesPerPixel;
}

std::size_t RowBytes() {
    return std::size_t{kScreenWidth} * BytesPerPixel;
}

bool HoldsCurrentImage(const PageOrigin &origin) {
    return origin.image != nullptr && origin.imageVersion == ImageVersion;
}

void SetUpPages(int depth) {
    BytesPerPixel = (depth == 15 || depth == 16) ? 2 : 4;
    for (auto &page : Pages)
        page.fill(0);
    WorkIndex = 0;
    VisibleIndex = 0;
    Origins = {};
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
        const PageOrigin &work = Origins[WorkIndex];
        const PageOrigin &visible = Origins[VisibleIndex];
        // Both pages hold the same picture outside the rows drawn over on
        // either: only those rows can differ.
        int top = 0;
        int bottom = kScreenHeight - 1;
        if (HoldsCurrentImage(work) && HoldsCurrentImage(visible) && work.image == visible.image) {
            top = std::min(work.top, visible.top);
            bottom = std::max(work.bottom, visible.bottom);
            if (work.top > work.bottom) top = visible.top, bottom = visible.bottom;
            if (visible.top > visible.bottom) top = work.top, bottom = work.bottom;
        }
        Origins[VisibleIndex] = work;
        if (top > bottom) return;
        const std::size_t offset = RowBytes() * static_cast<std::size_t>(top);
        const std::size_t bytes = RowBytes() * static_cast<std::size_t>(bottom - top + 1);
        if (!CopyChangedPixels(Pages[VisibleIndex].data() + offset,
                               Pages[WorkIndex].data() + offset, bytes))
            return;
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
    std::memset(Pages[WorkIndex].data(), 0, PageBytes());
    Origins[WorkIndex] = {};
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
    Origins[page == 1 ? 1 : 0] = {};
    return Pages[page == 1 ? 1 : 0].data();
}

const uint8_t *PageView(int page) {
    return Pages[page == 1 ? 1 : 0].data();
}

uint8_t *DrawOnWorkRows(int top, int bottom) {
    PageOrigin &origin = Origins[WorkIndex];
    top = std::max(top, 0);
    bottom = std::min(bottom, kScreenHeight - 1);
    if (top <= bottom) {
        if (origin.top > origin.bottom) {
            origin.top = top;
            origin.bottom = bottom;
        } else {
            origin.top = std::min(origin.top, top);
            origin.bottom = std::max(origin.bottom, bottom);
        }
    }
    return Pages[WorkIndex].data();
}

void PutWholePage(const uint8_t *imagePixels) {
    if (!PagesOpen) return;
    PageOrigin &origin = Origins[WorkIndex];
    if (HoldsCurrentImage(origin) && origin.image == imagePixels) {
        // Only the rows drawn over since can differ from the picture.
        if (origin.top <= origin.bottom) {
            const std::size_t offset = RowBytes() * static_cast<std::size_t>(origin.top);
            std::memcpy(Pages[WorkIndex].data() + offset, imagePixels + offset,
                        RowBytes() * static_cast<std::size_t>(origin.bottom - origin.top + 1));
        }
    } else {
        std::memcpy(Pages[WorkIndex].data(), imagePixels, PageBytes());
    }
    origin = {imagePixels, ImageVersion, 0, -1};
}

void NoteImageWritten() {
    ++ImageVersion;
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
