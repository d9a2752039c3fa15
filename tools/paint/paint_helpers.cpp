#include <algorithm>
#include <cmath>

#include "platform/screen.h"
#include "tools/paint/paint.h"

namespace halvane {

uint32_t Rgb(double r, double g, double b) {
    auto channel = [](double v) {
        return static_cast<uint32_t>(std::clamp(static_cast<int>(std::lround(v)), 0, 255));
    };
    return channel(r) << 16 | channel(g) << 8 | channel(b);
}

void Plot(int x, int y, uint32_t colour) {
    FillBox(static_cast<float>(x), static_cast<float>(y), static_cast<float>(x),
            static_cast<float>(y), colour);
}

void AddLight(int x, int y, double r, double g, double b) {
    const uint32_t old =
        static_cast<uint32_t>(ReadPixel(static_cast<float>(x), static_cast<float>(y)));
    Plot(x, y, Rgb(((old >> 16) & 0xFF) + r, ((old >> 8) & 0xFF) + g, (old & 0xFF) + b));
}

double Chance(int a, int b, int seed) {
    uint32_t h = static_cast<uint32_t>(a) * 0x8DA6B343u ^ static_cast<uint32_t>(b) * 0xD8163841u ^
                 static_cast<uint32_t>(seed) * 0xCB1AB31Fu;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return (h & 0xFFFFFF) / 16777216.0;
}

namespace {

double ValueNoise(double x, double y, int seed) {
    const int xi = static_cast<int>(std::floor(x));
    const int yi = static_cast<int>(std::floor(y));
    const double fx = x - xi;
    const double fy = y - yi;
    const double sx = fx * fx * (3 - 2 * fx);
    const double sy = fy * fy * (3 - 2 * fy);
    const double a = Chance(xi, yi, seed);
    const double b = Chance(xi + 1, yi, seed);
    const double c = Chance(xi, yi + 1, seed);
    const double d = Chance(xi + 1, yi + 1, seed);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

} // namespace

double CloudNoise(double x, double y, int seed) {
    double sum = 0;
    double amplitude = 0.5;
    for (int octave = 0; octave < 5; ++octave) {
        sum += amplitude * ValueNoise(x, y, seed + octave * 101);
        x *= 2.03;
        y *= 2.03;
        amplitude *= 0.5;
    }
    return sum / 0.97;
}

void PaintGradient(int y0, int y1, uint32_t top, uint32_t bottom) {
    for (int y = y0; y <= y1; ++y) {
        const double t = y1 == y0 ? 0 : static_cast<double>(y - y0) / (y1 - y0);
        auto mix = [t](uint32_t a, uint32_t b, int shift) {
            return ((a >> shift) & 0xFF) * (1 - t) + ((b >> shift) & 0xFF) * t;
        };
        FillBox(0, static_cast<float>(y), 639, static_cast<float>(y),
                Rgb(mix(top, bottom, 16), mix(top, bottom, 8), mix(top, bottom, 0)));
    }
}

void PaintFlareStar(int x, int y, uint32_t colour) {
    const uint32_t dim = (colour >> 1) & 0x7F7F7F;
    DrawLine(static_cast<float>(x - 3), static_cast<float>(y), static_cast<float>(x + 3),
             static_cast<float>(y), dim);
    DrawLine(static_cast<float>(x), static_cast<float>(y - 3), static_cast<float>(x),
             static_cast<float>(y + 3), dim);
    Plot(x, y, colour);
    Plot(x - 1, y, colour);
    Plot(x + 1, y, colour);
    Plot(x, y - 1, colour);
    Plot(x, y + 1, colour);
}

void PaintStars(int count, int horizon, int seed, int brightness) {
    for (int i = 0; i < count; ++i) {
        const int x = static_cast<int>(Chance(i, 1, seed) * 640);
        const int y = static_cast<int>(Chance(i, 2, seed) * horizon);
        const double glow = Chance(i, 3, seed);
        const double level = brightness * (0.25 + 0.75 * glow * glow);
        // A touch of colour: some stars bluish, some warm.
        const double tint = Chance(i, 4, seed);
        const uint32_t colour = tint < 0.3   ? Rgb(level * 0.8, level * 0.85, level)
                                : tint < 0.4 ? Rgb(level, level * 0.85, level * 0.7)
                                             : Rgb(level, level, level);
        if (glow > 0.985)
            PaintFlareStar(x, y, colour);
        else
            Plot(x, y, colour);
    }
}

} // namespace halvane
