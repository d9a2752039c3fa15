#include "screens/screen_steps.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/game_state.h"
#include "core/image_store.h"
#include "core/numbers.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "platform/timing.h"

namespace halvane {

void ReadScreenMouse() {
    int32_t wheel = 0;
    ReadMouse(MouseX, MouseY, wheel, MouseButtons);
}

void GrabCapture() {
    GrabImage(0, 0, kScreenWidth - 1, kScreenHeight - 1, ScreenImages[CaptureImage]);
}

void DrawFadedCapture() {
    ClearWorkPage();
    PutImage(0, 0, ScreenImages[CaptureImage], kPutBlend, FadeAlpha);
}

void FadeCaptureOut() {
    do {
        DrawFadedCapture();
        FadeAlpha = std::max(FadeAlpha - kScreenFadeStep, 0);
        PresentPage();
    } while (FadeAlpha != 0);
}

bool ConfirmHeld() {
    return KeyDown(kKeySpace) || KeyDown(kKeyEnter) || MouseButtons == kMouseLeft;
}

bool EnterOrClickHeld() {
    return KeyDown(kKeyEnter) || MouseButtons == kMouseLeft;
}

void WaitConfirmRelease() {
    while (KeyDown(kKeyEnter) || KeyDown(kKeySpace) || MouseButtons == kMouseLeft) {
        ReadScreenMouse();
    }
}

void WaitEnterClickRelease() {
    while (KeyDown(kKeyEnter) || MouseButtons == kMouseLeft) {
        ReadScreenMouse();
    }
}

void BeginSwappedFrame() {
    SetPages(WorkPage, WorkPage ^ 1);
}

void EndSwappedFrame() {
    WorkPage ^= 1;
    WaitFrame();
}

std::string_view JoinNumber(std::span<char> out, std::string_view before, float value,
                            std::string_view after) {
    std::array<char, 48> number{};
    const int digits = NumberToText(value, number);
    std::size_t used = 0;
    for (std::string_view part : {before, std::string_view(number.data(), digits), after}) {
        for (char c : part) {
            if (used + 1 >= out.size()) break;
            out[used++] = c;
        }
    }
    if (!out.empty()) out[used] = '\0';
    return {out.data(), used};
}

} // namespace halvane
