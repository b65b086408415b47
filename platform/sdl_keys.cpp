#include <SDL.h>

#include "platform/keys.h"

bool escapePressed() {
  bool pressed = false;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_QUIT) pressed = true;
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE) pressed = true;
    if (event.type == SDL_KEYDOWN && event.key.keysym.scancode == SDL_SCANCODE_ESCAPE) pressed = true;
  }
  const Uint8* keys = SDL_GetKeyboardState(nullptr);
  return pressed || (keys != nullptr && keys[SDL_SCANCODE_ESCAPE] != 0);
}
