#include "world/lives.h"

#include <cmath>

#include "core/game_state.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "platform/random.h"
#include "platform/screen.h"
#include "platform/timing.h"
#include "render/terrain_view.h"
#include "screens/game_over.h"
#include "world/craft.h"
#include "world/terrain.h"

namespace halvane {

OffsetArray<float, 1, kExplosionSpikes> ExplosionRadius;

namespace {

constexpr uint32_t kExplosionColour = 0xFF0000;

float RandomWhole(float n) {
    return std::floor(n * static_cast<float>(RandomUnit()));
}

} // namespace

void LoseLife() {
    if (!(Shield < kShieldLostBelow)) {
        return;
    }
    Lives -= 1;
    if (Lives < 0) {
        // The game-over sequence has an explosion of its own; the shield is
        // left as it is.
        ShowGameOver();
        return;
    }
    // The explosion builds up over 8 frames drawn on top of each other; the
    // world stands still meanwhile, and each frame redraws the scene under
    // the new spikes.
    for (int frame = 1; frame <= kExplosionFrames; ++frame) {
        Invulnerable = kRespawnInvulnerable;
        DrawScene();
        DrawCraftLayer();
        DrawCraftExplosion();
        if (frame == 1) {
            PlayEffect(SfxCraftExplosion);
        }
        PresentPage();
    }
    RespawnCraft();
    Shield = kFullShield;
}

void RespawnCraft() {
    EndWarningPlayed = 0;
    ScrapeSoundDelay = 0;
    FireCooldown = 0;
    MouseX = kCursorHomeX;
    MouseY = kCursorHomeY;
    SetMousePosition(kCursorHomeX, kCursorHomeY, 0);
}

// The craft's place on the screen, from the same perspective as the scene;
// the whole burst jitters by up to 10 pixels each frame.
void DrawCraftExplosion() {
    float s = (11.00001f + CraftZ) / 400;
    float ox = RandomWhole(21) - 10;
    float oy = RandomWhole(21) - 10;
    float cx = CraftX / s + 320 + ox;
    float cy = (5 - CraftY) / s + 40 + oy;
    for (int k = 1; k <= kExplosionSpikes; ++k) {
        ExplosionRadius[k] = RandomWhole(20) + 10;
        // Negative angles make the arc draw its radius lines, so each spike is
        // a thin wedge; the first starts at +0 and has only its end line.
        float start = static_cast<float>(1 - k);
        float end = 0.9f - static_cast<float>(k);
        DrawArc(cx, cy, ExplosionRadius[k], kExplosionColour, start, end);
    }
}

} // namespace halvane
