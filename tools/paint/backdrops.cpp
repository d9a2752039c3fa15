#include <cmath>

#include "platform/screen.h"
#include "tools/paint/paint.h"

namespace halvane {

// The level backdrops sit behind cyan, red, blue and green wire lines, so
// every channel stays low: nothing here is brighter than about a third.

namespace {

void PaintStarField() {
    PaintGradient(0, 479, 0x01010A, 0x040816);
    PaintStars(900, 480, 21, 90);
    PaintStars(140, 480, 22, 150);
    PaintStars(14, 480, 23, 230);
}

void PaintNebula() {
    FillBox(0, 0, 639, 479, 0x000000);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const double cloud = CloudNoise(x / 150.0, y / 150.0, 31);
            const double veil = CloudNoise(x / 70.0 + 9, y / 70.0 + 4, 37);
            // A band running from the top left to the bottom right.
            const double band = std::exp(-std::pow((y - 0.55 * x - 60) / 170.0, 2));
            const double d = std::max(0.0, cloud - 0.42) * 2.6 * band;
            const double e = std::max(0.0, veil - 0.5) * 2.0 * band;
            const uint32_t colour =
                Rgb(4 + 70 * d + 10 * e, 3 + 14 * d + 40 * e, 12 + 60 * d + 45 * e);
            if (colour != 0) Plot(x, y, colour);
        }
    PaintStars(500, 480, 41, 100);
    PaintStars(40, 480, 42, 200);
}

void PaintPlanetRim() {
    // A planet below the bottom right corner, its lit rim to the upper left.
    constexpr double cx = 520, cy = 880, radius = 640;
    PaintGradient(0, 479, 0x000004, 0x02040C);
    PaintStars(600, 480, 51, 110);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const double d = std::hypot(x - cx, y - cy) - radius;
            const double toLight = ((cx - x) + (cy - y)) / (std::sqrt(2.0) * (radius + d));
            const double lit = std::max(0.0, toLight);
            if (d < 0) {
                // The night side, with a faint band of cloud.
                const double cloud = CloudNoise(x / 60.0, y / 20.0, 57);
                const double rim = std::exp(d / 10.0) * lit;
                Plot(x, y,
                     Rgb(2 + 6 * cloud + 60 * rim, 4 + 8 * cloud + 90 * rim,
                         8 + 14 * cloud + 110 * rim));
            } else if (d < 90) {
                const double glow = std::exp(-d / 14.0) * (0.35 + 0.65 * lit);
                AddLight(x, y, 30 * glow, 70 * glow, 120 * glow);
            }
        }
}

void PaintHorizonGlow() {
    constexpr int kHorizon = 318;
    PaintGradient(0, kHorizon, 0x020108, 0x0A0410);
    PaintStars(420, 250, 61, 100);
    for (int y = 120; y <= kHorizon; ++y) {
        const double t = (kHorizon - y) / 75.0;
        const double glow = std::exp(-t * t);
        for (int x = 0; x < 640; ++x)
            AddLight(x, y, 90 * glow, 30 * glow, 8 * glow);
    }
    FillBox(0, kHorizon + 1, 639, 479, 0x030104);
    // A ridge of far mountains against the glow, in wire lines.
    float px = 0, py = kHorizon;
    for (int x = 0; x <= 640; x += 8) {
        const double h = 22 * CloudNoise(x / 90.0, 3.5, 67) + 14 * CloudNoise(x / 30.0, 1.5, 68);
        const float y = static_cast<float>(kHorizon - h + 10);
        // The mountains hide the glow below their ridge.
        for (int column = static_cast<int>(px) + 1; column <= x; ++column) {
            const float ridge = py + (y - py) * (column - px) / (x - px);
            FillBox(static_cast<float>(column), ridge, static_cast<float>(column), kHorizon,
                    0x050206);
        }
        DrawLine(px, py, static_cast<float>(x), y, 0x3A1A2A);
        px = static_cast<float>(x);
        py = y;
    }
    // Faint ground lines running to the horizon.
    for (int i = -12; i <= 12; ++i)
        DrawLine(320 + i * 14.0f, kHorizon + 1, 320 + i * 90.0f, 479, 0x140810);
    for (int j = 1; j < 9; ++j) {
        const float y = kHorizon + 160.0f / (9 - j) - 18;
        DrawLine(0, y, 639, y, 0x140810);
    }
}

} // namespace

void PaintBackdrop(int number) {
    switch (number) {
    case 1:
        PaintStarField();
        break;
    case 2:
        PaintNebula();
        break;
    case 3:
        PaintPlanetRim();
        break;
    default:
        PaintHorizonGlow();
        break;
    }
}

void PaintEndPicture() {
    // Home: a blue world rising at the bottom, the sun breaking over its rim.
    constexpr double cx = 200, cy = 820, radius = 560;
    PaintGradient(0, 479, 0x000005, 0x05081A);
    PaintStars(700, 480, 71, 120);
    PaintStars(30, 480, 72, 230);
    const double sunX = 470, sunY = cy - std::sqrt(radius * radius - (sunX - cx) * (sunX - cx));
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const double d = std::hypot(x - cx, y - cy) - radius;
            const double sun = std::exp(-std::hypot(x - sunX, y - sunY) / 55.0);
            if (d < 0) {
                const double land = CloudNoise(x / 90.0, y / 45.0, 77);
                const double cloud = CloudNoise(x / 40.0 + 7, y / 18.0, 78);
                const double day = std::exp(d / 120.0);
                const double sea = land < 0.5 ? 1.0 : 0.0;
                Plot(x, y,
                     Rgb(day * (10 + 30 * (1 - sea) + 50 * std::max(0.0, cloud - 0.55)) + 140 * sun,
                         day * (22 + 30 * (1 - sea) + 50 * std::max(0.0, cloud - 0.55)) + 110 * sun,
                         day * (60 + 10 * sea + 50 * std::max(0.0, cloud - 0.55)) + 60 * sun));
            } else {
                const double air = std::exp(-d / 16.0);
                const double flare = sun * 200 + std::exp(-d / 5.0) * sun * 300;
                AddLight(x, y, 30 * air + flare, 80 * air + flare * 0.85, 140 * air + flare * 0.6);
            }
        }
    // Rays from the sun.
    for (int i = 0; i < 12; ++i) {
        const double a = i * 3.14159265 / 6 + 0.2;
        const double length = i % 2 ? 60 : 110;
        DrawLine(static_cast<float>(sunX), static_cast<float>(sunY),
                 static_cast<float>(sunX + length * std::cos(a)),
                 static_cast<float>(sunY - length * std::sin(a)), 0x5A5040);
    }
    PaintFlareStar(static_cast<int>(sunX), static_cast<int>(sunY), 0xFFFFF0);
}

} // namespace halvane
