// The SDL window: opening, presenting the visible page scaled to the window,
// the clock, sleeping and the end of the program. The event pump lives in
// display_sdl_events.cpp.
#include "platform/display.h"
#include "platform/replay.h"

#include <SDL.h>

#ifdef __linux__
#include <sys/prctl.h>
#endif

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "core/image.h"
#include "platform/app_icon.h"
#include "platform/display_sdl.h"
#include "platform/frame_log.h"
#include "platform/refresh_ticks.h"
#include "platform/screen.h"

namespace halvane {

namespace {

// A present that returns sooner than this did not wait for a refresh.
constexpr double kPresentWaitedSeconds = 0.001;
// Room left on the desktop for the window's frame and title bar.
constexpr int kFrameAllowanceX = 16;
constexpr int kFrameAllowanceY = 48;

SDL_Window *Window = nullptr;
SDL_Renderer *Renderer = nullptr;
SDL_Texture *PageTexture = nullptr;
bool RendererHasVsync = false;
bool PageUploaded = false;
uint32_t UploadedChangeCount = 0;
// False while the window is minimized or hidden: nothing is uploaded or
// presented then, while the game goes on as ever.
bool WindowShown = true;
// The refresh the last present waited for, in clock seconds.
double ServedTick = 0.0;
// Presents in a row that came back at once although vsync was asked for;
// after a few the display is taken to give no refresh signal.
int QuickPresents = 0;
// Presents in a row that had nothing new to show; half a second of them and
// the window is at rest.
constexpr int kStillPresentsAtRest = 30;
int StillPresents = 0;

double CounterSeconds() {
    static const double frequency = static_cast<double>(SDL_GetPerformanceFrequency());
    return static_cast<double>(SDL_GetPerformanceCounter()) / frequency;
}

// Largest integer scale at which the window and its frame fit the desktop.
int OpeningScale() {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
    const int sx = (usable.w - kFrameAllowanceX) / kScreenWidth;
    const int sy = (usable.h - kFrameAllowanceY) / kScreenHeight;
    return std::max(1, std::min(sx, sy));
}

SDL_Window *CreateWindowOfKind(bool fullScreen, int scale) {
    const Uint32 flags = SDL_WINDOW_RESIZABLE | (fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    return SDL_CreateWindow("Halvane", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                            kScreenWidth * scale, kScreenHeight * scale, flags);
}

// The game's icon on the window's title bar and task switcher, drawn from the
// same strokes as the installed icons.
constexpr int kWindowIconSize = 64;
std::array<uint32_t, kWindowIconSize * kWindowIconSize> WindowIconPixels;

void SetWindowIcon() {
    if (!DrawIcon(kWindowIconSize, WindowIconPixels)) return;
    SDL_Surface *icon = SDL_CreateRGBSurfaceWithFormatFrom(WindowIconPixels.data(), kWindowIconSize,
                                                           kWindowIconSize, 32, kWindowIconSize * 4,
                                                           SDL_PIXELFORMAT_ARGB8888);
    if (icon == nullptr) return;
    SDL_SetWindowIcon(Window, icon);
    SDL_FreeSurface(icon);
}

SDL_Renderer *CreateRendererWithVsync() {
    SDL_Renderer *renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (renderer == nullptr) renderer = SDL_CreateRenderer(Window, -1, 0);
    if (renderer == nullptr) renderer = SDL_CreateRenderer(Window, -1, SDL_RENDERER_SOFTWARE);
    return renderer;
}

// The page's place in output pixels: the largest integer scale that fits,
// centred with black bars; in a window smaller than the page, scaled down
// with its 4:3 shape kept.
SDL_Rect PageDestination(int outputW, int outputH) {
    const int scale = std::min(outputW / kScreenWidth, outputH / kScreenHeight);
    int w = kScreenWidth * scale;
    int h = kScreenHeight * scale;
    if (scale < 1) {
        const double fit = std::min(static_cast<double>(outputW) / kScreenWidth,
                                    static_cast<double>(outputH) / kScreenHeight);
        w = std::max(1, static_cast<int>(kScreenWidth * fit));
        h = std::max(1, static_cast<int>(kScreenHeight * fit));
    }
    return {(outputW - w) / 2, (outputH - h) / 2, w, h};
}

void DrawPageToWindow() {
    int outputW = 0;
    int outputH = 0;
    SDL_GetRendererOutputSize(Renderer, &outputW, &outputH);
    const SDL_Rect destination = PageDestination(outputW, outputH);
    SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
    SDL_RenderClear(Renderer);
    if (PageUploaded) SDL_RenderCopy(Renderer, PageTexture, nullptr, &destination);
    SDL_RenderPresent(Renderer);
    NoteWindowDrawn();
}

// What was last uploaded: a page the game drew again unchanged (the menu
// redraws its picture at every pass) is neither uploaded nor presented again.
alignas(64) std::array<uint8_t, std::size_t{kScreenWidth} * kScreenHeight * 4> UploadedPixels;

// Uploads the page when it changed since the last upload; returns false when
// the window already shows exactly these pixels.
bool UploadPage(const uint8_t *pixels, int bytesPerPixel, uint32_t changeCount) {
    if (!WindowShown) return false;
    if (PageUploaded && changeCount == UploadedChangeCount) return false;
    const std::size_t bytes = std::size_t{kScreenWidth} * kScreenHeight * bytesPerPixel;
    UploadedChangeCount = changeCount;
    if (PageUploaded && std::memcmp(UploadedPixels.data(), pixels, bytes) == 0) return false;
    StillPresents = 0;
    std::memcpy(UploadedPixels.data(), pixels, bytes);
    SDL_UpdateTexture(PageTexture, nullptr, pixels, kScreenWidth * bytesPerPixel);
    PageUploaded = true;
    return true;
}

void SleepUntil(double when) {
    const double now = CounterSeconds();
    if (when > now) DisplaySleep((when - now) * 1000.0);
}

// The next refresh, then the rest the caller asked for, in one sleep.
void WaitForTick(double restMs) {
    ServedTick = NextTick(CounterSeconds());
    SleepUntil(ServedTick + restMs / 1000.0);
}

// Out of view, a few refreshes at a time (an idle game wakes 20 times a
// second rather than 120).
void WaitForHiddenTick(double restMs) {
    const TickWait wait = HiddenTickWait(ServedTick, CounterSeconds(), restMs / 1000.0);
    ServedTick = wait.tick;
    SleepUntil(wait.wakeAt);
}

// At rest in view (a still page, every input coming through the X server)
// the refreshes come a few at a time as out of view, so that the menu left
// alone seldom wakes; the wait ends early on the display's news, a key or the
// pointer, and then lasts only until this present's own refresh, so the game
// answers as soon as ever.
void WaitForTickAtRest(double restMs) {
    const TickWait wait = HiddenTickWait(ServedTick, CounterSeconds(), restMs / 1000.0);
    ServedTick = wait.tick;
    const double now = CounterSeconds();
    if (wait.wakeAt <= now) return;
    if (WaitForDisplayNews(wait.wakeAt - now)) SleepUntil(wait.tick + restMs / 1000.0);
}

bool AtRest() {
    return StillPresents >= kStillPresentsAtRest && CanWaitForDisplayNews() && !AnyPadOpen();
}

} // namespace

bool DisplayOpen(int bytesPerPixel, bool fullScreen) {
    // The game ends on SIGTERM/SIGINT by its own flag, checked where it waits.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    InstallEndSignals();
#ifdef __linux__
    // Sleeps end within a few microseconds of their time rather than the
    // default 50, so the frame limiter spins less.
    prctl(PR_SET_TIMERSLACK, 1000UL, 0UL, 0UL, 0UL);
#endif
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        std::fprintf(stderr, "halvane: no display: %s\n", SDL_GetError());
        return false;
    }
    // Without an X server SDL quietly picks an invisible driver.
    const char *driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
        std::strcmp(driver, "dummy") == 0) {
        std::fprintf(stderr, "halvane: no display (SDL video driver \"%s\")\n",
                     driver ? driver : "none");
        SDL_Quit();
        return false;
    }
    const int scale = OpeningScale();
    Window = CreateWindowOfKind(fullScreen, scale);
    if (Window == nullptr) Window = CreateWindowOfKind(!fullScreen, scale);
    if (Window == nullptr) {
        std::fprintf(stderr, "halvane: cannot open a window: %s\n", SDL_GetError());
        SDL_Quit();
        return false;
    }
    SDL_SetWindowMinimumSize(Window, kScreenWidth / 4, kScreenHeight / 4);
    SetWindowIcon();
    Renderer = CreateRendererWithVsync();
    const Uint32 format = bytesPerPixel == 2 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_ARGB8888;
    if (Renderer != nullptr) {
        PageTexture = SDL_CreateTexture(Renderer, format, SDL_TEXTUREACCESS_STREAMING, kScreenWidth,
                                        kScreenHeight);
    }
    if (Renderer == nullptr || PageTexture == nullptr) {
        std::fprintf(stderr, "halvane: cannot draw into the window: %s\n", SDL_GetError());
        SDL_Quit();
        return false;
    }
    SDL_SetTextureScaleMode(PageTexture, SDL_ScaleModeNearest);
    SDL_RendererInfo info;
    RendererHasVsync =
        SDL_GetRendererInfo(Renderer, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    SDL_ShowCursor(SDL_DISABLE);
    WatchX11Window(Window);
    OpenPads();
    DrawPageToWindow();
    PumpWindowEvents();
    return true;
}

void DisplayPresent(const Page &page, uint32_t changeCount, double restMs) {
    if (Renderer == nullptr) {
        if (restMs > 0) DisplaySleep(restMs);
        return;
    }
    PumpWindowEvents();
    if (!UploadPage(page.pixels, page.bytesPerPixel, changeCount)) {
        // Nothing new to show: the wait for the refresh is the clock's.
        LogFirstPresent();
        StillPresents = std::min(StillPresents + 1, kStillPresentsAtRest);
        if (!WindowShown)
            WaitForHiddenTick(restMs);
        else if (AtRest())
            WaitForTickAtRest(restMs);
        else
            WaitForTick(restMs);
        PumpWindowEvents();
        return;
    }
    const double before = CounterSeconds();
    DrawPageToWindow();
    // The first present the game asks for (the menu's opening fade) ends the
    // start-up that the measuring mode times.
    LogFirstPresent();
    const bool waited = CounterSeconds() - before >= kPresentWaitedSeconds;
    QuickPresents = waited ? 0 : QuickPresents + 1;
    // A present that came back at once (no vsync, or a display without a
    // refresh signal such as a virtual X server) is paced by the clock, so that
    // fades take the same time everywhere.
    if (!RendererHasVsync || QuickPresents >= 3) {
        WaitForTick(restMs);
    } else {
        ServedTick = LastTick(CounterSeconds());
        if (restMs > 0) DisplaySleep(restMs);
    }
    PumpWindowEvents();
}

void DisplayPump() {
    PumpWindowEvents();
    // The page-swapping loops never wait for a refresh: they make the page
    // they drew visible (SetPages) and pace themselves. The window shows such
    // a page at the next pump, without waiting, so that their frame rates
    // hold.
    if (Renderer == nullptr || !ScreenIsOpen()) return;
    if (!UploadPage(PageView(VisiblePageIndex()), ScreenBytesPerPixel(), VisibleChangeCount()))
        return;
    if (RendererHasVsync) SDL_RenderSetVSync(Renderer, 0);
    DrawPageToWindow();
    if (RendererHasVsync) SDL_RenderSetVSync(Renderer, 1);
}

void ToggleFullScreen() {
    if (Window == nullptr) return;
    const bool isFull = (SDL_GetWindowFlags(Window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
    SDL_SetWindowFullscreen(Window, isFull ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void RedrawWindow() {
    if (Renderer == nullptr || !WindowShown) return;
    if (ScreenIsOpen())
        UploadPage(PageView(VisiblePageIndex()), ScreenBytesPerPixel(), VisibleChangeCount());
    DrawPageToWindow();
}

void SetWindowShown(bool shown) {
    if (shown == WindowShown) return;
    WindowShown = shown;
    // Back in view: the page the game shows now, at once.
    if (shown) RedrawWindow();
}

PageRect PagePlacement() {
    if (Renderer == nullptr) return {0, 0, 1};
    int windowW = 0;
    int windowH = 0;
    int outputW = 0;
    int outputH = 0;
    SDL_GetWindowSize(Window, &windowW, &windowH);
    SDL_GetRendererOutputSize(Renderer, &outputW, &outputH);
    if (windowW <= 0 || outputW <= 0) return {0, 0, 1};
    // Output pixels per window pixel (above 1 on high-density screens).
    const double density = static_cast<double>(outputW) / windowW;
    const SDL_Rect destination = PageDestination(outputW, outputH);
    return {destination.x / density, destination.y / density,
            destination.w / density / kScreenWidth};
}

double DisplayClock() {
    const double now = CounterSeconds();
    PumpNowAndThen(now);
    return now;
}

void DisplaySleep(double ms) {
    DisplayPump();
    if (ms > 0) std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
    DisplayPump();
}

void EndProgram(int code) {
    code = ReplayProgramEnds(code);
    FinishFrameLog();
    std::fflush(stdout);
    if (SDL_WasInit(0) != 0) {
        SDL_SetRelativeMouseMode(SDL_FALSE);
        SDL_Quit();
    }
    std::exit(code);
}

} // namespace halvane
