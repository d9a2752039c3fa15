// app_icon.cpp -- the icon's strokes and drawing them at any size, smoothed
// by each pixel's distance from the shapes.
#include "platform/app_icon.h"

#include <algorithm>
#include <cmath>

namespace halvane {

namespace {

// The channel seen from behind the craft: cross-sections shaped like a U,
// smaller towards the vanishing point, and rails running into it.
constexpr float kVanishX = 128, kVanishY = 70;
constexpr float kNearHalfWidth = 94, kNearBottom = 212, kNearRise = 82;
constexpr std::array<float, 4> kRowScales{1.0f, 0.6f, 0.36f, 0.2f};
constexpr int kRowSegments = 6;
constexpr std::array<float, 5> kRails{-1.0f, -0.5f, 0.0f, 0.5f, 1.0f};
constexpr uint32_t kNearGreen = 0x38F078, kFarGreen = 0x1A7A40;
constexpr uint32_t kCraftWhite = 0xE8F4FF, kEnemyRed = 0xFF4838;

struct Point {
    float x, y;
};

// A point of the channel's cross-section at `scale` (1 nearest), `across`
// from -1 (left rim) to 1 (right rim).
constexpr Point ChannelPoint(float scale, float across) {
    return {kVanishX + kNearHalfWidth * scale * across,
            kVanishY + (kNearBottom - kVanishY) * scale - kNearRise * scale * across * across};
}

constexpr uint32_t Mix(uint32_t a, uint32_t b, float t) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const float ca = static_cast<float>((a >> shift) & 0xFF);
        const float cb = static_cast<float>((b >> shift) & 0xFF);
        out |= static_cast<uint32_t>(ca + (cb - ca) * t + 0.5f) << shift;
    }
    return out;
}

constexpr std::array<IconStroke, kIconStrokeCount> MakeStrokes() {
    std::array<IconStroke, kIconStrokeCount> strokes{};
    int n = 0;
    auto add = [&](Point a, Point b, float width, uint32_t colour) {
        strokes[static_cast<std::size_t>(n++)] = {a.x, a.y, b.x, b.y, width, colour};
    };
    // Far first, so that nearer wire lies on top.
    for (std::size_t r = kRowScales.size(); r-- > 0;) {
        const float scale = kRowScales[r];
        const uint32_t colour = Mix(kFarGreen, kNearGreen, scale);
        for (int s = 0; s < kRowSegments; ++s) {
            const float a = -1.0f + 2.0f * static_cast<float>(s) / kRowSegments;
            const float b = -1.0f + 2.0f * static_cast<float>(s + 1) / kRowSegments;
            add(ChannelPoint(scale, a), ChannelPoint(scale, b), 2.5f + 4.0f * scale, colour);
        }
    }
    for (float across : kRails)
        add(ChannelPoint(kRowScales.back(), across), ChannelPoint(1.0f, across), 4.5f,
            Mix(kFarGreen, kNearGreen, 0.7f));
    // An enemy ship far down the channel: a small red diamond.
    const Point top{128, 98}, right{140, 108}, bottom{128, 118}, left{116, 108};
    add(top, right, 4.5f, kEnemyRed);
    add(right, bottom, 4.5f, kEnemyRed);
    add(bottom, left, 4.5f, kEnemyRed);
    add(left, top, 4.5f, kEnemyRed);
    // The craft from behind: a wire delta with its spine.
    const Point nose{128, 128}, wingL{78, 178}, wingR{178, 178}, tail{128, 166};
    add(nose, wingL, 8.0f, kCraftWhite);
    add(nose, wingR, 8.0f, kCraftWhite);
    add(wingL, tail, 8.0f, kCraftWhite);
    add(wingR, tail, 8.0f, kCraftWhite);
    add(nose, tail, 6.0f, kCraftWhite);
    // The craft's two engine glows.
    add({110, 171}, {112, 171}, 7.0f, kEnemyRed);
    add({144, 171}, {146, 171}, 7.0f, kEnemyRed);
    // Unused slots (none when the count is right) would draw nothing.
    return n == kIconStrokeCount ? strokes : std::array<IconStroke, kIconStrokeCount>{};
}

constexpr std::array<IconStroke, kIconStrokeCount> kStrokes = MakeStrokes();
static_assert(kStrokes[kIconStrokeCount - 1].width > 0, "kIconStrokeCount must match the strokes");

// Signed distance from the tile's edge (negative inside), in drawing units.
float TileDistance(float x, float y) {
    constexpr float kHalf = kIconSide / 2 - kIconInset;
    const float qx = std::abs(x - kIconSide / 2) - (kHalf - kIconCorner);
    const float qy = std::abs(y - kIconSide / 2) - (kHalf - kIconCorner);
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - kIconCorner;
}

float SegmentDistance(const IconStroke &s, float x, float y) {
    const float dx = s.x2 - s.x1, dy = s.y2 - s.y1;
    const float length2 = dx * dx + dy * dy;
    float t = length2 > 0 ? ((x - s.x1) * dx + (y - s.y1) * dy) / length2 : 0.0f;
    t = std::clamp(t, 0.0f, 1.0f);
    return std::hypot(x - (s.x1 + t * dx), y - (s.y1 + t * dy));
}

} // namespace

const std::array<IconStroke, kIconStrokeCount> &IconStrokes() {
    return kStrokes;
}

bool DrawIcon(int size, std::span<uint32_t> pixels) {
    if (size < 1 || size > 1024 || pixels.size() < static_cast<std::size_t>(size) * size)
        return false;
    const float unit = kIconSide / static_cast<float>(size); // one pixel in drawing units
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            const float x = (static_cast<float>(px) + 0.5f) * unit;
            const float y = (static_cast<float>(py) + 0.5f) * unit;
            const float tile = std::clamp(0.5f - TileDistance(x, y) / unit, 0.0f, 1.0f);
            uint32_t rgb = kIconTile;
            for (const IconStroke &s : kStrokes) {
                // At small sizes a stroke keeps at least a pixel's width.
                const float half = std::max(s.width, unit) / 2;
                const float cover =
                    std::clamp((half - SegmentDistance(s, x, y)) / unit + 0.5f, 0.0f, 1.0f);
                if (cover > 0) rgb = Mix(rgb, s.colour, cover);
            }
            const auto alpha = static_cast<uint32_t>(tile * 255.0f + 0.5f);
            pixels[static_cast<std::size_t>(py) * size + px] = alpha << 24 | (alpha != 0 ? rgb : 0);
        }
    return true;
}

} // namespace halvane
