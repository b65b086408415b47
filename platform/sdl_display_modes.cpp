#include <SDL.h>

#include "platform/display_modes.h"

namespace {
bool videoStarted() { return SDL_WasInit(SDL_INIT_VIDEO) || SDL_InitSubSystem(SDL_INIT_VIDEO) == 0; }
}  // namespace

bool displayModeAt(int index, int32_t& width, int32_t& height) {
  if (!videoStarted()) return false;
  if (index < 0 || index >= SDL_GetNumDisplayModes(0)) return false;
  SDL_DisplayMode mode;
  if (SDL_GetDisplayMode(0, index, &mode) != 0) return false;
  width = mode.w;
  height = mode.h;
  return true;
}

bool currentDisplayMode(int32_t& width, int32_t& height) {
  SDL_DisplayMode mode;
  if (!videoStarted() || SDL_GetDesktopDisplayMode(0, &mode) != 0 || mode.w <= 0 || mode.h <= 0) return false;
  width = mode.w;
  height = mode.h;
  return true;
}
