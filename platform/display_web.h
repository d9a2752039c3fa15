// display_web.h -- what the browser backend's files share (display_web.cpp:
// the canvas, the clock and waiting; display_web_events.cpp: the page's
// input; display_web_audio.cpp: the sound). The page side lives in web/page.js. Names no emscripten type.
#pragma once

namespace halvane {

// Called by DisplayOpen: hands the page the key table, so that it knows
// which keys the game reads (and keeps them from scrolling the page).
void TellPageTheKeys();

// Drains the input that the page collected since the last call into the
// device input state, and tells the page whether the game reads the mouse
// (a click then locks the pointer). Called at every pump.
void TakePageInput();

// Called at every pump and before every sleep: once the player has pressed a
// key or clicked, starts the sound and keeps its queue of mixed samples
// topped up, when `intervalMs` passed since it last did; hands the mixer the
// volume options.
void ServiceWebAudio(double intervalMs);

} // namespace halvane
