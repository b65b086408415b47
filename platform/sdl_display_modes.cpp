#include <SDL.h>

#include "platform/display_modes.h"
#include "platform/sdl_shared.h"

namespace {
bool videoStarted() { return SDL_WasInit(SDL_INIT_VIDEO) || SDL_InitSubSystem(SDL_INIT_VIDEO) == 0; }
}  // namespace

bool displayModeAt(int index, int32_t& width, int32_t& height, std::string* error) {
  if (!videoStarted()) {
    *error = sdlFailure("could not read the display's modes");
    return false;
  }
  const int count = SDL_GetNumDisplayModes(0);
  if (count < 0) {
    *error = sdlFailure("could not count the display's modes");
    return false;
  }
  if (index < 0 || index >= count) return false;
  SDL_DisplayMode mode;
  if (SDL_GetDisplayMode(0, index, &mode) != 0) {
    *error = sdlFailure("could not read display mode " + std::to_string(index));
    return false;
  }
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
