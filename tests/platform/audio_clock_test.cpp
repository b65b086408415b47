#include "platform/audio_clock.h"

#include <gtest/gtest.h>

namespace {

constexpr uint64_t kMs = 1000000;
constexpr uint32_t kEnd = 7688496;

// A fake device that pulls `buffer` frames every buffer's duration.
struct FakeDevice {
  AudioClock clock;
  FakeDevice() { clockStart(clock, 44100); }
  uint32_t handed = 0;
  uint64_t nextPullNs = 0;
  uint32_t buffer = 1024;

  void runUntil(uint64_t nowNs) {
    while (nextPullNs <= nowNs) {
      const uint32_t after = std::min(handed + buffer, kEnd);
      clockRecordPull(clock, handed, after, nextPullNs);
      handed = after;
      nextPullNs += uint64_t{buffer} * 1000000000ull / 44100;
    }
  }
};

TEST(AudioClock, StandsAtZeroUntilTheFirstPullAndAgainAfterARestart) {
  FakeDevice device;
  // The time before the first pull, when a device may play silence, does not count.
  EXPECT_EQ(clockPosition(device.clock, 5 * kMs, kEnd), 0u);
  device.nextPullNs = 50 * kMs;
  device.runUntil(60 * kMs);
  EXPECT_EQ(clockPosition(device.clock, 50 * kMs, kEnd), 0u);
  EXPECT_EQ(clockPosition(device.clock, 60 * kMs, kEnd), 441u);
  clockStart(device.clock, 44100);
  EXPECT_EQ(clockPosition(device.clock, 70 * kMs, kEnd), 0u);
}

TEST(AudioClock, IsMonotonicSmoothAndNeverAheadOfWhatWasHanded) {
  FakeDevice device;
  uint32_t previous = 0;
  int newPositions = 0, frames = 0;
  // A frame loop at about 500 frames a second for two seconds.
  for (uint64_t now = 0; now < 2000 * kMs; now += 2 * kMs) {
    device.runUntil(now);
    const uint32_t p = clockPosition(device.clock, now, kEnd);
    EXPECT_GE(p, previous);
    EXPECT_LE(p, device.handed);
    // Within one buffer of the frames due by now.
    const uint64_t due = now * 44100 / 1000000000ull;
    EXPECT_LE(due, uint64_t{p} + device.buffer) << now;
    if (p != previous) ++newPositions;
    previous = p;
    ++frames;
  }
  // Buffers come every 23 ms; nearly every 2 ms frame still sees a new position.
  EXPECT_GT(newPositions, frames * 9 / 10);
}

TEST(AudioClock, DoesNotGoBackWhenAPullComesLate) {
  FakeDevice device;
  device.runUntil(100 * kMs);
  const uint32_t early = clockPosition(device.clock, 140 * kMs, kEnd);
  // The next pull arrives with a timestamp before the reader's last look.
  clockRecordPull(device.clock, device.handed, device.handed + 1024, 120 * kMs);
  EXPECT_GE(clockPosition(device.clock, 121 * kMs, kEnd), early);
}

TEST(AudioClock, StopsAtTheEndOfTheSong) {
  AudioClock clock;
  clockStart(clock, 44100);
  clockRecordPull(clock, kEnd - 100, kEnd, 0);
  EXPECT_EQ(clockPosition(clock, 1000 * kMs, kEnd), kEnd);
  clockRecordPull(clock, kEnd, kEnd, 2000 * kMs);
  EXPECT_EQ(clockPosition(clock, 3000 * kMs, kEnd), kEnd);
}

TEST(WallClock, RunsAtTheSampleRateAndStopsAtTheEnd) {
  EXPECT_EQ(wallClockPosition(0, 0, kEnd, 44100), 0u);
  EXPECT_EQ(wallClockPosition(10 * kMs, 1010 * kMs, kEnd, 44100), 44100u);
  EXPECT_EQ(wallClockPosition(10 * kMs, 1010 * kMs, kEnd, 48000), 48000u);
  EXPECT_EQ(wallClockPosition(0, 500 * 1000 * kMs, kEnd, 44100), kEnd);
  EXPECT_EQ(wallClockPosition(50 * kMs, 10 * kMs, kEnd, 44100), 0u);
}

}  // namespace
