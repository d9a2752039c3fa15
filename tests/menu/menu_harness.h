// menu_harness.h -- what the menu tests share: a plain menu picture, the
// shipped font, a keyboard script and a record of every presented page.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "platform/input.h"

namespace halvane {

constexpr uint32_t kPictureColour = 0x204060; // the test's menu picture
constexpr uint32_t kFontInk = 0xF2F6FF;       // ink of the shipped font

// What the test keeps of one presented page.
struct Frame {
    double time;
    uint32_t background;               // a pixel far from all text
    std::array<uint32_t, 4> menuItems; // first-row ink of each menu item
    std::array<uint32_t, 7> optionItems;
    uint32_t helpFirst, helpLast;   // ink of the help page's first and last lines
    std::array<int32_t, 6> options; // controls, background, speed, sfx, music, altitude
    int sounds;                     // menu-select sounds so far
};

constexpr int kMaxFrames = 20000;
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
    void Tap(double time, std::initializer_list<int> keys); // held 0.1 s
    void Use();                                             // adds a last step with every key up
};

// The colour of `ink` blended over `ground` at `opacity`, as the screen does.
uint32_t Blend(uint32_t ink, uint32_t ground, int opacity);

// The highlighted menu item of each recorded frame from `from` on, repeats
// folded; -1 marks a stretch of other screens.
std::vector<int> Highlights(int from);

// Expects the frames from `first` on to fade the picture in steps of 15 from
// `start` (up when `up`), for `steps` frames.
void ExpectFade(int first, int start, bool up, int steps);

} // namespace halvane
