// The page's program: its end and the stop requests it cannot get. A page
// has no process to end: the program goes back to the page, which keeps
// what it shows (a failed start leaves its message there), and the page's
// entry answers the next click.
#include <emscripten/emscripten.h>

#include <cstdio>

#include "platform/process.h"
#include "platform/stop_signals.h"

void exitProcess(int) {
  std::fflush(nullptr);
  emscripten_exit_with_live_runtime();
}

int32_t programInstance() { return 0; }

void useStartingConsole() {}

void catchStopSignals() {}

int stopSignal() { return 0; }

int stopExitStatus() { return 128; }
