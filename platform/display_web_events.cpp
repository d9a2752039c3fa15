// The browser's input: keys by their position on the keyboard
// (KeyboardEvent.code) as the PC's set-1 scan codes, the mouse as a pointer
// on the page (relative while the pointer is locked), and everything held
// let go when the page loses focus. The page (web/page.js) queues the
// events; the game takes them at each pump.
#include <emscripten.h>

#include <algorithm>
#include <array>

#include "core/image.h"
#include "platform/display_web.h"
#include "platform/input.h"

namespace halvane {

namespace {

struct KeyCode {
    const char *code; // KeyboardEvent.code
    int setOne;
};

// The keyboard's positions to set-1 codes (the extended keys share the codes
// of their keypad twins, as on the PC), as the SDL window maps them.
constexpr std::array kKeyCodes{
    KeyCode{"Escape", 1},
    KeyCode{"Digit1", 2},
    KeyCode{"Digit2", 3},
    KeyCode{"Digit3", 4},
    KeyCode{"Digit4", 5},
    KeyCode{"Digit5", 6},
    KeyCode{"Digit6", 7},
    KeyCode{"Digit7", 8},
    KeyCode{"Digit8", 9},
    KeyCode{"Digit9", 10},
    KeyCode{"Digit0", 11},
    KeyCode{"Minus", 12},
    KeyCode{"Equal", 13},
    KeyCode{"Backspace", 14},
    KeyCode{"Tab", 15},
    KeyCode{"KeyQ", 16},
    KeyCode{"KeyW", 17},
    KeyCode{"KeyE", 18},
    KeyCode{"KeyR", 19},
    KeyCode{"KeyT", 20},
    KeyCode{"KeyY", 21},
    KeyCode{"KeyU", 22},
    KeyCode{"KeyI", 23},
    KeyCode{"KeyO", 24},
    KeyCode{"KeyP", 25},
    KeyCode{"BracketLeft", 26},
    KeyCode{"BracketRight", 27},
    KeyCode{"Enter", 28},
    KeyCode{"NumpadEnter", 28},
    KeyCode{"ControlLeft", 29},
    KeyCode{"ControlRight", 29},
    KeyCode{"KeyA", 30},
    KeyCode{"KeyS", 31},
    KeyCode{"KeyD", 32},
    KeyCode{"KeyF", 33},
    KeyCode{"KeyG", 34},
    KeyCode{"KeyH", 35},
    KeyCode{"KeyJ", 36},
    KeyCode{"KeyK", 37},
    KeyCode{"KeyL", 38},
    KeyCode{"Semicolon", 39},
    KeyCode{"Quote", 40},
    KeyCode{"Backquote", 41},
    KeyCode{"ShiftLeft", 42},
    KeyCode{"Backslash", 43},
    KeyCode{"KeyZ", 44},
    KeyCode{"KeyX", 45},
    KeyCode{"KeyC", 46},
    KeyCode{"KeyV", 47},
    KeyCode{"KeyB", 48},
    KeyCode{"KeyN", 49},
    KeyCode{"KeyM", 50},
    KeyCode{"Comma", 51},
    KeyCode{"Period", 52},
    KeyCode{"Slash", 53},
    KeyCode{"NumpadDivide", 53},
    KeyCode{"ShiftRight", 54},
    KeyCode{"NumpadMultiply", 55},
    KeyCode{"AltLeft", 56},
    KeyCode{"AltRight", 56},
    KeyCode{"Space", 57},
    KeyCode{"CapsLock", 58},
    KeyCode{"F1", 59},
    KeyCode{"F2", 60},
    KeyCode{"F3", 61},
    KeyCode{"F4", 62},
    KeyCode{"F5", 63},
    KeyCode{"F6", 64},
    KeyCode{"F7", 65},
    KeyCode{"F8", 66},
    KeyCode{"F9", 67},
    KeyCode{"F10", 68},
    KeyCode{"NumLock", 69},
    KeyCode{"ScrollLock", 70},
    KeyCode{"Numpad7", 71},
    KeyCode{"Home", 71},
    KeyCode{"Numpad8", 72},
    KeyCode{"ArrowUp", 72},
    KeyCode{"Numpad9", 73},
    KeyCode{"PageUp", 73},
    KeyCode{"NumpadSubtract", 74},
    KeyCode{"Numpad4", 75},
    KeyCode{"ArrowLeft", 75},
    KeyCode{"Numpad5", 76},
    KeyCode{"Numpad6", 77},
    KeyCode{"ArrowRight", 77},
    KeyCode{"NumpadAdd", 78},
    KeyCode{"Numpad1", 79},
    KeyCode{"End", 79},
    KeyCode{"Numpad2", 80},
    KeyCode{"ArrowDown", 80},
    KeyCode{"Numpad3", 81},
    KeyCode{"PageDown", 81},
    KeyCode{"Numpad0", 82},
    KeyCode{"Insert", 82},
    KeyCode{"NumpadDecimal", 83},
    KeyCode{"Delete", 83},
    KeyCode{"IntlBackslash", 86},
    KeyCode{"F11", 87},
    KeyCode{"F12", 88},
};

// What the page queues, four numbers an event (kind, a, b, 0); positions
// and motion come in 1/256 of a page pixel.
enum PageEvent {
    kKeyPress = 1,   // a: set-1 code, b: 1 when the key repeats
    kKeyRelease = 2, // a: set-1 code
    kPointerAt = 3,  // a, b: page position
    kPointerBy = 4,  // a, b: motion while the pointer is locked
    kButtonPress = 5,
    kButtonRelease = 6, // a: button bit
    kWheel = 7,         // a: notches away from the player
    kFocusLost = 8,
};
constexpr int kEventInts = 4;
constexpr int kMaxEventsPerTake = 256;
constexpr double kFixedOne = 256.0;

std::array<int, kEventInts * kMaxEventsPerTake> EventInts;
// The page pointer with its fraction, so that slow locked motion adds up.
double PointerX = 310.0;
double PointerY = 4.0;
bool MouseWantedTold = false;
// A key let go before the game looked at it (the page was busy, say starting
// its sound, and handed over the press and its release together, or the loop
// polls other keys first) stays down until the game has polled it once, or
// for this long when the game does not read it.
constexpr double kShortPressHoldSeconds = 0.5;
constexpr double kNotTaken = -1.0;
std::array<double, 128> PressTakenAt = [] {
    std::array<double, 128> times{};
    times.fill(kNotTaken);
    return times;
}();
std::array<bool, 128> ReleaseWaiting{};
bool AnyReleaseWaiting = false;

EM_JS(void, PageAddKey, (const char *code, int setOne),
      { HalvanePage.keyCodes.set(UTF8ToString(code), setOne); });
EM_JS(int, PageTakeEvents, (int *out, int maxEvents), { return HalvanePage.take(out, maxEvents); });
EM_JS(void, PageSetMouseWanted, (int wanted), { HalvanePage.mouseWanted = wanted != 0; });
// The game's clock (as DisplayClock reads it, without its pump).
EM_JS(double, PageClockNow, (), { return HalvanePage.clock(); });

void MovePointer(double x, double y, InputState &input) {
    PointerX = std::clamp(x, 0.0, static_cast<double>(kScreenWidth - 1));
    PointerY = std::clamp(y, 0.0, static_cast<double>(kScreenHeight - 1));
    input.mouseX = static_cast<int>(PointerX);
    input.mouseY = static_cast<int>(PointerY);
}

void TakeEvent(const int *event, InputState &input) {
    const int a = event[1];
    const int b = event[2];
    switch (event[0]) {
    case kKeyPress:
        if (a <= 0 || a >= static_cast<int>(input.keys.size())) return;
        input.keys[static_cast<std::size_t>(a)] = true;
        PressTakenAt[static_cast<std::size_t>(a)] = PageClockNow();
        ReleaseWaiting[static_cast<std::size_t>(a)] = false;
        if (b == 0) ++input.pressesWaiting;
        return;
    case kKeyRelease:
        if (a <= 0 || a >= static_cast<int>(input.keys.size())) return;
        if (KeyLastPolled(a) < PressTakenAt[static_cast<std::size_t>(a)]) {
            ReleaseWaiting[static_cast<std::size_t>(a)] = true;
            AnyReleaseWaiting = true;
        } else {
            input.keys[static_cast<std::size_t>(a)] = false;
        }
        return;
    case kPointerAt:
        MovePointer(a / kFixedOne, b / kFixedOne, input);
        return;
    case kPointerBy:
        // The game may have placed the pointer (SetMousePosition) since.
        if (input.mouseX != static_cast<int>(PointerX)) PointerX = input.mouseX;
        if (input.mouseY != static_cast<int>(PointerY)) PointerY = input.mouseY;
        MovePointer(PointerX + a / kFixedOne, PointerY + b / kFixedOne, input);
        return;
    case kButtonPress:
        input.buttons |= a;
        return;
    case kButtonRelease:
        input.buttons &= ~a;
        return;
    case kWheel:
        input.wheel += a;
        return;
    case kFocusLost:
        // Keys released while the page had no focus would stay held.
        input.keys.fill(false);
        ReleaseWaiting.fill(false);
        AnyReleaseWaiting = false;
        input.buttons = 0;
        return;
    default:
        return;
    }
}

// Lets go the keys held for the game's look that it has had (or that it does
// not read).
void LetGoSeenPresses(InputState &input, double now) {
    AnyReleaseWaiting = false;
    for (std::size_t key = 0; key < ReleaseWaiting.size(); ++key) {
        if (!ReleaseWaiting[key]) continue;
        if (KeyLastPolled(static_cast<int>(key)) >= PressTakenAt[key] ||
            now - PressTakenAt[key] >= kShortPressHoldSeconds) {
            input.keys[key] = false;
            ReleaseWaiting[key] = false;
        } else {
            AnyReleaseWaiting = true;
        }
    }
}

} // namespace

void TellPageTheKeys() {
    for (const KeyCode &key : kKeyCodes)
        PageAddKey(key.code, key.setOne);
}

void TakePageInput() {
    InputState &input = DeviceInput();
    if (AnyReleaseWaiting) LetGoSeenPresses(input, PageClockNow());
    for (;;) {
        const int count = PageTakeEvents(EventInts.data(), kMaxEventsPerTake);
        for (int i = 0; i < count; ++i)
            TakeEvent(EventInts.data() + static_cast<std::ptrdiff_t>(i) * kEventInts, input);
        if (count < kMaxEventsPerTake) break;
    }
    const bool wanted = MouseCaptureWanted();
    if (wanted != MouseWantedTold) {
        MouseWantedTold = wanted;
        PageSetMouseWanted(wanted ? 1 : 0);
    }
}

} // namespace halvane
