// screen.h -- the two 640x480 pages and the drawing primitives. These are the
// only procedures that write pixels; every drawing goes to the work page.
// Coordinates are floats, rounded halves away from zero; colours are
// 0x00RRGGBB and converted once to the page's depth.
#pragma once

#include <cstdint>
#include <span>

namespace halvane {

// Put modes.
constexpr int kPutTransparent = 0; // magenta skipped
constexpr int kPutOpaque = 1;      // every pixel written
constexpr int kPutBlend = 6;       // magenta skipped, the rest blended by opacity

// Opens the display with two pages: depth 15/16 gives 16 bits per pixel,
// anything else 32. flags 0 in a window, 1 full screen; the other kind is
// tried when the first does not open. Returns false when no display opens;
// drawing then does nothing. Called once by start-up.
bool OpenScreen(int depth, int flags);

// Opens the two pages in memory only, without a display (tests and tools).
void OpenOffscreenPages(int depth);

void SetPages(int workPage, int visiblePage);
void CopyWorkPage();
// Shows the visible page and waits for the display's next refresh.
void WaitRetrace();
void ClearWorkPage();

void DrawLine(float x1, float y1, float x2, float y2, uint32_t colour);
void FillBox(float x1, float y1, float x2, float y2, uint32_t colour);
// Angles in radians counter-clockwise, up is positive; a negative angle also
// draws the radius line to that end of the arc.
void DrawArc(float cx, float cy, float radius, uint32_t colour, float startAngle, float endAngle);
// 0x00RRGGBB of a work-page pixel, or -1 outside the screen.
int32_t ReadPixel(float x, float y);
// Copies the rectangle (corners included) into `image`; stores nothing when
// the rectangle leaves the screen or does not fit the buffer.
void GrabImage(float x1, float y1, float x2, float y2, std::span<uint8_t> image);
void PutImage(float x, float y, std::span<const uint8_t> image, int mode, int opacity);

// --- for the display, the file loaders and tests ------------------------
// WaitRetrace's showing and waiting alone, then a sleep of `restMs`: for
// PresentPage (which a recording keeps as one operation).
void ShowVisiblePage(double restMs);
bool ScreenIsOpen();
int ScreenBytesPerPixel(); // 2 or 4; 0 before the screen is open
int WorkPageIndex();
int VisiblePageIndex();
// 640 * 480 * bytes per pixel, rows top first. Whoever writes through this
// pointer is not followed: the page is taken as unknown (see PutWholePage).
uint8_t *PagePixels(int page);
// The same pixels, to read only.
const uint8_t *PageView(int page);
// Called by the drawing primitives: the work page's pixels, about to be
// written within the rectangle given by its corners (clamped to the page).
uint8_t *DrawOnWork(int left, int top, int right, int bottom);
// Called by PutImage for a whole-page image put opaque at (0, 0). The still
// screens put the same picture at every pass; when the work page already
// holds it with only a part drawn over since, only that part is copied
// again (and CopyWorkPage compares only what was drawn over).
void PutWholePage(const uint8_t *imagePixels);
// Called by GrabImage: an image's pixels changed, so no page is known to hold
// an image any more.
void NoteImageWritten();
// Bumped whenever what the visible page shows may have changed, so that the
// display uploads only pages that changed.
uint32_t VisibleChangeCount();
void MarkVisibleChanged();
// The two corners of a box or grab rounded to pixels and ordered (left <=
// right, top <= bottom); false when a coordinate is not finite.
struct PixelRect {
    int left, top, right, bottom;
};
bool RoundCorners(float x1, float y1, float x2, float y2, PixelRect &rect);
// A 0x00RRGGBB colour in the page's pixel layout.
uint32_t NativeColour(uint32_t rgb);

} // namespace halvane
