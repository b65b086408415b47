// Stop signals with POSIX sigaction.
#include <SDL_hints.h>

#include <csignal>

#include "platform/stop_signals.h"

namespace {

volatile std::sig_atomic_t caught = 0;

void recordStop(int signal) { caught = signal; }

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

}  // namespace

void catchStopSignals() {
  // SDL would otherwise turn these signals into a quit event that only an
  // event loop sees: the offline capture has none.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  struct sigaction action = {};
  action.sa_handler = recordStop;
  sigemptyset(&action.sa_mask);
  for (const int signal : kStopSignals) sigaddset(&action.sa_mask, signal);
  action.sa_flags = 0;  // no SA_RESTART: a blocked write or wait returns
  for (const int signal : kStopSignals) {
    // A signal ignored from the start stays ignored, as nohup wants it.
    struct sigaction previous = {};
    if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
    sigaction(signal, &action, nullptr);
  }
}

int stopSignal() { return caught; }

int stopExitStatus() { return 128 + caught; }
