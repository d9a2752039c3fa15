// Controllers as keys and pointer: which key each input holds where, the
// stick's dead zone and diagonals, several controllers as one, and keys
// that stay with the input that pressed them across a change of screen.
#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <set>
#include <string>

#include "platform/input.h"
#include "platform/pad_mapping.h"

namespace halvane {
namespace {

constexpr PadSituation kMenus{PadPlace::Menus, false};
constexpr PadSituation kFlightKeys{PadPlace::Flight, false};
constexpr PadSituation kFlightMouse{PadPlace::Flight, true};
constexpr PadSituation kPrompt{PadPlace::Prompt, false};

using Pads = std::array<PadState, kMaxPads>;

PadState Pad(std::initializer_list<int> buttons, float x = 0, float y = 0, float left = 0,
             float right = 0) {
    PadState pad;
    pad.connected = true;
    for (int b : buttons)
        pad.buttons[b] = true;
    pad.stickX = x, pad.stickY = y, pad.leftTrigger = left, pad.rightTrigger = right;
    return pad;
}

std::set<int> HeldKeys(const PadOutput &out) {
    std::set<int> keys;
    for (int k = 0; k < 128; ++k)
        if (out.keys[k]) keys.insert(k);
    return keys;
}

// One step of a sequence: the first controller's state (the others
// unplugged) in a situation, and the keys it should hold then.
struct Step {
    PadSituation situation;
    PadState pad;
    std::set<int> keys;
};

struct Sequence {
    const char *name;
    std::initializer_list<Step> steps;
};

TEST(PadMapping, EachInputHoldsItsKeyWhereItWasPressed) {
    const PadState none = Pad({});
    const Sequence sequences[] = {
        // Every input alone, pressed and released in each place.
        {"menus",
         {{kMenus, Pad({kPadA}), {kKeyEnter}},
          {kMenus, none, {}},
          {kMenus, Pad({kPadB}), {}},
          {kMenus, none, {}},
          {kMenus, Pad({kPadStart}), {kKeyEnter}},
          {kMenus, none, {}},
          {kMenus, Pad({kPadBack, kPadRightShoulder, kPadX, kPadY}), {}},
          {kMenus, none, {}},
          {kMenus, Pad({kPadUp, kPadRight}), {kKeyUp, kKeyRight}},
          {kMenus, none, {}},
          {kMenus, Pad({}, -1, 1), {kKeyLeft, kKeyDown}}}},
        {"flight, keyboard controls",
         {{kFlightKeys, Pad({kPadA, kPadRightShoulder}), {kKeyEnter, kKeySpace}},
          {kFlightKeys, none, {}},
          {kFlightKeys, Pad({}, 0, 0, 1, 0), {kKeyV}},
          {kFlightKeys, Pad({}, 0, 0, 0, 1), {kKeyC}},
          {kFlightKeys, none, {}},
          {kFlightKeys, Pad({kPadStart}), {kKeyEsc}},
          {kFlightKeys, none, {}},
          {kFlightKeys, Pad({kPadBack}), {kKeyEsc}},
          {kFlightKeys, none, {}},
          {kFlightKeys, Pad({kPadB}), {kKeyEsc}},
          {kFlightKeys, none, {}},
          {kFlightKeys, Pad({kPadDown}, 0.9f, 0), {kKeyDown, kKeyRight}}}},
        {"flight, mouse controls: the stick and d-pad steer the pointer, no arrows",
         {{kFlightMouse, Pad({kPadUp, kPadLeft}, 1, 1), {}},
          {kFlightMouse, Pad({kPadA}, 0, 0, 0, 1), {kKeyEnter, kKeyC}}}},
        {"prompt",
         {{kPrompt, Pad({kPadA}), {kKeyY}},
          {kPrompt, none, {}},
          {kPrompt, Pad({kPadB}), {kKeyN}},
          {kPrompt, none, {}},
          {kPrompt, Pad({kPadStart}), {kKeyN}},
          {kPrompt, none, {}},
          {kPrompt, Pad({kPadBack}), {kKeyN}},
          {kPrompt, none, {}},
          {kPrompt, Pad({kPadRightShoulder}), {}}}},
        // A held button keeps the key it pressed through a change of screen
        // and takes the new place's key only when pressed again.
        {"A fires, is held into the prompt, then answers Y",
         {{kFlightKeys, Pad({kPadA}), {kKeyEnter}},
          {kPrompt, Pad({kPadA}), {kKeyEnter}},
          {kPrompt, none, {}},
          {kPrompt, Pad({kPadA}), {kKeyY}},
          {kMenus, Pad({kPadA}), {kKeyY}},
          {kMenus, none, {}}}},
        {"Start opens the prompt and does not answer it while held",
         {{kFlightMouse, Pad({kPadStart}), {kKeyEsc}},
          {kPrompt, Pad({kPadStart}), {kKeyEsc}},
          {kPrompt, none, {}},
          {kPrompt, Pad({kPadStart}), {kKeyN}},
          {kFlightMouse, Pad({kPadStart}), {kKeyN}},
          {kFlightMouse, none, {}}}},
        {"an arrow held from the menus into flight with mouse controls",
         {{kMenus, Pad({kPadDown}), {kKeyDown}},
          {kFlightMouse, Pad({kPadDown}), {kKeyDown}},
          {kFlightMouse, none, {}},
          {kFlightMouse, Pad({kPadDown}), {}}}},
        // The stick presses at 0.5 and lets go below 0.35, so a stick held
        // near the edge does not press twice.
        {"stick and trigger edges",
         {{kMenus, Pad({}, 0, 0.45f), {}},
          {kMenus, Pad({}, 0, 0.5f), {kKeyDown}},
          {kMenus, Pad({}, 0, 0.36f), {kKeyDown}},
          {kMenus, Pad({}, 0, 0.34f), {}},
          {kMenus, Pad({}, 0, 0.45f), {}},
          {kMenus, Pad({}, -0.3f, -0.6f), {kKeyUp}},
          {kMenus, Pad({}, 0.6f, -0.6f), {kKeyUp, kKeyRight}},
          {kMenus, Pad({}, 0, 0, 0.49f, 0.5f), {kKeyC}},
          {kMenus, Pad({}, 0, 0, 0.4f, 0.4f), {kKeyC}}}},
    };
    for (const Sequence &sequence : sequences) {
        PadMemory memory;
        int index = 0;
        for (const Step &step : sequence.steps) {
            Pads pads{};
            pads[0] = step.pad;
            const PadOutput out = MapPads(pads, step.situation, 0.01, memory);
            EXPECT_EQ(HeldKeys(out), step.keys) << sequence.name << ", step " << index;
            ++index;
        }
    }
}

TEST(PadMapping, SeveralControllersActAsOneAndARemovedOneLetsGo) {
    PadMemory memory;
    Pads pads{};
    pads[0] = Pad({kPadA});
    pads[3] = Pad({kPadA, kPadUp});
    EXPECT_EQ(HeldKeys(MapPads(pads, kMenus, 0.01, memory)), (std::set<int>{kKeyEnter, kKeyUp}));
    // The fourth is pulled out with its buttons down: its keys go, the
    // first still holds Enter.
    pads[3].connected = false;
    EXPECT_EQ(HeldKeys(MapPads(pads, kMenus, 0.01, memory)), std::set<int>{kKeyEnter});
    pads[0].connected = false;
    EXPECT_EQ(HeldKeys(MapPads(pads, kMenus, 0.01, memory)), std::set<int>{});
    // Plugged in again with A still down, A is a new press: here the prompt's Y.
    pads[0].connected = true;
    EXPECT_EQ(HeldKeys(MapPads(pads, kPrompt, 0.01, memory)), std::set<int>{kKeyY});
}

TEST(PadMapping, PointerSpeedFollowsTheStickPastTheDeadZone) {
    const double full = kPointerSpeed * 0.1; // pixels in 0.1 s at full deflection
    const double diagonal = full * 0.70710678;
    struct Case {
        const char *name;
        PadState first, second;
        double seconds, x, y;
    };
    const Case cases[] = {
        {"resting stick", Pad({}, 0.2f, -0.15f), {}, 0.1, 0, 0},
        {"edge of the dead zone", Pad({}, kDeadZone, 0), {}, 0.1, 0, 0},
        {"full right", Pad({}, 1, 0), {}, 0.1, full, 0},
        {"half way past the dead zone", Pad({}, 0, -0.625f), {}, 0.1, 0, -full / 2},
        {"diagonal keeps its direction",
         Pad({}, 0.70710678f, 0.70710678f),
         {},
         0.1,
         diagonal,
         diagonal},
        {"beyond the rim", Pad({}, -1, -1), {}, 0.1, -diagonal, -diagonal},
        {"d-pad is full deflection", Pad({kPadLeft, kPadDown}), {}, 0.1, -full, full},
        {"d-pad against the stick", Pad({kPadLeft}, 1, 0), {}, 0.1, 0, 0},
        {"d-pad with the stick, no faster", Pad({kPadRight}, 1, 0), {}, 0.1, full, 0},
        {"two controllers, no faster", Pad({}, 1, 0), Pad({}, 1, 0), 0.1, full, 0},
        {"two controllers against each other", Pad({}, 1, 0), Pad({}, -0.8f, 0.6f), 0.1, full * 0.2,
         full * 0.6},
        {"a long stall moves no further", Pad({}, 1, 0), {}, 5.0, full, 0},
        {"a clock set back moves nothing", Pad({}, 1, 0), {}, -1.0, 0, 0},
    };
    for (const Case &c : cases) {
        PadMemory memory;
        Pads pads{};
        pads[0] = c.first;
        pads[1] = c.second;
        const PadOutput out = MapPads(pads, kFlightMouse, c.seconds, memory);
        EXPECT_NEAR(out.pointerX, c.x, 1e-3) << c.name;
        EXPECT_NEAR(out.pointerY, c.y, 1e-3) << c.name;
        // Anywhere else the stick never moves the pointer.
        PadMemory other;
        const PadOutput menus = MapPads(pads, kFlightKeys, c.seconds, other);
        EXPECT_EQ(menus.pointerX, 0) << c.name;
        EXPECT_EQ(menus.pointerY, 0) << c.name;
    }
}

TEST(PadMapping, SituationFollowsTheKeysTheGamePolls) {
    constexpr double kNever = -1e9;
    struct Case {
        double now, esc, yesNo;
        bool mouse;
        PadPlace place;
        bool pointer;
    };
    const Case cases[] = {
        {10.0, kNever, kNever, true, PadPlace::Menus, false}, // menus read the mouse too
        {10.0, 9.95, kNever, false, PadPlace::Flight, false}, // keyboard controls
        {10.0, 9.95, kNever, true, PadPlace::Flight, true},   // mouse controls
        {10.0, 9.7, kNever, true, PadPlace::Menus, false},    // flight left for a briefing
        {10.0, 9.9, 9.95, true, PadPlace::Prompt, false},     // the prompt came up
        {10.0, 9.99, 9.95, true, PadPlace::Flight, true},     // and was answered N
        {10.0, 9.5, 9.99, false, PadPlace::Prompt, false},
        {10.0, kNever, 9.6, false, PadPlace::Menus, false},
    };
    for (const Case &c : cases) {
        const PadSituation s = PadSituationAt(c.now, c.esc, c.yesNo, c.mouse);
        EXPECT_EQ(s.place, c.place) << c.esc << " " << c.yesNo;
        EXPECT_EQ(s.pointer, c.pointer) << c.esc << " " << c.yesNo;
    }
}

} // namespace
} // namespace halvane
