// screen_steps.h -- the steps every screen between the levels is made of: the
// grab of the last picture, the faded draw, the release waits, the confirm
// tests and the frame of the page-swapping loops. Used by the statistics,
// game-over, briefing, end-of-game and hi-score screens.
#pragma once

#include <span>
#include <string_view>

namespace halvane {

constexpr int kScreenFadeStep = 15;

// Reads the mouse into MouseX, MouseY and MouseButtons (the wheel is dropped).
void ReadScreenMouse();

// Grabs the whole work page into CaptureImage.
void GrabCapture();

// Clears the work page and puts CaptureImage over it at FadeAlpha.
void DrawFadedCapture();

// Fades CaptureImage out: FadeAlpha down by 15 per presented frame, not below
// 0, until it is 0. The first frame shows it at the FadeAlpha found.
void FadeCaptureOut();

// Enter, Space or the left button alone (MouseButtons 1) held, as last read.
bool ConfirmHeld();
// Enter or the left button alone: the end-of-game and hi-score screens take
// no Space.
bool EnterOrClickHeld();

// Busy waits, reading the mouse, until the confirm keys are released: all
// three, or Enter and the left button only.
void WaitConfirmRelease();
void WaitEnterClickRelease();

// Frame of the page-swapping loops: the page drawn last becomes visible...
void BeginSwappedFrame();
// ...and the one just drawn waits to be shown at the paced rate.
void EndSwappedFrame();

// `before`, the number as NumberToText writes it, then `after`, into `out`;
// returns the text (truncated to fit).
std::string_view JoinNumber(std::span<char> out, std::string_view before, float value,
                            std::string_view after);

} // namespace halvane
