// What SDL does not tell of its X11 window: whether other windows cover it
// completely (the X server says so when asked; the window then shows nothing,
// as when minimized), and whether the X server has sent anything since the
// last pump, so that a pump at rest can skip asking it. The few Xlib calls
// are taken from the copy SDL loaded, so the game links no X library of its
// own; on other displays nothing is watched and every pump asks.
#include <SDL.h>
#include <SDL_syswm.h>

#include <dlfcn.h>
#include <poll.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "platform/display_sdl.h"

namespace halvane {

#if defined(SDL_VIDEO_DRIVER_X11)

namespace {

using GetAttributesCall = int (*)(Display *, Window, XWindowAttributes *);
using SelectInputCall = int (*)(Display *, Window, long);
using EventsQueuedCall = int (*)(Display *, int);
using ConnectionNumberCall = int (*)(Display *);
using OpenDisplayCall = Display *(*)(const char *);
using SendEventCall = int (*)(Display *, Window, int, long, XEvent *);
using DisplayCall = int (*)(Display *);

Display *XDisplay = nullptr;
Window XWindow = 0;
EventsQueuedCall EventsQueued = nullptr;
int ConnectionFd = -1;

// A function of the Xlib that SDL loaded (a reference to it stays loaded
// after dlclose); nullptr where there is none.
template <typename Call> Call XlibCall(const char *name) {
    void *xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (xlib == nullptr) return nullptr;
    const auto call = reinterpret_cast<Call>(dlsym(xlib, name));
    dlclose(xlib);
    return call;
}

// Whether Xlib holds events already read, or the connection has something
// (an error or a hang-up too: SDL's pump then sees to it), waiting up to
// `timeout` for it (nullptr: not at all).
bool ConnectionHasNews(const timespec *timeout) {
    if (EventsQueued(XDisplay, QueuedAlready) > 0) return true;
    pollfd connection{ConnectionFd, POLLIN, 0};
    const timespec now{0, 0};
    // A signal (SIGTERM) ends a wait too, as news for the pump to act on.
    return ppoll(&connection, 1, timeout != nullptr ? timeout : &now, nullptr) != 0;
}

} // namespace

bool WatchX11Window(SDL_Window *window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11)
        return false;
    const auto getAttributes = XlibCall<GetAttributesCall>("XGetWindowAttributes");
    const auto selectInput = XlibCall<SelectInputCall>("XSelectInput");
    const auto connectionNumber = XlibCall<ConnectionNumberCall>("XConnectionNumber");
    EventsQueued = XlibCall<EventsQueuedCall>("XEventsQueued");
    Display *display = info.info.x11.display;
    XWindow = info.info.x11.window;
    if (EventsQueued != nullptr && connectionNumber != nullptr) {
        XDisplay = display;
        ConnectionFd = connectionNumber(display);
    }
    XWindowAttributes attributes{};
    if (getAttributes == nullptr || selectInput == nullptr ||
        getAttributes(display, info.info.x11.window, &attributes) == 0)
        return false;
    // The events SDL asked for stay; visibility is added to them.
    selectInput(display, info.info.x11.window, attributes.your_event_mask | VisibilityChangeMask);
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    return true;
}

int WindowCoverChange(const SDL_SysWMmsg *message) {
    if (message == nullptr || message->subsystem != SDL_SYSWM_X11) return -1;
    const XEvent &event = message->msg.x11.event;
    if (event.type != VisibilityNotify) return -1;
    return event.xvisibility.state == VisibilityFullyObscured ? 1 : 0;
}

bool DisplayMayHaveNews() {
    return ConnectionFd < 0 || ConnectionHasNews(nullptr);
}

bool CanWaitForDisplayNews() {
    return ConnectionFd >= 0;
}

bool WaitForDisplayNews(double seconds) {
    if (ConnectionFd < 0) {
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        return false;
    }
    const double whole = std::floor(seconds);
    const timespec timeout{static_cast<time_t>(whole), static_cast<long>((seconds - whole) * 1e9)};
    return ConnectionHasNews(&timeout);
}

bool SendWindowNews() {
    if (XWindow == 0) return false;
    const auto openDisplay = XlibCall<OpenDisplayCall>("XOpenDisplay");
    const auto sendEvent = XlibCall<SendEventCall>("XSendEvent");
    const auto flush = XlibCall<DisplayCall>("XFlush");
    const auto closeDisplay = XlibCall<DisplayCall>("XCloseDisplay");
    if (openDisplay == nullptr || sendEvent == nullptr || flush == nullptr ||
        closeDisplay == nullptr)
        return false;
    // A connection of its own: SDL's belongs to the game's thread.
    Display *other = openDisplay(nullptr);
    if (other == nullptr) return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = XWindow;
    event.xclient.format = 32;
    // No event mask: the message goes to the window's own client, SDL, which
    // passes over it.
    const bool sent = sendEvent(other, XWindow, False, 0, &event) != 0;
    flush(other);
    closeDisplay(other);
    return sent;
}

#else

bool SendWindowNews() {
    return false;
}

bool WatchX11Window(SDL_Window *) {
    return false;
}

int WindowCoverChange(const SDL_SysWMmsg *) {
    return -1;
}

bool DisplayMayHaveNews() {
    return true;
}

bool CanWaitForDisplayNews() {
    return false;
}

bool WaitForDisplayNews(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    return false;
}

#endif

} // namespace halvane
