#include "platform/monotonic_clock.h"
#include "platform/win32_shared.h"

uint64_t monotonicNanoseconds() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  const auto ticks = static_cast<uint64_t>(counter.QuadPart);
  const auto perSecond = static_cast<uint64_t>(frequency.QuadPart);
  // In two steps, so that the product cannot overflow.
  return ticks / perSecond * 1000000000ull + ticks % perSecond * 1000000000ull / perSecond;
}
