#include "platform/audio_clock.h"

#include <algorithm>

namespace {
uint64_t framesIn(uint64_t nanoseconds, uint32_t sampleRate) { return nanoseconds * sampleRate / 1000000000ull; }
}  // namespace

void clockStart(AudioClock& clock, uint32_t sampleRate) {
  clock.started.store(false);
  clock.handedBefore.store(0);
  clock.handedAfter.store(0);
  clock.pulledAtNs.store(0);
  clock.sampleRate = sampleRate;
  clock.lastReported = 0;
}

void clockRecordPull(AudioClock& clock, uint32_t before, uint32_t after, uint64_t nowNs) {
  // A sequence lock: the count is odd while the three fields change. All
  // accesses are sequentially consistent, so a reader that sees the same even
  // count before and after its reads has read one consistent step.
  const uint32_t s = clock.sequence.load();
  clock.sequence.store(s + 1);
  clock.handedBefore.store(before);
  clock.handedAfter.store(after);
  clock.pulledAtNs.store(nowNs);
  clock.sequence.store(s + 2);
  clock.started.store(true);
}

uint32_t clockPosition(AudioClock& clock, uint64_t nowNs, uint32_t endFrames) {
  if (!clock.started.load()) return clock.lastReported;
  uint32_t before = 0, after = 0;
  uint64_t at = 0;
  for (;;) {
    const uint32_t s1 = clock.sequence.load();
    if (s1 & 1u) continue;
    before = clock.handedBefore.load();
    after = clock.handedAfter.load();
    at = clock.pulledAtNs.load();
    if (clock.sequence.load() == s1) break;
  }
  // The buffer handed out at the latest step starts playing about then.
  const uint64_t elapsed = nowNs > at ? nowNs - at : 0;
  const uint64_t estimate = std::min<uint64_t>(before + framesIn(elapsed, clock.sampleRate), after);
  const uint32_t position = static_cast<uint32_t>(std::min<uint64_t>(estimate, endFrames));
  clock.lastReported = std::max(clock.lastReported, position);
  return clock.lastReported;
}

uint32_t wallClockPosition(uint64_t startNs, uint64_t nowNs, uint32_t endFrames, uint32_t sampleRate) {
  const uint64_t elapsed = nowNs > startNs ? nowNs - startNs : 0;
  return static_cast<uint32_t>(std::min<uint64_t>(framesIn(elapsed, sampleRate), endFrames));
}
