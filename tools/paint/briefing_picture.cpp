#include <array>
#include <cmath>

#include "core/image.h"
#include "platform/screen.h"
#include "render/font.h"
#include "tools/paint/paint.h"

namespace halvane {

namespace {

// The console screen; the briefings write from x 30 to 610, y 90 to 260.
constexpr int kScreenLeft = 24;
constexpr int kScreenRight = 616;
constexpr int kScreenTop = 84;
constexpr int kScreenBottom = 268;
constexpr uint32_t kScreenDark = 0x03120B;
constexpr uint32_t kScanLine = 0x05170E;
constexpr uint32_t kFrame = 0x3C5A68;
constexpr uint32_t kFrameDark = 0x16242C;
constexpr uint32_t kLabel = 0x4E9A78;
constexpr uint32_t kScriptInk = 0x6CFF9C;

// Where the briefings put the strips of alien script, and where each strip
// lies on its sheet.
struct Strip {
    int sheetX, sheetY, width, height, screenX, screenY;
};
constexpr std::array<Strip, 5> kStrips{{
    {0, 0, 320, 19, 30, 130},
    {133, 20, 148, 19, 349, 130},
    {0, 40, 107, 19, 496, 130},
    {0, 60, 307, 19, 40, 187},
    {0, 80, 55, 17, 346, 187},
}};
// The ground under each strip, cut from the console as painted.
std::array<ImageBuffer<320, 19>, 5> StripGround;

void Bevel(int x1, int y1, int x2, int y2) {
    FillBox(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
            static_cast<float>(y2), 0x0A1014);
    DrawLine(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
             static_cast<float>(y1), kFrame);
    DrawLine(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x1),
             static_cast<float>(y2), kFrame);
    DrawLine(static_cast<float>(x2), static_cast<float>(y1), static_cast<float>(x2),
             static_cast<float>(y2), kFrameDark);
    DrawLine(static_cast<float>(x1), static_cast<float>(y2), static_cast<float>(x2),
             static_cast<float>(y2), kFrameDark);
}

void Label(int x, int y, const char *text) {
    DrawTextBlended(x, y, text, GameFont, kTextSpacing, 150);
}

void Dial(float cx, float cy, float needle) {
    DrawArc(cx, cy, 22, kFrame, 0, 3.14159265f);
    DrawArc(cx, cy, 18, kFrameDark, 0, 3.14159265f);
    for (int i = 0; i <= 8; ++i) {
        const float a = i * 3.14159265f / 8;
        DrawLine(cx + 18 * std::cos(a), cy - 18 * std::sin(a), cx + 22 * std::cos(a),
                 cy - 22 * std::sin(a), kLabel);
    }
    DrawLine(cx, cy, cx + 17 * std::cos(needle), cy - 17 * std::sin(needle), 0xD8B040);
    DrawLine(cx - 24, cy, cx + 24, cy, kFrame);
}

// One invented letter of the aliens' script: a few strokes in a 7 x 12 box.
int ScriptLetter(int x, int y, int height, int seed) {
    const int width = 4 + static_cast<int>(Chance(seed, 1, 91) * 4);
    const int strokes = 2 + static_cast<int>(Chance(seed, 2, 91) * 3);
    const float top = static_cast<float>(y);
    const float bottom = static_cast<float>(y + height - 1);
    const float mid = static_cast<float>(y + height / 2);
    // A spine on most letters keeps the script looking like one hand.
    if (Chance(seed, 3, 91) < 0.7)
        DrawLine(static_cast<float>(x), top, static_cast<float>(x), bottom, kScriptInk);
    for (int s = 0; s < strokes; ++s) {
        const std::array<float, 3> rows{top, mid, bottom};
        const float x1 = static_cast<float>(x + static_cast<int>(Chance(seed, 10 + s, 91) * width));
        const float x2 = static_cast<float>(x + static_cast<int>(Chance(seed, 20 + s, 91) * width));
        const float y1 = rows[static_cast<int>(Chance(seed, 30 + s, 91) * 3)];
        const float y2 = rows[static_cast<int>(Chance(seed, 40 + s, 91) * 3)];
        DrawLine(x1, y1, x2 == x1 && y1 == y2 ? x1 + 3 : x2, y2, kScriptInk);
    }
    if (Chance(seed, 4, 91) < 0.35)
        DrawArc(static_cast<float>(x + width / 2), mid, 2, kScriptInk, 0, 6.2831853f);
    return width;
}

void ScriptLine(int x, int y, int width, int height, int seed) {
    const int end = x + width - 4;
    int n = 0;
    int cx = x + 3;
    while (true) {
        // Letters come from a small alphabet, so signs repeat as in a real text.
        const int letter = static_cast<int>(Chance(seed, n, 93) * 19);
        if (cx + 8 > end) break;
        cx += ScriptLetter(cx, y, height, letter) + 3;
        if (Chance(seed, n, 94) < 0.2) cx += 6; // a word gap
        ++n;
    }
}

} // namespace

