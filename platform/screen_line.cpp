// screen_line.cpp -- the line, box and arc primitives. Each writes the work
// page through screen.h; every loop is bounded by the screen's size, whatever
// numbers it is given.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "core/image.h"
#include "core/numbers.h"
#include "platform/screen.h"

namespace halvane {

namespace {

// Coordinates further out than this are cut back along the line before they
// are rounded, so that the pixel arithmetic stays well inside 32 bits.
constexpr double kGuard = 32000.0;
// Larger arcs are refused: their point count would run into the millions.
constexpr double kMaxArcRadius = 10000.0;
// An arc sweeping more than two full turns only repaints its own circle.
constexpr double kMaxArcTurns = 2.0;

constexpr int kRight = kScreenWidth - 1;
constexpr int kBottom = kScreenHeight - 1;

// Writes one pixel of the work page; the caller has clipped (x, y).
void Plot(uint8_t *page, int bytesPerPixel, int x, int y, uint32_t native) {
    uint8_t *at = page + (std::size_t{kScreenWidth} * y + x) * bytesPerPixel;
    if (bytesPerPixel == 4) {
        std::memcpy(at, &native, 4);
    } else {
        const uint16_t value = static_cast<uint16_t>(native);
        std::memcpy(at, &value, 2);
    }
}

// Bresenham along the major axis, one pixel per step, from the lower end;
// the steps are byte offsets on the page, so the loop has no multiply.
template <typename Pixel>
void StepLine(uint8_t *at, std::ptrdiff_t majorStep, std::ptrdiff_t minorStep, int major, int minor,
              Pixel value) {
    int error = 2 * minor - major;
    for (int i = 0; i <= major; ++i) {
        std::memcpy(at, &value, sizeof value);
        if (error > 0) {
            at += minorStep;
            error -= 2 * major;
        }
        error += 2 * minor;
        at += majorStep;
    }
}

void NoteDrawing() {
    if (WorkPageIndex() == VisiblePageIndex()) MarkVisibleChanged();
}

// Cuts the segment to the guard square. Each outside end moves onto the edge
// it crosses, that coordinate set exactly, so that a nearly flat line from
// -1e30 to 1e30 keeps its height. Returns false when no part lies within.
bool CutToGuard(double &x1, double &y1, double &x2, double &y2) {
    const auto outside = [](double v) { return v < -kGuard || v > kGuard; };
    // Each end crosses at most two edges; the bound only guards the loop.
    for (int pass = 0; pass < 8; ++pass) {
        const bool out1 = outside(x1) || outside(y1);
        const bool out2 = outside(x2) || outside(y2);
        if (!out1 && !out2) return true;
        if ((x1 < -kGuard && x2 < -kGuard) || (x1 > kGuard && x2 > kGuard) ||
            (y1 < -kGuard && y2 < -kGuard) || (y1 > kGuard && y2 > kGuard))
            return false;
        double &x = out1 ? x1 : x2, &y = out1 ? y1 : y2;
        const double ox = out1 ? x2 : x1, oy = out1 ? y2 : y1;
        if (outside(x)) {
            const double edge = x < 0 ? -kGuard : kGuard;
            y = y + (oy - y) * ((edge - x) / (ox - x));
            x = edge;
        } else {
            const double edge = y < 0 ? -kGuard : kGuard;
            x = x + (ox - x) * ((edge - y) / (oy - y));
            y = edge;
        }
    }
    return false;
}

// RoundHalfAway for a value already within the guard square, inline: lines
// are the most frequent call of a frame.
inline int RoundInGuard(double v) {
    return static_cast<int>(v > 0 ? v + 0.5 : v - 0.5);
}

constexpr int kLeftSide = 1, kRightSide = 2, kTopSide = 4, kBottomSide = 8;

int Outcode(int x, int y) {
    int code = 0;
    if (x < 0) code |= kLeftSide;
    if (x > kRight) code |= kRightSide;
    if (y < 0) code |= kTopSide;
    if (y > kBottom) code |= kBottomSide;
    return code;
}

// Cohen-Sutherland: moves each outside end to its crossing with the screen
// edge, the crossing computed in floating point and truncated towards zero.
bool ClipToScreen(int &x1, int &y1, int &x2, int &y2) {
    // Each end crosses at most two edges; the bound only guards the loop.
    for (int pass = 0; pass < 8; ++pass) {
        const int c1 = Outcode(x1, y1), c2 = Outcode(x2, y2);
        if ((c1 | c2) == 0) return true;
        if ((c1 & c2) != 0) return false;
        const int code = c1 != 0 ? c1 : c2;
        const double dx = x2 - x1, dy = y2 - y1;
        int x, y;
        if (code & kTopSide) {
            x = static_cast<int>(x1 + dx * (0 - y1) / dy);
            y = 0;
        } else if (code & kBottomSide) {
            x = static_cast<int>(x1 + dx * (kBottom - y1) / dy);
            y = kBottom;
        } else if (code & kRightSide) {
            y = static_cast<int>(y1 + dy * (kRight - x1) / dx);
            x = kRight;
        } else {
            y = static_cast<int>(y1 + dy * (0 - x1) / dx);
            x = 0;
        }
        if (code == c1) {
            x1 = x;
            y1 = y;
        } else {
            x2 = x;
            y2 = y;
        }
    }
    return false;
}

// The line proper, in double so that the arc's radius lines lose nothing.
void DrawLineExact(double fx1, double fy1, double fx2, double fy2, uint32_t colour) {
    if (!ScreenIsOpen()) return;
    if (!std::isfinite(fx1) || !std::isfinite(fy1) || !std::isfinite(fx2) || !std::isfinite(fy2))
        return;
    if (!CutToGuard(fx1, fy1, fx2, fy2)) return;
    int x1 = RoundInGuard(fx1), y1 = RoundInGuard(fy1);
    int x2 = RoundInGuard(fx2), y2 = RoundInGuard(fy2);
    if (!ClipToScreen(x1, y1, x2, y2)) return;

    uint8_t *page =
        DrawOnWork(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
    const int bpp = ScreenBytesPerPixel();
    const uint32_t native = NativeColour(colour);
    // Always step from the lower end of the major axis, so that a line drawn
    // backwards covers the same pixels.
    const bool steep = std::abs(y2 - y1) > std::abs(x2 - x1);
    if (steep ? y1 > y2 : x1 > x2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const int major = steep ? y2 - y1 : x2 - x1;
    const int minorDelta = steep ? x2 - x1 : y2 - y1;
    const std::ptrdiff_t rowStep = std::ptrdiff_t{kScreenWidth} * bpp;
    const std::ptrdiff_t minorSign = minorDelta < 0 ? -1 : 1;
    const std::ptrdiff_t majorStep = steep ? rowStep : bpp;
    const std::ptrdiff_t minorStep = minorSign * (steep ? bpp : rowStep);
    uint8_t *at = page + (std::size_t{kScreenWidth} * y1 + x1) * bpp;
    if (bpp == 4)
        StepLine(at, majorStep, minorStep, major, std::abs(minorDelta), native);
    else
        StepLine(at, majorStep, minorStep, major, std::abs(minorDelta),
                 static_cast<uint16_t>(native));
    NoteDrawing();
}

} // namespace

void DrawLine(float x1, float y1, float x2, float y2, uint32_t colour) {
    DrawLineExact(x1, y1, x2, y2, colour);
}

bool RoundCorners(float x1, float y1, float x2, float y2, PixelRect &rect) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return false;
    rect.left = RoundHalfAway(x1);
    rect.right = RoundHalfAway(x2);
    rect.top = RoundHalfAway(y1);
    rect.bottom = RoundHalfAway(y2);
    if (rect.left > rect.right) std::swap(rect.left, rect.right);
    if (rect.top > rect.bottom) std::swap(rect.top, rect.bottom);
    return true;
}

void FillBox(float x1, float y1, float x2, float y2, uint32_t colour) {
    if (!ScreenIsOpen()) return;
    PixelRect r;
    if (!RoundCorners(x1, y1, x2, y2, r)) return;
    int left = std::max(r.left, 0), right = r.right;
    int top = std::max(r.top, 0), bottom = r.bottom;
    right = std::min(right, kRight);
    bottom = std::min(bottom, kBottom);
    if (left > right || top > bottom) return;

    uint8_t *page = DrawOnWork(left, top, right, bottom);
    const int bpp = ScreenBytesPerPixel();
    const uint32_t native = NativeColour(colour);
    // One row is set pixel by pixel; the others are copies of it.
    for (int x = left; x <= right; ++x)
        Plot(page, bpp, x, top, native);
    const std::size_t rowBytes = static_cast<std::size_t>(right - left + 1) * bpp;
    const uint8_t *first = page + (std::size_t{kScreenWidth} * top + left) * bpp;
    for (int y = top + 1; y <= bottom; ++y)
        std::memcpy(page + (std::size_t{kScreenWidth} * y + left) * bpp, first, rowBytes);
    NoteDrawing();
}

void DrawArc(float cx, float cy, float radius, uint32_t colour, float startAngle, float endAngle) {
    if (!ScreenIsOpen()) return;
    if (!std::isfinite(cx) || !std::isfinite(cy) || !std::isfinite(startAngle) ||
        !std::isfinite(endAngle))
        return;
    if (!std::isfinite(radius) || !(radius > 0.0f) || radius > kMaxArcRadius) return;

    const double r = radius, x0 = cx, y0 = cy;
    const double start = std::fabs(static_cast<double>(startAngle));
    double end = std::fabs(static_cast<double>(endAngle));
    // A negative angle (not minus zero) also draws the radius to that end.
    if (startAngle < 0.0f)
        DrawLineExact(x0, y0, x0 + r * std::cos(start), y0 - r * std::sin(start), colour);
    if (endAngle < 0.0f)
        DrawLineExact(x0, y0, x0 + r * std::cos(end), y0 - r * std::sin(end), colour);

    constexpr double kTurn = 2.0 * std::numbers::pi;
    if (end < start) end += std::ceil((start - end) / kTurn) * kTurn;
    // Rounding may leave the end a hair short; at huge angles adding a turn
    // changes nothing, so the count is bounded and the arc shrinks to a point.
    for (int i = 0; i < 4 && end < start; ++i)
        end += kTurn;
    if (end < start) end = start;

    // A circle wholly off the screen has no points to plot.
    if (x0 + r < -0.5 || x0 - r > kRight + 0.5 || y0 + r < -0.5 || y0 - r > kBottom + 0.5) return;

    // Every point rounds to a pixel within the circle's square, one to spare.
    const auto edge = [](double v) { return static_cast<int>(std::clamp(v, -1.0, 640.0)); };
    uint8_t *page = DrawOnWork(edge(std::floor(x0 - r) - 1), edge(std::floor(y0 - r) - 1),
                               edge(std::ceil(x0 + r) + 1), edge(std::ceil(y0 + r) + 1));
    const int bpp = ScreenBytesPerPixel();
    const uint32_t native = NativeColour(colour);
    const double step = (2.0 / 3.0) / r;
    const double maxPoints = std::ceil(kMaxArcTurns * kTurn / step) + 1.0;
    for (double i = 0.0; i < maxPoints; i += 1.0) {
        const double t = start + i * step;
        if (t > end) break;
        const int x = RoundHalfAway(x0 + r * std::cos(t));
        const int y = RoundHalfAway(y0 - r * std::sin(t));
        if (x >= 0 && x <= kRight && y >= 0 && y <= kBottom) Plot(page, bpp, x, y, native);
    }
    NoteDrawing();
}

} // namespace halvane
