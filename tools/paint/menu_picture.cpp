#include <array>
#include <cmath>

#include "platform/screen.h"
#include "tools/paint/paint.h"

namespace halvane {

namespace {

// The name, as centre lines on a 5 x 7 grid per letter; each stroke is drawn
// as a wire tube with a receding back face, like the game's models.
struct Stroke {
    float x1, y1, x2, y2;
};
struct Letter {
    int strokes;
    std::array<Stroke, 4> lines;
};
// clang-format off
constexpr Letter kH{3, {{{0, 0, 0, 7}, {5, 0, 5, 7}, {0, 3.5f, 5, 3.5f}}}};
constexpr Letter kA{3, {{{0, 7, 2.5f, 0}, {2.5f, 0, 5, 7}, {1.2f, 4.3f, 3.8f, 4.3f}}}};
constexpr Letter kL{2, {{{0, 0, 0, 7}, {0, 7, 4.5f, 7}}}};
constexpr Letter kV{2, {{{0, 0, 2.5f, 7}, {2.5f, 7, 5, 0}}}};
constexpr Letter kN{3, {{{0, 7, 0, 0}, {0, 0, 5, 7}, {5, 7, 5, 0}}}};
constexpr Letter kE{4, {{{0, 0, 0, 7}, {0, 0, 4.5f, 0}, {0, 3.5f, 3.8f, 3.5f}, {0, 7, 4.5f, 7}}}};
// clang-format on
constexpr std::array<const Letter *, 7> kName{&kH, &kA, &kL, &kV, &kA, &kN, &kE};

constexpr float kUnit = 10;        // pixels per grid step
constexpr float kTube = 3.2f;      // half the stroke width
constexpr float kLetterPitch = 72; // from one letter's left edge to the next
constexpr float kDepthX = 7;       // offset of the back face
constexpr float kDepthY = -6;
constexpr float kNameLeft = 320 - (6 * kLetterPitch + 5 * kUnit) / 2;
constexpr float kNameTop = 28;

void DrawTube(float x1, float y1, float x2, float y2, uint32_t colour, bool withDepth,
              uint32_t depthColour) {
    const float dx = x2 - x1;
    const float dy = y2 - y1;
    const float length = std::sqrt(dx * dx + dy * dy);
    const float ux = dx / length;
    const float uy = dy / length;
    // Stretch by the tube's width so that joints close.
    x1 -= ux * kTube;
    y1 -= uy * kTube;
    x2 += ux * kTube;
    y2 += uy * kTube;
    const float nx = -uy * kTube;
    const float ny = ux * kTube;
    const std::array<float, 8> corners{x1 + nx, y1 + ny, x2 + nx, y2 + ny,
                                       x2 - nx, y2 - ny, x1 - nx, y1 - ny};
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        DrawLine(corners[2 * i], corners[2 * i + 1], corners[2 * j], corners[2 * j + 1], colour);
        if (withDepth)
            DrawLine(corners[2 * i], corners[2 * i + 1], corners[2 * i] + kDepthX,
                     corners[2 * i + 1] + kDepthY, depthColour);
    }
}

void DrawName(float dx, float dy, uint32_t colour, bool withDepth, uint32_t depthColour) {
    for (int n = 0; n < static_cast<int>(kName.size()); ++n) {
        const Letter &letter = *kName[n];
        const float left = kNameLeft + n * kLetterPitch + dx;
        for (int s = 0; s < letter.strokes; ++s) {
            const Stroke &st = letter.lines[s];
            DrawTube(left + st.x1 * kUnit, kNameTop + dy + st.y1 * kUnit, left + st.x2 * kUnit,
                     kNameTop + dy + st.y2 * kUnit, colour, withDepth, depthColour);
        }
    }
}

// The channel of the game seen from above its floor: a half-pipe of grid
// lines running to the horizon.
constexpr float kHorizon = 236;
constexpr float kFocal = 170;
constexpr float kEyeHeight = 3;

bool ProjectChannel(float across, float depth, float &sx, float &sy) {
    const float rise = 4.2f * (across / 7) * (across / 7);
    sx = 320 + across * kFocal / depth;
    sy = kHorizon + (kEyeHeight - rise) * kFocal / depth;
    return true;
}

void DrawChannel() {
    // Rows across the channel, fading with distance.
    for (int row = 0; row < 28; ++row) {
        const float depth = 1.9f + row * row * 0.12f + row * 0.75f;
        const double fade = std::exp(-depth / 22.0);
        const uint32_t colour = Rgb(150 * fade + 12, 40 * fade + 4, 210 * fade + 20);
        float px = 0, py = 0;
        for (int step = 0; step <= 28; ++step) {
            const float across = -7 + step * 0.5f;
            float sx, sy;
            ProjectChannel(across, depth, sx, sy);
            if (step > 0) DrawLine(px, py, sx, sy, colour);
            px = sx;
            py = sy;
        }
    }
    // Lines along the channel.
    for (int col = 0; col <= 14; ++col) {
        const float across = -7.0f + col;
        float px = 0, py = 0;
        for (int step = 0; step <= 40; ++step) {
            const float depth = 1.9f + step * step * 0.05f;
            float sx, sy;
            ProjectChannel(across, depth, sx, sy);
            const double fade = std::exp(-depth / 22.0);
            if (step > 0)
                DrawLine(px, py, sx, sy, Rgb(120 * fade + 12, 30 * fade + 4, 190 * fade + 20));
            px = sx;
            py = sy;
        }
    }
}

} // namespace

void PaintMenuPicture() {
    PaintGradient(0, static_cast<int>(kHorizon), 0x000006, 0x0C0522);
    FillBox(0, kHorizon + 1, 639, 479, 0x000000);
    // A thin glow along the horizon.
    for (int y = -6; y <= 6; ++y) {
        const double glow = std::exp(-(y * y) / 8.0);
        FillBox(0, kHorizon + y, 639, kHorizon + y,
                Rgb(40 * glow + 6, 12 * glow + 3, 70 * glow + 16));
    }
    PaintStars(260, static_cast<int>(kHorizon) - 8, 11, 170);
    DrawChannel();

    // The name: a soft shadow, the back faces and depth edges, then the front.
    DrawName(2, 3, 0x0A1830, false, 0);
    DrawName(kDepthX, kDepthY, 0x1C4A78, false, 0);
    DrawName(0, 0, 0x58E8FF, true, 0x2E7AAA);

    // The panel the menu items stand on (x 290, y 130..170); wide enough for
    // the options screen's lines too (x 250, y 120..188).
    constexpr float left = 238, right = 402, top = 111, bottom = 197;
    FillBox(left, top, right, bottom, 0x03060E);
    DrawLine(left, top, right, top, 0x2A4A7A);
    DrawLine(left, bottom, right, bottom, 0x2A4A7A);
    for (int side = 0; side < 2; ++side) {
        const float x = side == 0 ? left : right;
        const float tick = side == 0 ? 8.0f : -8.0f;
        DrawLine(x, top, x, bottom, 0x1A3050);
        DrawLine(x, top, x + tick, top, 0x58E8FF);
        DrawLine(x, bottom, x + tick, bottom, 0x58E8FF);
        DrawLine(x, top, x, top + 8, 0x58E8FF);
        DrawLine(x, bottom, x, bottom - 8, 0x58E8FF);
    }
}

} // namespace halvane
