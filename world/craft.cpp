#include "world/craft.h"

#include <algorithm>
#include <cmath>

#include "core/game_state.h"
#include "core/numbers.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "world/terrain.h"

namespace halvane {

float CursorVelX = 0;
float CursorVelY = 0;
float CraftX = 0;
float CraftY = 0;
float CraftZ = 0;
int32_t CraftRoll = 0;
int32_t CraftPitch = 0;
float GroundUnderCraft = 0;
float FireCooldown = 0;
int32_t ScrapeSoundDelay = 0;

namespace {

// Quantises a craft coordinate to thousandths, halves upward.
float ToThousandths(float v) {
    return std::floor(1000 * v + 0.5f) / 1000;
}

// The F key toggles the frame-rate read-out; one press, one toggle.
void ToggleFpsReadout() {
    if (ShowFps == 0 && KeyDown(kKeyF)) {
        ShowFps = 1;
    } else if (ShowFps == 1 && KeyDown(kKeyF)) {
        ShowFps = 0;
    }
    while (KeyDown(kKeyF)) {
    }
}

// Arrow keys accelerate the cursor by 5 pixels per frame up to 20; with no
// arrow held it stops at once.
void MoveCursorByKeys() {
    bool left = KeyDown(kKeyLeft);
    bool right = KeyDown(kKeyRight);
    bool down = KeyDown(kKeyDown);
    bool up = KeyDown(kKeyUp);
    float step = kCursorAccel * SpeedFactor;
    if (left) CursorVelX -= step;
    if (right) CursorVelX += step;
    if (down) CursorVelY += step;
    if (up) CursorVelY -= step;
    if (!left && !right && !down && !up) {
        CursorVelX = 0;
        CursorVelY = 0;
    }
    CursorVelX = std::clamp(CursorVelX, -kCursorMaxSpeed, kCursorMaxSpeed);
    CursorVelY = std::clamp(CursorVelY, -kCursorMaxSpeed, kCursorMaxSpeed);
    MouseX = RoundEven(static_cast<double>(MouseX) + CursorVelX);
    MouseY = RoundEven(static_cast<double>(MouseY) + CursorVelY);
}

void FireAndMoveForward() {
    bool fire = MouseButtons == kMouseMiddle || KeyDown(kKeyEnter) || KeyDown(kKeySpace);
    if (fire && FireCooldown == 0) {
        FireCooldown = kFireCooldownFrames;
        PlayEffect(SfxMissileLaunch);
    }
    FireCooldown = std::max(FireCooldown - 1, 0.0f);

    float step = 0.2f * SpeedFactor;
    if (MouseButtons == kMouseLeft || KeyDown(kKeyC)) CraftZ += step;
    if (MouseButtons == kMouseRight || KeyDown(kKeyV)) CraftZ -= step;
    CraftZ = std::clamp(CraftZ, 0.0f, kCraftZLimit);
}

} // namespace

// The cursor in 40-pixel units: 100 * (m - 320) / 40 is a whole or half number
// for any whole pixel, so it is formed exactly before truncating to hundredths
// (the top pixel row 4 gives depth 0.1, the bottom row 296 gives 7.4).
float CursorTargetX(int32_t mouseX) {
    return static_cast<float>(std::floor(2.5 * (static_cast<double>(mouseX) - 320)) / 100);
}

float CursorTargetDepth(int32_t mouseY) {
    return static_cast<float>(std::floor(2.5 * (static_cast<double>(mouseY) - 320) + 800) / 100);
}

void LookUpGroundUnderCraft() {
    float row = std::floor(kCraftRow + CraftZ - ScrollOffset);
    float column = std::floor(CraftX + 0.5f);
    GroundUnderCraft = DepthAt(static_cast<int>(row), static_cast<int>(column));
}

void UpdateCraft() {
    ToggleFpsReadout();

    MouseButtons = -1;
    if (OptControls == kMouseControls) {
        int32_t wheel = 0;
        ReadMouse(MouseX, MouseY, wheel, MouseButtons);
    } else if (OptControls == kKeyboardControls) {
        MoveCursorByKeys();
    }
    MouseY = std::clamp(MouseY, kCursorTop, kCursorBottom);
    MouseX = std::clamp(MouseX, kCursorLeft, kCursorRight);

    FireAndMoveForward();

    float tx = CursorTargetX(MouseX);
    float ty = CursorTargetDepth(MouseY);

    // The craft covers an eighth of the way to the target depth each frame,
    // or a fifth of the way to the top while it flies out of the level.
    if (EndPhase == 0) {
        CraftY += (-ty - CraftY) / 8;
    } else {
        CraftY += (0 - CraftY) / 5;
    }
    CraftY = ToThousandths(CraftY);

    CraftX = std::clamp(CraftX, -kCraftSideLimit, kCraftSideLimit);
    LookUpGroundUnderCraft();
    CraftX += (tx - CraftX) / 8;
    CraftX = ToThousandths(CraftX);

    // Bank and pitch by one index per quarter unit still to go.
    CraftRoll = std::clamp(RoundEven((CraftX - tx) * 4 + 4), -1, 9);
    CraftPitch = std::clamp(RoundEven((ty + CraftY) * 4 + 4), -1, 9);
}

void GroundContact() {
    if (!(-CraftY > GroundUnderCraft)) {
        return;
    }
    if (CraftX < -kScrapeSideLimit || CraftX > kScrapeSideLimit) {
        if (std::fabs(CraftX) < kScrapeLiftLimit) {
            CraftY = -GroundUnderCraft;
        }
        CraftX = CraftX < 0 ? -kScrapeSideLimit : kScrapeSideLimit;
        LookUpGroundUnderCraft();
    } else {
        CraftY = -GroundUnderCraft;
    }
    if (Invulnerable == 0) {
        Shield -= kScrapeDamage;
        if (ScrapeSoundDelay == 0) {
            ScrapeSoundDelay = kScrapeSoundFrames;
            PlayEffect(SfxCraftHit);
        }
    }
    // The cursor (and the hidden mouse pointer with it) is pushed up, so that
    // the craft climbs off the ground.
    MouseY -= kCursorPushUp;
    if (OptControls == kKeyboardControls && KeyDown(kKeyDown)) {
        MouseY -= kCursorPushUp;
    }
    SetMousePosition(MouseX, MouseY, 0);
}

} // namespace halvane
