#include <SDL.h>
#include <SDL_syswm.h>

#include "platform/keys.h"
#include "platform/stop_signals.h"

namespace {

// The X window the show draws on was destroyed from outside (a window
// manager or a tool that destroys windows): SDL reports no event of its own
// for that, and the show would go on drawing into nothing.
bool drawnWindowDestroyed(const SDL_SysWMmsg* message) {
#if defined(SDL_VIDEO_DRIVER_X11)
  if (message == nullptr || message->subsystem != SDL_SYSWM_X11) return false;
  const XEvent& event = message->msg.x11.event;
  if (event.type != DestroyNotify) return false;
  SDL_Window* window = SDL_GL_GetCurrentWindow();
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  return window != nullptr && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11 &&
         info.info.x11.window == event.xdestroywindow.window;
#else
  (void)message;
  return false;
#endif
}

}  // namespace

bool escapePressed() {
  bool pressed = stopSignal() != 0;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_QUIT) pressed = true;
    if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE) pressed = true;
    if (event.type == SDL_SYSWMEVENT && drawnWindowDestroyed(event.syswm.msg)) pressed = true;
    if (event.type == SDL_KEYDOWN && event.key.keysym.scancode == SDL_SCANCODE_ESCAPE) pressed = true;
  }
  const Uint8* keys = SDL_GetKeyboardState(nullptr);
  return pressed || (keys != nullptr && keys[SDL_SCANCODE_ESCAPE] != 0);
}
