// display_sdl.h -- what the SDL window's two files (display_sdl.cpp: window,
// presenting, clock; display_sdl_events.cpp: the event pump) share, and the
// window-less present path the benchmarks time. It includes no SDL header,
// so nothing else sees SDL; two of its types are named as pointers only.
#pragma once

#include <cstdint>

#include "platform/pad_mapping.h"

struct SDL_Window;
struct SDL_SysWMmsg;

namespace halvane {

// Called by the virtual controllers of the tests: SDL's number of the
// controller button at `button` (0..kPadButtons-1) of PadState::buttons.
int SdlPadButton(int button);
// Called by the event pump on Alt+Enter: desktop full screen <-> window.
void ToggleFullScreen();
// Called by the event pump when the window was exposed or resized: draws the
// visible page again at the new size, without waiting for a refresh.
void RedrawWindow();
// Called by the event pump when the window is minimized or hidden (false)
// and when it is back in view (true): a window out of view is sent nothing.
void SetWindowShown(bool shown);
// Where the page lies in the window, in window coordinates (not output
// pixels); pageScale is window pixels per page pixel. Read by the event pump
// to map the pointer.
struct PageRect {
    double x;
    double y;
    double pageScale;
};
PageRect PagePlacement();

// Services the window's events into the input state, without showing a
// changed page (DisplayPump does both). Called by DisplayPump and around
// DisplayPresent's wait.
void PumpWindowEvents();
// Called whenever a page was drawn into the window: the next pump asks the
// X server for news whatever its connection shows.
void NoteWindowDrawn();

// Called by DisplayOpen: SIGTERM and SIGINT only set a flag, which the pump,
// the clock and sleeping check (then EndProgram(0)).
void InstallEndSignals();
// Called by DisplayClock in busy waits: ends the program when a signal came,
// and services the window every few milliseconds so that it never freezes.
void PumpNowAndThen(double now);

// --- display_sdl_pad.cpp: game controllers ----------------------------------
// Called by DisplayOpen: starts SDL's controller support (a failure only
// leaves the game without controllers).
void OpenPads();
// Called by the event pump when SDL announces a controller or its removal.
void PadAdded(int deviceIndex);
void PadRemoved(int instanceId);
// Called by the event pump: whether any controller is open (their state
// comes with SDL's pump).
bool AnyPadOpen();
// Called by the event pump: the keys the controllers hold and the pointer
// motion since the last call.
const PadOutput &ReadPads(double now);

// --- display_sdl_virtual_pad.cpp, for the controller window check ----------
// SDL's virtual controllers, found by the pump like real ones. A pad number
// 0..kMaxPads-1, or -1 when none could be attached. Buttons are PadButton
// values; the stick and triggers take the ranges of PadState.
int AttachVirtualPad();
void SetVirtualPadButton(int pad, int button, bool down);
void SetVirtualPadStick(int pad, float x, float y);
void SetVirtualPadTriggers(int pad, float left, float right);
void DetachVirtualPad(int pad);

// --- display_sdl_x11.cpp: the X server beneath SDL --------------------------
// Called by DisplayOpen: asks the display to tell when other windows cover
// the window completely, and finds its connection; false where it cannot
// (then nothing is watched).
bool WatchX11Window(SDL_Window *window);
// Called by the event pump for the display's own messages: 1 when the window
// became fully covered, 0 when it became partly or wholly visible, -1 when the
// message says neither.
int WindowCoverChange(const SDL_SysWMmsg *message);
// Called by the event pump at rest: false only when the X server surely sent
// nothing since SDL last looked.
bool DisplayMayHaveNews();
// Called by a present at rest: whether the wait below can end early (only on
// an X display whose connection was found).
bool CanWaitForDisplayNews();
// Sleeps `seconds`, or less when the X server sends something (a key, the
// pointer) or a signal comes; true when it ended early.
bool WaitForDisplayNews(double seconds);
// For the window check at rest, from any thread: sends the window a message
// through a connection of its own, as news the game's wait should wake for.
// False where there is no X window.
bool SendWindowNews();

// --- display_sdl_audio.cpp ---------------------------------------------------
// Called by every event pump: hands the mixer the volume options, so that a
// change applies at once, gives the device a large buffer while the window
// has been out of view for a while (and the small one back as soon as it is
// in view), and reports once when the sound device stopped.
void ServiceAudioDevice(double now, bool inView);

// --- display_sdl_offscreen.cpp, for the benchmarks ---------------------------
// The present path without a window: upload into a texture of the page's
// format and draw it scaled by `scale` into a surface in memory.
bool OpenOffscreenPresent(int bytesPerPixel, int scale);
void PresentOffscreen(const uint8_t *pixels, int bytesPerPixel);
void CloseOffscreenPresent();

} // namespace halvane
