// Whether other windows cover the game's window completely. SDL does not say,
// but the X server does when asked: the window then shows nothing, as when
// minimized. Xlib's two calls are taken from the copy SDL loaded, so the game
// links no X library of its own; on other displays nothing is watched.
#include <SDL.h>
#include <SDL_syswm.h>

#include <dlfcn.h>

#include "platform/display_sdl.h"

namespace halvane {

bool WatchWindowCover(SDL_Window *window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11)
        return false;
    void *xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (xlib == nullptr) return false;
    using GetAttributes = int (*)(Display *, Window, XWindowAttributes *);
    using SelectInput = int (*)(Display *, Window, long);
    const auto getAttributes = reinterpret_cast<GetAttributes>(dlsym(xlib, "XGetWindowAttributes"));
    const auto selectInput = reinterpret_cast<SelectInput>(dlsym(xlib, "XSelectInput"));
    XWindowAttributes attributes{};
    bool watching = getAttributes != nullptr && selectInput != nullptr &&
                    getAttributes(info.info.x11.display, info.info.x11.window, &attributes) != 0;
    // The events SDL asked for stay; visibility is added to them.
    if (watching)
        selectInput(info.info.x11.display, info.info.x11.window,
                    attributes.your_event_mask | VisibilityChangeMask);
    // The handle only counted a reference to SDL's copy, which stays loaded.
    dlclose(xlib);
    if (watching) SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    return watching;
#else
    (void)window;
    return false;
#endif
}

int WindowCoverChange(const SDL_SysWMmsg *message) {
#if defined(SDL_VIDEO_DRIVER_X11)
    if (message == nullptr || message->subsystem != SDL_SYSWM_X11) return -1;
    const XEvent &event = message->msg.x11.event;
    if (event.type != VisibilityNotify) return -1;
    return event.xvisibility.state == VisibilityFullyObscured ? 1 : 0;
#else
    (void)message;
    return -1;
#endif
}

} // namespace halvane
