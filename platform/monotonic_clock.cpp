#include "platform/monotonic_clock.h"

#include <chrono>

uint64_t monotonicNanoseconds() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count());
}
