// menu_harness.h -- what the menu tests share: a plain menu picture, the
// shipped font, a keyboard script and a record of every presented page.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>

#include "platform/input.h"

namespace halvane {

constexpr uint32_t kPictureColour = 0x204060; // the test's menu picture
constexpr uint32_t kFontInk = 0xF2F6FF;       // ink of the shipped font

// What the test keeps of one presented page.
struct Frame {
    double time;                       // virtual clock when presented
    uint32_t background;               // a pixel far from all text
    std::array<uint32_t, 4> menuItems; // first-row ink of each menu item
    std::array<uint32_t, 7> optionItems;
    uint32_t helpFirst, helpLast; // ink of the help page's first and last lines
    int32_t optControls, optBackground, optGameSpeed, optSfx, optMusic, optAltitude;
};

constexpr int kMaxFrames = 20000;
// Virtual seconds after which a run is cut short with the exit code kGaveUp.
constexpr double kGiveUpAfter = 60.0;
constexpr int kGaveUp = 99;
extern std::array<Frame, kMaxFrames> Frames;
extern int FrameCount;
extern int MenuSelectSounds; // counted by the stand-in sound layer

// Opens the headless screen, paints the menu picture, loads the shipped font,
// sets the start-up options and starts recording presented pages.
void PrepareMenuTest();

// A keyboard script: the keys held from each time on.
struct KeyScript {
    std::array<ScriptStep, 128> steps{};
    int count = 0;
    void At(double time, std::initializer_list<int> keys);
    void Use(); // adds a last step with every key up
};

// The colour of `ink` blended over `ground` at `opacity`, as the screen does.
uint32_t Blend(uint32_t ink, uint32_t ground, int opacity);

// Which menu item a frame highlights: 1..4 when the frame is a menu frame
// (full picture, one item at 255, the others at 160), else 0.
int HighlightedItem(const Frame &frame);

} // namespace halvane
