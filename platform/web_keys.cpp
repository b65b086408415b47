// Escape in a web page: the page's key events and its leaving full screen
// (where the browser takes Escape for itself) are caught from the first
// query on and answered at the next one.
#include <emscripten/emscripten.h>

#include "platform/keys.h"

namespace {

EM_JS(bool, takeEscape, (), {
  const keys = Module.webKeys || (Module.webKeys = {escape: false});
  if (!keys.listening) {
    keys.listening = true;
    keys.fullScreen = document.fullscreenElement !== null;
    addEventListener("keydown", event => {
      if (event.key !== "Escape") return;
      keys.escape = true;
      event.preventDefault();
    });
    document.addEventListener("fullscreenchange", () => {
      const now = document.fullscreenElement !== null;
      if (keys.fullScreen && !now) keys.escape = true;
      keys.fullScreen = now;
    });
  }
  const pressed = keys.escape;
  keys.escape = false;
  return pressed;
});

}  // namespace

bool escapePressed() { return takeEscape(); }
