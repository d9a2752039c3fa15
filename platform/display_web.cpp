// The browser: the page drawn into a canvas (web/page.js places and scales
// it), the browser's high-resolution clock, and waits that hand control back
// to the browser. The game's loops run as written: every sleep, refresh wait
// and now and then a pump suspends the program (ASYNCIFY) until the browser
// wakes it, so the tab stays responsive and input arrives.
#include "platform/display.h"

#include <emscripten.h>

#include <array>
#include <cstdint>
#include <cstring>

#include "core/game_state.h"
#include "core/image.h"
#include "platform/display_web.h"
#include "platform/frame_log.h"
#include "platform/frame_work.h"
#include "platform/replay.h"
#include "platform/screen.h"

namespace halvane {

namespace {

constexpr std::size_t kPagePixels = std::size_t{kScreenWidth} * kScreenHeight;
// Busy waits that only poll still let the browser run this often.
constexpr double kYieldIntervalSeconds = 0.008;
// The sound's queue is topped up before each sleep, where it costs the paced
// loops nothing; the polls of a loop that does not sleep do it this often.
constexpr double kSoundBeforeSleepMs = 5.0;
constexpr double kSoundAtPollMs = 40.0;

bool Opened = false;
bool PageUploaded = false;
uint32_t UploadedChangeCount = 0;
double LastYield = 0.0;
// The last page put into the canvas as the canvas takes it (bytes R, G, B,
// A); the page's picture is made straight from these bytes.
alignas(16) std::array<uint32_t, kPagePixels> CanvasPixels;

EM_JS(int, PageOpen, (), { return HalvanePage.open(); });
EM_JS(void, PageUploadStarts, (), { HalvanePage.uploadStarts(); });
EM_JS(void, PagePut, (const uint32_t *rgba), { HalvanePage.put(rgba); });
EM_JS(double, PageClock, (), { return HalvanePage.clock(); });
EM_JS(void, PageEnded, (int code), { HalvanePage.ended(code); });
EM_ASYNC_JS(void, PageSleep, (double ms), { await HalvanePage.sleep(ms); });
EM_ASYNC_JS(void, PageNextFrame, (), { await HalvanePage.nextFrame(); });
EM_ASYNC_JS(void, PageYield, (), { await HalvanePage.yieldOnce(); });

uint32_t CanvasPixel32(uint32_t p) {
    return 0xFF000000u | (p & 0xFFu) << 16 | (p & 0xFF00u) | (p >> 16 & 0xFFu);
}

// 5-6-5 widened by repeating the top bits, as desktop displays do.
uint32_t CanvasPixel16(uint16_t p) {
    const uint32_t r = p >> 11;
    const uint32_t g = p >> 5 & 0x3Fu;
    const uint32_t b = p & 0x1Fu;
    return 0xFF000000u | (b << 3 | b >> 2) << 16 | (g << 2 | g >> 4) << 8 | (r << 3 | r >> 2);
}

// Converts the page into CanvasPixels; true when a pixel differs from the
// page converted before.
bool ConvertPage(const uint8_t *pixels, int bytesPerPixel) {
    uint32_t differs = 0;
    if (bytesPerPixel == 4) {
        for (std::size_t i = 0; i < kPagePixels; ++i) {
            uint32_t p;
            std::memcpy(&p, pixels + i * 4, 4);
            const uint32_t c = CanvasPixel32(p);
            differs |= c ^ CanvasPixels[i];
            CanvasPixels[i] = c;
        }
    } else {
        for (std::size_t i = 0; i < kPagePixels; ++i) {
            uint16_t p;
            std::memcpy(&p, pixels + i * 2, 2);
            const uint32_t c = CanvasPixel16(p);
            differs |= c ^ CanvasPixels[i];
            CanvasPixels[i] = c;
        }
    }
    return differs != 0;
}

// Puts the page into the canvas when it changed since the last upload (and
// a pixel of it did).
void UploadPage(const uint8_t *pixels, int bytesPerPixel, uint32_t changeCount) {
    if (PageUploaded && changeCount == UploadedChangeCount) return;
    UploadedChangeCount = changeCount;
    // Putting the page into the canvas is the display's time, not the game's.
    const bool metered = PauseFrameWork();
    PageUploadStarts();
    if (ConvertPage(pixels, bytesPerPixel) || !PageUploaded) {
        PagePut(CanvasPixels.data());
        PageUploaded = true;
    }
    ResumeFrameWork(metered);
}

void NoteYield() {
    LastYield = PageClock();
}

} // namespace

bool DisplayOpen(int, bool) {
    // Full screen needs the player's gesture in a browser: the page asks for
    // it on Alt+Enter or a double click, so the setting opens the canvas.
    if (PageOpen() == 0) return false;
    TellPageTheKeys();
    Opened = true;
    return true;
}

void DisplayPresent(const Page &page, uint32_t changeCount, double restMs) {
    if (!Opened) {
        if (restMs > 0) DisplaySleep(restMs);
        return;
    }
    const bool metered = PauseFrameWork();
    TakePageInput();
    UploadPage(page.pixels, page.bytesPerPixel, changeCount);
    LogFirstPresent();
    // The browser's next refresh.
    PageNextFrame();
    NoteYield();
    TakePageInput();
    ResumeFrameWork(metered);
    if (restMs > 0) DisplaySleep(restMs);
}

void DisplayPump() {
    TakePageInput();
    ServiceWebAudio(kSoundAtPollMs);
    if (Opened && ScreenIsOpen())
        UploadPage(PagePixels(VisiblePageIndex()), ScreenBytesPerPixel(), VisibleChangeCount());
    // A loop that only polls (waiting for a key to be let go) still lets the
    // browser deliver that key.
    if (PageClock() - LastYield >= kYieldIntervalSeconds) {
        const bool metered = PauseFrameWork();
        PageYield();
        NoteYield();
        TakePageInput();
        ResumeFrameWork(metered);
    }
}

double DisplayClock() {
    const double now = PageClock();
    if (now - LastYield >= kYieldIntervalSeconds) DisplayPump();
    return now;
}

void DisplaySleep(double ms) {
    const bool metered = PauseFrameWork();
    DisplayPump();
    ServiceWebAudio(kSoundBeforeSleepMs);
    if (ms > 0) PageSleep(ms);
    NoteYield();
    DisplayPump();
    ResumeFrameWork(metered);
}

// The measuring mode's reading of the game's own work (platform/frame_work.h):
// the milliseconds and the count of the frames completed so far.
extern "C" EMSCRIPTEN_KEEPALIVE double halvane_frame_work_ms() {
    return FrameWorkSoFar().seconds * 1000.0;
}
extern "C" EMSCRIPTEN_KEEPALIVE int halvane_frame_work_frames() {
    return FrameWorkSoFar().frames;
}
// The number that the game's F read-out shows (whether shown or not).
extern "C" EMSCRIPTEN_KEEPALIVE int halvane_fps_readout() {
    return MeasuredFps;
}

void EndProgram(int code) {
    code = ReplayProgramEnds(code);
    FinishFrameLog();
    PageEnded(code);
    emscripten_force_exit(code);
}

} // namespace halvane
