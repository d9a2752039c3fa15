// game_state.h -- the program-wide variables that more than one subsystem
// reads or writes. Each names the subsystem that owns it (sets its rules);
// variables that one subsystem alone uses live in that subsystem's header.
#pragma once

#include <cstdint>

#include "core/offset_array.h"

namespace halvane {

// --- platform: pages and pacing ---------------------------------------------
extern int32_t WorkPage;        // page drawn by the page-swapping loops (0/1)
extern int32_t TargetFps;       // frame-rate cap of the paced loops
extern double LastFrameTime;    // clock at the end of the last paced frame
extern int32_t KeyHeld;         // the key latch of the menus (0/1)
extern int32_t MouseX;          // last mouse reading; the control cursor in flight
extern int32_t MouseY;
extern int32_t MouseButtons;    // bit 0 left, bit 1 right, bit 2 middle

// --- game flow (app) -------------------------------------------------------
extern int32_t ScreenshotNumber; // number of the next screenshot file
extern int32_t MenuSelection;    // highlighted item of the menu and options
extern int32_t AnimCycle6;       // 1..6, one step per frame of play
extern int32_t AnimCycle20;      // 1..20, one step per frame of play
extern int32_t MeasuredFps;      // frames counted in the last second

// --- options (start-up sets them, the options screen changes them) ---------
extern int32_t OptControls;      // 1 mouse, 2 keyboard
extern int32_t OptBackground;    // 1 on, 0 off
extern int32_t OptGameSpeed;     // 1 slow .. 4 turbo
extern int32_t OptSfxVolume;     // 0..4
extern int32_t OptMusicVolume;   // 0..4
extern int32_t OptAltitudeMeter; // 1 on, 0 off

// --- screens: fades and text lines ----------------------------------------
extern int32_t FadeAlpha;                    // opacity of the picture being faded
extern OffsetArray<int32_t, 1, 11> LineAlpha; // per-line opacities of text screens

// --- world ---------------------------------------------------------------
extern float LevelNumber;      // current level 1..5 (6 after the last)
extern int32_t LevelBackdrop;  // slot of ScreenImages drawn behind the level
extern float Score;
extern float Lives;            // spare lives; -1 ends the game
extern float Shield;           // shield energy 0..1000
extern int32_t Invulnerable;   // frames of protection left
extern float EndPhase;         // 0 in play, 1 and 2 during the fly-out
extern float MissedShips;      // enemies that passed the craft in this level
extern float MissedMines;
extern int32_t ShowFps;        // frame-rate read-out flag (F toggles it)

// --- screens: best score and the end of the game ----------------------------
extern int32_t HiScore;        // best score so far
extern int32_t GameCompleted;  // 1 once the fifth level is completed

} // namespace halvane
