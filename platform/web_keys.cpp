// Escape in a web page: the page's key events and its leaving full screen
// (where the browser takes Escape for itself) are caught from the first
// query on and answered at the next one.
#include <emscripten/html5.h>

#include <cstring>

#include "platform/keys.h"

namespace {

struct WebKeys {
  bool listening = false;
  bool escape = false;      // pressed since the last query
  bool fullScreen = false;  // the page was in full screen at the last change
};

WebKeys keys;

EM_BOOL keyDown(int, const EmscriptenKeyboardEvent* event, void*) {
  if (std::strcmp(event->key, "Escape") != 0) return EM_FALSE;
  keys.escape = true;
  return EM_TRUE;
}

EM_BOOL fullScreenChanged(int, const EmscriptenFullscreenChangeEvent* event, void*) {
  if (keys.fullScreen && !event->isFullscreen) keys.escape = true;
  keys.fullScreen = event->isFullscreen;
  return EM_FALSE;
}

}  // namespace

bool escapePressed() {
  if (!keys.listening) {
    keys.listening = true;
    EmscriptenFullscreenChangeEvent now = {};
    keys.fullScreen = emscripten_get_fullscreen_status(&now) == EMSCRIPTEN_RESULT_SUCCESS && now.isFullscreen;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, keyDown);
    emscripten_set_fullscreenchange_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_FALSE, fullScreenChanged);
  }
  const bool pressed = keys.escape;
  keys.escape = false;
  return pressed;
}