void PaintBriefingPicture() {
    PaintGradient(0, 479, 0x05070A, 0x020305);
    // The console's housing and its screen.
    Bevel(10, 44, 630, 292);
    Bevel(kScreenLeft - 4, kScreenTop - 4, kScreenRight + 4, kScreenBottom + 4);
    FillBox(kScreenLeft, kScreenTop, kScreenRight, kScreenBottom, kScreenDark);
    for (int y = kScreenTop; y <= kScreenBottom; y += 2)
        FillBox(kScreenLeft, static_cast<float>(y), kScreenRight, static_cast<float>(y), kScanLine);
    // Corner marks on the screen glass.
    for (int i = 0; i < 4; ++i) {
        const float x = i % 2 ? kScreenRight - 2 : kScreenLeft + 2;
        const float y = i / 2 ? kScreenBottom - 2 : kScreenTop + 2;
        const float sx = i % 2 ? -8 : 8;
        const float sy = i / 2 ? -8 : 8;
        DrawLine(x, y, x + sx, y, 0x1E5A3C);
        DrawLine(x, y, x, y + sy, 0x1E5A3C);
    }
    // Header: channel name and a recording light.
    Label(24, 56, "SECURE CHANNEL 7   //   COMMAND UPLINK");
    for (float r = 1; r <= 4; r += 1)
        DrawArc(600, 61, r, 0xC02020, 0, 6.2831853f);
    Label(560, 56, "REC");

    // The instrument deck below the screen.
    Bevel(10, 304, 630, 468);
    Bevel(24, 330, 250, 452);
    Label(28, 316, "SIGNAL");
    for (int x = 26; x < 248; ++x) {
        const double t = (x - 26) / 222.0;
        const double wave =
            std::sin(t * 31) * 18 * std::exp(-std::pow((t - 0.55) * 3, 2)) + std::sin(t * 97) * 3;
        const double next = std::sin((t + 1 / 222.0) * 31) * 18 *
                                std::exp(-std::pow((t + 1 / 222.0 - 0.55) * 3, 2)) +
                            std::sin((t + 1 / 222.0) * 97) * 3;
        DrawLine(static_cast<float>(x), static_cast<float>(391 - wave), static_cast<float>(x + 1),
                 static_cast<float>(391 - next), 0x3CC878);
    }
    for (int x = 24; x <= 250; x += 28)
        DrawLine(static_cast<float>(x), 331, static_cast<float>(x), 451, 0x0E2418);
    DrawLine(25, 391, 249, 391, 0x0E2418);

    Bevel(264, 330, 420, 452);
    Label(268, 316, "FREQUENCY");
    for (int i = 0; i < 14; ++i) {
        const double level = 0.2 + 0.8 * Chance(i, 5, 95) * (1 - std::abs(i - 6.5) / 9);
        const float x = 272.0f + i * 10.5f;
        const float top = static_cast<float>(446 - level * 100);
        FillBox(x, top, x + 6, 446, 0x1E6444);
        DrawLine(x, top, x + 6, top, 0x6CFF9C);
    }

    Bevel(434, 330, 616, 452);
    Label(438, 316, "DECRYPTION");
    Dial(480, 400, 2.2f);
    Dial(570, 400, 0.9f);
    Label(458, 420, "KEY");
    Label(548, 420, "GAIN");
    for (int i = 0; i < 6; ++i) {
        const float x = 452.0f + i * 28;
        FillBox(x, 436, x + 10, 441, i < 4 ? 0x2E8A4E : 0x3A2A10);
    }

    for (int i = 0; i < static_cast<int>(kStrips.size()); ++i) {
        const Strip &s = kStrips[i];
        GrabImage(static_cast<float>(s.screenX), static_cast<float>(s.screenY),
                  static_cast<float>(s.screenX + s.width - 1),
                  static_cast<float>(s.screenY + s.height - 1), StripGround[i]);
    }
}

void PaintScriptStrips() {
    FillBox(0, 0, 639, 479, kMagenta);
    for (int i = 0; i < static_cast<int>(kStrips.size()); ++i) {
        const Strip &s = kStrips[i];
        PutImage(static_cast<float>(s.sheetX), static_cast<float>(s.sheetY), StripGround[i],
                 kPutOpaque, 255);
        const int letterHeight = s.height - 6;
        ScriptLine(s.sheetX, s.sheetY + 3, s.width, letterHeight, 100 + i);
    }
}

} // namespace halvane
