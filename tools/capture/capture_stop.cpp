#include "tools/capture/capture_stop.h"

#include <cstring>

#include "platform/stop_signals.h"
#include "tools/capture/capture_status.h"

int captureStopStatus(std::string* error) {
  const int signal = stopSignal();
  if (signal == 0) return kCaptureDone;
  const char* name = sigabbrev_np(signal);
  *error = std::string("stopped by SIG") + (name != nullptr ? name : std::to_string(signal).c_str()) +
           ": no output written, existing files left as they were";
  return stopExitStatus();
}
