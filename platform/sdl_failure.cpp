#include <SDL.h>

#include "platform/sdl_shared.h"

std::string sdlFailure(const std::string& what) {
  const char* reason = SDL_GetError();
  return what + ": " + (reason && *reason ? reason : "no reason given");
}
