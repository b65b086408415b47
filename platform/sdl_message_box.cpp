#include <SDL.h>

#include <cstdio>

#include "platform/message_box.h"
#include "platform/stoppable_wait.h"

void showMessage(const char* text, const char* caption) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  std::fflush(stderr);
  // Fails at once without a display; stderr has said it already.
  runUntilStopped([text, caption] { SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, nullptr); });
}
