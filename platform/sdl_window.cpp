// The show's window on SDL 2 with its OpenGL 3.3 core context, on which
// the GL device makes its objects.
#include "platform/window.h"

#include <SDL.h>

#include <cstring>

#include "platform/failure_text.h"
#include "platform/gl_shared.h"
#include "platform/sdl_shared.h"

namespace {

struct SdlWindow {
  SDL_Window* window = nullptr;
  SDL_GLContext context = nullptr;
  bool cursorHidden = false;
};

SdlWindow state;

void swapShowWindow() { SDL_GL_SwapWindow(state.window); }
void showWindowDrawableSize(int* width, int* height) { SDL_GL_GetDrawableSize(state.window, width, height); }

// The context on the window, current, presenting without waiting for the
// vertical retrace, and the device's objects in it.
bool createContextAndDevice(int width, int height, std::string* error) {
  state.context = SDL_GL_CreateContext(state.window);
  if (!state.context) {
    *error = sdlFailure("could not create an OpenGL 3.3 core context");
    return false;
  }
  if (epoxy_gl_version() < 33) {
    *error = platformFailure("the graphics driver offers OpenGL " + std::to_string(epoxy_gl_version() / 10) + "." +
                             std::to_string(epoxy_gl_version() % 10) + "; the show needs OpenGL 3.3");
    return false;
  }
  SDL_GL_SetSwapInterval(0);
  return createGlDevice(GlBackBuffer{width, height, showWindowDrawableSize, swapShowWindow}, error);
}

// Whatever openWindow made so far, in reverse order.
void release() {
  if (state.context) {
    releaseGlDevice();
    SDL_GL_DeleteContext(state.context);
  }
  if (state.cursorHidden) SDL_ShowCursor(SDL_ENABLE);
  if (state.window) SDL_DestroyWindow(state.window);
  state = SdlWindow{};
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace

bool openWindow(const WindowRequest& request, std::string* error) {
  if (!checkWindowRequest(request, state.window != nullptr, error)) return false;
  if (request.headless) SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    *error = sdlFailure("could not start the video system");
    return false;
  }
  // Without a display SDL may fall back to a driver that draws nowhere; a
  // show nobody can see would play on silently. Only a headless request or
  // a driver chosen on purpose (SDL_VIDEODRIVER) may use one.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
  const bool drawsNowhere = driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
  if (!request.headless && drawsNowhere && !(chosen && *chosen)) {
    *error = platformFailure("no display to show the window on", "no X11 or Wayland display could be opened");
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }

  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);

  Uint32 flags = SDL_WINDOW_OPENGL;
  flags |= request.headless ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN;
  if (request.borderless) flags |= SDL_WINDOW_BORDERLESS;
  if (request.fullScreen && !request.headless) flags |= SDL_WINDOW_FULLSCREEN;
  const int position = request.borderless ? 0 : static_cast<int>(SDL_WINDOWPOS_CENTERED);
  state.window = SDL_CreateWindow(request.title ? request.title : "", position, position, request.width,
                                  request.height, flags);
  if (!state.window) {
    *error = sdlFailure("could not open a " + std::to_string(request.width) + " x " +
                        std::to_string(request.height) + " window");
    release();
    return false;
  }
  if (!createContextAndDevice(request.width, request.height, error)) {
    release();
    return false;
  }
  // The window system's own events, so that a window destroyed from
  // outside is seen (platform/keys.h).
  if (!request.headless) SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  if (request.hideCursor) {
    SDL_ShowCursor(SDL_DISABLE);
    state.cursorHidden = true;
  }
  return true;
}

void closeWindow() {
  if (state.window) release();
}
