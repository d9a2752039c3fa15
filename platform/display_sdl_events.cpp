// The SDL window's event pump: keys by position (set-1 scan codes), the
// mouse as a pointer on the page, window events, and the program's end on a
// closed window, SIGTERM or SIGINT.
#include <SDL.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <csignal>
#include <cstddef>

#include "core/image.h"
#include "platform/display.h"
#include "platform/display_sdl.h"
#include "platform/input.h"

namespace halvane {

namespace {

// Busy waits that only read the clock still service the window this often.
constexpr double kPumpIntervalSeconds = 0.005;
// Pumps closer together than this are one pump.
constexpr double kPumpAgainSeconds = 0.001;
// Out of view the window shows nothing and takes no keys; its events (back
// in view, closed) are fetched this often, so an idle game costs little.
constexpr double kHiddenPumpAgainSeconds = 0.025;

volatile std::sig_atomic_t EndSignalled = 0;
double LastPumpTime = 0.0;
// At rest a pump asks the X server for news only when its connection shows
// some, and at least this often (a controller plugged in comes this way).
constexpr double kFullPumpSeconds = 0.1;
double LastFullPump = 0.0;
bool DrawnSinceFullPump = true;
bool WindowFocused = true;
bool WindowHidden = false;  // minimized or hidden
bool WindowCovered = false; // fully covered by other windows
bool RelativeMode = false;
// The Enter of an Alt+Enter: swallowed from its press to its release.
SDL_Scancode SwallowedKey = SDL_SCANCODE_UNKNOWN;
// The page pointer with its fraction, so that slow relative motion adds up.
double PointerX = 310.0;
double PointerY = 4.0;
// Keys held on the keyboard; the game sees these or the controllers' keys.
std::array<bool, 128> KeyboardKeys{};
std::array<bool, 128> PadKeys{};

struct KeyCode {
    SDL_Scancode sdl;
    int setOne;
};

// SDL's key positions to the PC keyboard's set-1 codes (the extended keys
// share the codes of their keypad twins, as on the PC).
constexpr std::array kKeyCodes{
    KeyCode{SDL_SCANCODE_ESCAPE, 1},
    KeyCode{SDL_SCANCODE_1, 2},
    KeyCode{SDL_SCANCODE_2, 3},
    KeyCode{SDL_SCANCODE_3, 4},
    KeyCode{SDL_SCANCODE_4, 5},
    KeyCode{SDL_SCANCODE_5, 6},
    KeyCode{SDL_SCANCODE_6, 7},
    KeyCode{SDL_SCANCODE_7, 8},
    KeyCode{SDL_SCANCODE_8, 9},
    KeyCode{SDL_SCANCODE_9, 10},
    KeyCode{SDL_SCANCODE_0, 11},
    KeyCode{SDL_SCANCODE_MINUS, 12},
    KeyCode{SDL_SCANCODE_EQUALS, 13},
    KeyCode{SDL_SCANCODE_BACKSPACE, 14},
    KeyCode{SDL_SCANCODE_TAB, 15},
    KeyCode{SDL_SCANCODE_Q, 16},
    KeyCode{SDL_SCANCODE_W, 17},
    KeyCode{SDL_SCANCODE_E, 18},
    KeyCode{SDL_SCANCODE_R, 19},
    KeyCode{SDL_SCANCODE_T, 20},
    KeyCode{SDL_SCANCODE_Y, 21},
    KeyCode{SDL_SCANCODE_U, 22},
    KeyCode{SDL_SCANCODE_I, 23},
    KeyCode{SDL_SCANCODE_O, 24},
    KeyCode{SDL_SCANCODE_P, 25},
    KeyCode{SDL_SCANCODE_LEFTBRACKET, 26},
    KeyCode{SDL_SCANCODE_RIGHTBRACKET, 27},
    KeyCode{SDL_SCANCODE_RETURN, 28},
    KeyCode{SDL_SCANCODE_KP_ENTER, 28},
    KeyCode{SDL_SCANCODE_LCTRL, 29},
    KeyCode{SDL_SCANCODE_RCTRL, 29},
    KeyCode{SDL_SCANCODE_A, 30},
    KeyCode{SDL_SCANCODE_S, 31},
    KeyCode{SDL_SCANCODE_D, 32},
    KeyCode{SDL_SCANCODE_F, 33},
    KeyCode{SDL_SCANCODE_G, 34},
    KeyCode{SDL_SCANCODE_H, 35},
    KeyCode{SDL_SCANCODE_J, 36},
    KeyCode{SDL_SCANCODE_K, 37},
    KeyCode{SDL_SCANCODE_L, 38},
    KeyCode{SDL_SCANCODE_SEMICOLON, 39},
    KeyCode{SDL_SCANCODE_APOSTROPHE, 40},
    KeyCode{SDL_SCANCODE_GRAVE, 41},
    KeyCode{SDL_SCANCODE_LSHIFT, 42},
    KeyCode{SDL_SCANCODE_BACKSLASH, 43},
    KeyCode{SDL_SCANCODE_Z, 44},
    KeyCode{SDL_SCANCODE_X, 45},
    KeyCode{SDL_SCANCODE_C, 46},
    KeyCode{SDL_SCANCODE_V, 47},
    KeyCode{SDL_SCANCODE_B, 48},
    KeyCode{SDL_SCANCODE_N, 49},
    KeyCode{SDL_SCANCODE_M, 50},
    KeyCode{SDL_SCANCODE_COMMA, 51},
    KeyCode{SDL_SCANCODE_PERIOD, 52},
    KeyCode{SDL_SCANCODE_SLASH, 53},
    KeyCode{SDL_SCANCODE_KP_DIVIDE, 53},
    KeyCode{SDL_SCANCODE_RSHIFT, 54},
    KeyCode{SDL_SCANCODE_KP_MULTIPLY, 55},
    KeyCode{SDL_SCANCODE_LALT, 56},
    KeyCode{SDL_SCANCODE_RALT, 56},
    KeyCode{SDL_SCANCODE_SPACE, 57},
    KeyCode{SDL_SCANCODE_CAPSLOCK, 58},
    KeyCode{SDL_SCANCODE_F1, 59},
    KeyCode{SDL_SCANCODE_F2, 60},
    KeyCode{SDL_SCANCODE_F3, 61},
    KeyCode{SDL_SCANCODE_F4, 62},
    KeyCode{SDL_SCANCODE_F5, 63},
    KeyCode{SDL_SCANCODE_F6, 64},
    KeyCode{SDL_SCANCODE_F7, 65},
    KeyCode{SDL_SCANCODE_F8, 66},
    KeyCode{SDL_SCANCODE_F9, 67},
    KeyCode{SDL_SCANCODE_F10, 68},
    KeyCode{SDL_SCANCODE_NUMLOCKCLEAR, 69},
    KeyCode{SDL_SCANCODE_SCROLLLOCK, 70},
    KeyCode{SDL_SCANCODE_KP_7, 71},
    KeyCode{SDL_SCANCODE_HOME, 71},
    KeyCode{SDL_SCANCODE_KP_8, 72},
    KeyCode{SDL_SCANCODE_UP, 72},
    KeyCode{SDL_SCANCODE_KP_9, 73},
    KeyCode{SDL_SCANCODE_PAGEUP, 73},
    KeyCode{SDL_SCANCODE_KP_MINUS, 74},
    KeyCode{SDL_SCANCODE_KP_4, 75},
    KeyCode{SDL_SCANCODE_LEFT, 75},
    KeyCode{SDL_SCANCODE_KP_5, 76},
    KeyCode{SDL_SCANCODE_KP_6, 77},
    KeyCode{SDL_SCANCODE_RIGHT, 77},
    KeyCode{SDL_SCANCODE_KP_PLUS, 78},
    KeyCode{SDL_SCANCODE_KP_1, 79},
    KeyCode{SDL_SCANCODE_END, 79},
    KeyCode{SDL_SCANCODE_KP_2, 80},
    KeyCode{SDL_SCANCODE_DOWN, 80},
    KeyCode{SDL_SCANCODE_KP_3, 81},
    KeyCode{SDL_SCANCODE_PAGEDOWN, 81},
    KeyCode{SDL_SCANCODE_KP_0, 82},
    KeyCode{SDL_SCANCODE_INSERT, 82},
    KeyCode{SDL_SCANCODE_KP_PERIOD, 83},
    KeyCode{SDL_SCANCODE_DELETE, 83},
    KeyCode{SDL_SCANCODE_NONUSBACKSLASH, 86},
    KeyCode{SDL_SCANCODE_F11, 87},
    KeyCode{SDL_SCANCODE_F12, 88},
};

// 0 for keys the PC keyboard has no code for.
int SetOneCode(SDL_Scancode scancode) {
    for (const KeyCode &key : kKeyCodes) {
        if (key.sdl == scancode) return key.setOne;
    }
    return 0;
}

int ButtonBit(Uint8 button) {
    switch (button) {
    case SDL_BUTTON_LEFT:
        return kMouseLeft;
    case SDL_BUTTON_RIGHT:
        return kMouseRight;
    case SDL_BUTTON_MIDDLE:
        return kMouseMiddle;
    default:
        return 0;
    }
}

void OnEndSignal(int) {
    EndSignalled = 1;
}

bool IsEnter(SDL_Scancode scancode) {
    return scancode == SDL_SCANCODE_RETURN || scancode == SDL_SCANCODE_KP_ENTER;
}

void OnKey(const SDL_KeyboardEvent &event, InputState &input) {
    const SDL_Scancode scancode = event.keysym.scancode;
    if (event.type == SDL_KEYDOWN) {
        // Alt+Enter is the window's own key: its Enter never reaches the game.
        if (IsEnter(scancode) && (event.keysym.mod & KMOD_ALT) != 0 && event.repeat == 0) {
            SwallowedKey = scancode;
            ToggleFullScreen();
            return;
        }
        if (scancode == SwallowedKey) return;
        const int code = SetOneCode(scancode);
        if (code == 0) return;
        KeyboardKeys[code] = true;
        if (event.repeat == 0) ++input.pressesWaiting;
        return;
    }
    if (scancode == SwallowedKey) {
        SwallowedKey = SDL_SCANCODE_UNKNOWN;
        return;
    }
    const int code = SetOneCode(scancode);
    if (code != 0) KeyboardKeys[code] = false;
}

// The page pointer as the game reads it; resynchronised when the game moved
// it (SetMousePosition writes the input state directly).
void MovePointer(double x, double y, InputState &input) {
    PointerX = std::clamp(x, 0.0, static_cast<double>(kScreenWidth - 1));
    PointerY = std::clamp(y, 0.0, static_cast<double>(kScreenHeight - 1));
    input.mouseX = static_cast<int>(PointerX);
    input.mouseY = static_cast<int>(PointerY);
}

// Moves the page pointer by (dx, dy) page pixels from where the game last
// saw it.
void MovePointerBy(double dx, double dy, InputState &input) {
    if (input.mouseX != static_cast<int>(PointerX)) PointerX = input.mouseX;
    if (input.mouseY != static_cast<int>(PointerY)) PointerY = input.mouseY;
    MovePointer(PointerX + dx, PointerY + dy, input);
}

void OnMotion(const SDL_MouseMotionEvent &event, InputState &input) {
    const PageRect page = PagePlacement();
    if (RelativeMode) {
        MovePointerBy(event.xrel / page.pageScale, event.yrel / page.pageScale, input);
    } else {
        MovePointer((event.x - page.x) / page.pageScale, (event.y - page.y) / page.pageScale,
                    input);
    }
}

void OnWindowEvent(const SDL_WindowEvent &event, InputState &input) {
    switch (event.event) {
    case SDL_WINDOWEVENT_FOCUS_LOST:
        WindowFocused = false;
        // Keys released while another window had focus would stay held.
        KeyboardKeys.fill(false);
        input.buttons = 0;
        SwallowedKey = SDL_SCANCODE_UNKNOWN;
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        WindowFocused = true;
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_HIDDEN:
        WindowHidden = true;
        SetWindowShown(false);
        break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_SHOWN:
        WindowHidden = false;
        SetWindowShown(!WindowCovered);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        RedrawWindow();
        break;
    default:
        break;
    }
}

void OnCoverChange(int covered) {
    if (covered < 0) return;
    WindowCovered = covered == 1;
    SetWindowShown(!WindowHidden && !WindowCovered);
}

// The game sees a key held on the keyboard or by a controller; a key a
// controller newly holds is a press, as a key's would be.
void ApplyPads(double now, InputState &input) {
    const PadOutput &pads = ReadPads(now);
    for (std::size_t i = 0; i < input.keys.size(); ++i) {
        if (pads.keys[i] && !PadKeys[i] && !KeyboardKeys[i]) ++input.pressesWaiting;
        PadKeys[i] = pads.keys[i];
        input.keys[i] = KeyboardKeys[i] || PadKeys[i];
    }
    if (pads.pointerX != 0 || pads.pointerY != 0)
        MovePointerBy(pads.pointerX, pads.pointerY, input);
}

// Relative mode while the game reads the mouse and the window has focus.
void UpdateMouseCapture() {
    const bool wanted = WindowFocused && MouseCaptureWanted();
    if (wanted == RelativeMode) return;
    RelativeMode = wanted;
    SDL_SetRelativeMouseMode(wanted ? SDL_TRUE : SDL_FALSE);
}

} // namespace

void InstallEndSignals() {
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void PumpNowAndThen(double now) {
    if (EndSignalled != 0) EndProgram(0);
    if (now - LastPumpTime < kPumpIntervalSeconds) return;
    DisplayPump();
}

void NoteWindowDrawn() {
    DrawnSinceFullPump = true;
}

void PumpWindowEvents() {
    if (EndSignalled != 0) EndProgram(0);
    if (SDL_WasInit(SDL_INIT_EVENTS) == 0) return;
    const double now = static_cast<double>(SDL_GetPerformanceCounter()) /
                       static_cast<double>(SDL_GetPerformanceFrequency());
    // Each pump asks the X server for news; calls closer together than this
    // (before and after a short sleep, around a present) would find none.
    const bool outOfView = WindowHidden || WindowCovered;
    if (now - LastPumpTime < (outOfView ? kHiddenPumpAgainSeconds : kPumpAgainSeconds)) return;
    LastPumpTime = now;
    // The sound device is serviced as often, which is soon enough for a
    // volume change and costs an idle game nothing between pumps.
    ServiceAudioDevice(now, !outOfView);
    InputState &input = DeviceInput();
    // At rest (nothing drawn into the window since, no controller to read,
    // the mouse free) only the connection is looked at. Otherwise one trip
    // to the X server a pump: SDL_PollEvent would make one per event and one
    // more to find the queue empty.
    const bool atRest = !DrawnSinceFullPump && !RelativeMode && !AnyPadOpen() &&
                        now - LastFullPump < kFullPumpSeconds;
    if (!atRest || DisplayMayHaveNews()) {
        SDL_PumpEvents();
        LastFullPump = now;
        DrawnSinceFullPump = false;
    }
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
        switch (event.type) {
        case SDL_QUIT:
            EndProgram(0);
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            OnKey(event.key, input);
            break;
        case SDL_MOUSEMOTION:
            OnMotion(event.motion, input);
            break;
        case SDL_MOUSEBUTTONDOWN:
            input.buttons |= ButtonBit(event.button.button);
            break;
        case SDL_MOUSEBUTTONUP:
            input.buttons &= ~ButtonBit(event.button.button);
            break;
        case SDL_MOUSEWHEEL:
            input.wheel += event.wheel.y;
            break;
        case SDL_WINDOWEVENT:
            OnWindowEvent(event.window, input);
            break;
        case SDL_SYSWMEVENT:
            OnCoverChange(WindowCoverChange(event.syswm.msg));
            break;
        case SDL_CONTROLLERDEVICEADDED:
            PadAdded(event.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            PadRemoved(event.cdevice.which);
            break;
        default:
            break;
        }
    }
    ApplyPads(now, input);
    UpdateMouseCapture();
}

} // namespace halvane
