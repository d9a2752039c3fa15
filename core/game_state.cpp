#include "core/game_state.h"

namespace halvane {

int32_t WorkPage = 0;
int32_t TargetFps = 0;
double LastFrameTime = 0.0;
int32_t KeyHeld = 0;
int32_t MouseX = 0;
int32_t MouseY = 0;
int32_t MouseButtons = 0;

int32_t ScreenshotNumber = 0;
int32_t MenuSelection = 0;
int32_t AnimCycle6 = 0;
int32_t AnimCycle20 = 0;
int32_t MeasuredFps = 0;

int32_t OptControls = 0;
int32_t OptBackground = 0;
int32_t OptGameSpeed = 0;
int32_t OptSfxVolume = 0;
int32_t OptMusicVolume = 0;
int32_t OptAltitudeMeter = 0;

int32_t FadeAlpha = 0;
OffsetArray<int32_t, 1, 11> LineAlpha;

float LevelNumber = 0;
int32_t LevelBackdrop = 0;
float Score = 0;
float Lives = 0;
float Shield = 0;
int32_t Invulnerable = 0;
float EndPhase = 0;
float MissedShips = 0;
float MissedMines = 0;
int32_t ShowFps = 0;

int32_t HiScore = 0;
int32_t GameCompleted = 0;

} // namespace halvane
