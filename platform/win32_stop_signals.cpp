// Stop requests on Windows: the console's control events (Ctrl-C,
// Ctrl-Break, its window closed, log-off and shutdown) where the program
// has a console, reported with the numbers of the signals they stand for.
#include <windows.h>

#include <atomic>

#include "platform/stop_signals.h"

namespace {

constexpr int kInterrupt = 2;   // Ctrl-C and Ctrl-Break, as SIGINT
constexpr int kHangUp = 1;      // the console closed, as SIGHUP
constexpr int kTerminate = 15;  // log-off and shutdown, as SIGTERM

std::atomic<int> caught{0};

BOOL WINAPI recordStop(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      caught.store(kInterrupt);
      return TRUE;
    case CTRL_CLOSE_EVENT:
      caught.store(kHangUp);
      return TRUE;
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      caught.store(kTerminate);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void catchStopSignals() { SetConsoleCtrlHandler(recordStop, TRUE); }

int stopSignal() { return caught.load(); }

int stopExitStatus() { return 128 + caught.load(); }
