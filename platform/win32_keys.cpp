#include "platform/keys.h"
#include "platform/stop_signals.h"
#include "platform/win32_shared.h"

bool escapePressed() {
  // The window's messages, handled here once a frame, keep it responding.
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  // Nonzero: down now, or pressed since the previous query.
  return showWindowClosing() || stopSignal() != 0 || GetAsyncKeyState(VK_ESCAPE) != 0;
}
