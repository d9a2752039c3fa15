// The window's present path without a window, for the benchmarks: the page
// goes into a streaming texture of its own format and is drawn, scaled by an
// integer factor with nearest-neighbour, by SDL's software renderer into a
// surface in memory, which is what the window does under a virtual X server
// before the X server gets the pixels.
#include <SDL.h>

#include "core/image.h"
#include "platform/display_sdl.h"

namespace halvane {

namespace {

SDL_Surface *Target = nullptr;
SDL_Renderer *TargetRenderer = nullptr;
SDL_Texture *TargetTexture = nullptr;
int TargetScale = 1;

} // namespace

bool OpenOffscreenPresent(int bytesPerPixel, int scale) {
    CloseOffscreenPresent();
    TargetScale = scale;
    Target = SDL_CreateRGBSurfaceWithFormat(0, kScreenWidth * scale, kScreenHeight * scale, 32,
                                            SDL_PIXELFORMAT_RGB888);
    if (Target == nullptr) return false;
    TargetRenderer = SDL_CreateSoftwareRenderer(Target);
    if (TargetRenderer == nullptr) return false;
    const Uint32 format = bytesPerPixel == 2 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_ARGB8888;
    TargetTexture = SDL_CreateTexture(TargetRenderer, format, SDL_TEXTUREACCESS_STREAMING,
                                      kScreenWidth, kScreenHeight);
    if (TargetTexture == nullptr) return false;
    SDL_SetTextureScaleMode(TargetTexture, SDL_ScaleModeNearest);
    return true;
}

void PresentOffscreen(const uint8_t *pixels, int bytesPerPixel) {
    SDL_UpdateTexture(TargetTexture, nullptr, pixels, kScreenWidth * bytesPerPixel);
    const SDL_Rect destination{0, 0, kScreenWidth * TargetScale, kScreenHeight * TargetScale};
    SDL_RenderCopy(TargetRenderer, TargetTexture, nullptr, &destination);
    SDL_RenderPresent(TargetRenderer);
}

void CloseOffscreenPresent() {
    if (TargetTexture != nullptr) SDL_DestroyTexture(TargetTexture);
    if (TargetRenderer != nullptr) SDL_DestroyRenderer(TargetRenderer);
    if (Target != nullptr) SDL_FreeSurface(Target);
    TargetTexture = nullptr;
    TargetRenderer = nullptr;
    Target = nullptr;
}

} // namespace halvane
