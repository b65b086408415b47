#include "platform/stoppable_wait.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <system_error>
#include <thread>

#include "platform/stop_signals.h"

namespace {

// How often the wait looks for a stop: a signal may wake no thread here.
constexpr auto kStopLook = std::chrono::milliseconds(20);

}  // namespace

bool runUntilStopped(const std::function<void()>& call) {
  const auto returned = std::make_shared<std::atomic<bool>>(false);
  try {
    std::thread([call, returned] {
      call();
      returned->store(true);
    }).detach();
  } catch (const std::system_error&) {
    call();
    return true;
  }
  while (!returned->load()) {
    if (stopSignal() != 0) return false;
    std::this_thread::sleep_for(kStopLook);
  }
  return true;
}
