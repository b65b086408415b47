#include <cstdio>

#include "platform/message_box.h"
#include "platform/stoppable_wait.h"
#include "platform/win32_shared.h"

void showMessage(const char* text, const char* caption) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
  std::fflush(stderr);
  runUntilStopped([text, caption] { MessageBoxA(nullptr, text, caption, MB_OK); });
}
