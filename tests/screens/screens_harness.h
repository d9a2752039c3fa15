// screens_harness.h -- what the screen tests share: plain pictures, the shipped
// font, a pilot that holds keys, a record of every page shown and sound asked.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/game_state.h" // what every screen test reads
#include "core/image_store.h"
#include "platform/headless.h"
#include "platform/input.h"
#include "platform/screen.h"
#include "render/font.h"
#include "tests/files/temp_dir.h"

namespace halvane {

constexpr double kStart = 100.0;        // virtual clock at the start of each test
constexpr uint32_t kFontInk = 0xF2F6FF; // ink of the shipped font
constexpr uint32_t kBriefingColour = 0x203848;
constexpr std::array<uint32_t, 5> kScriptColours{0xC01010, 0x10C010, 0x1010C0, 0xC0C010,
                                                 0x10C0C0}; // Sprites 2..6

// One page the player saw.
struct Shot {
    double time;                    // seconds after kStart
    bool paced;                     // finished by a page-swapping loop rather than presented
    int32_t fade;                   // FadeAlpha then
    uint64_t hash;                  // of the whole page
    std::array<int, 4> ink;         // pixels of full font ink in InkBoxes
    std::array<uint32_t, 8> probe;  // colours at Probes
    std::array<int32_t, 11> lines;  // LineAlpha 1..11
    std::array<int32_t, 6> options; // controls, background, speed, sfx, music, altitude
    std::array<float, 2> world;     // the view's travel (MapPosition - ScrollOffset), CraftY
    int32_t fps;                    // MeasuredFps
};

constexpr int kMaxShots = 6000;
extern std::array<Shot, kMaxShots> Shots;
extern int ShotCount;
extern std::array<std::array<int, 4>, 4> InkBoxes; // x1, y1, x2, y2, corners included
extern std::array<std::array<int, 2>, 8> Probes;

// Every sound request as "name@shots " (the shots recorded before it): "stop",
// the music file, or the effect "open", "line", "stats", "boom", else "fx".
extern std::string Heard;
int HeardCount(const std::string &name);
// Heard as (name, shots) pairs, in order.
std::vector<std::pair<std::string, int>> HeardSounds();

// Keys (scan codes) or mouse buttons (a mask) held from `from` to `until`,
// seconds after kStart. A screen still going after a minute ends with
// ProgramEnded{99}: it fails instead of hanging.
void HoldKey(int scanCode, double from, double until);
void HoldButtons(int mask, double from, double until);

// Opens the headless screen with the shipped font, the briefing and end
// pictures and the script strips; clock kStart, TargetFps 23; records afresh.
void PrepareScreens();
// Fills CaptureImage with one colour (the frame a screen starts from).
void FillCapture(uint32_t colour);

uint64_t PageHash(const uint8_t *pixels);              // 640 x 480 x 4 bytes
uint32_t PixelOf(const uint8_t *pixels, int x, int y); // its colour at (x, y)
// The statistics screen over a frame of one colour, drawn here by hand.
uint64_t StatisticsHash(uint32_t frame, int ships, int mines);
// Paced shots in [first, last), and the first paced (or not) shot from `from`.
int CountPaced(int first, int last);
int NextShot(int from, bool paced);

} // namespace halvane
