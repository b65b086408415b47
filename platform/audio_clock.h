// The played position of an audio output, in frames, smoothed between the
// device's updates.
//
// The device reports progress in steps: a pull-based device each time it
// takes the next buffer, a device with its own position counter each time
// that counter is read. Each step records the frames played before it, how
// far playback can have got before the next step, and when it happened;
// between steps the position advances on a high-resolution clock at the
// sample rate, so every frame of a fast frame loop sees a new position. The
// position never passes the step's limit, never goes backwards, and stops
// at the end of the block. Buffers of silence a device plays before its
// first step do not count: the position stands at 0 until then.
#pragma once

#include <atomic>
#include <cstdint>

struct AudioClock {
  // Written by the device thread under `sequence` (odd while writing).
  std::atomic<uint32_t> sequence{0};
  std::atomic<uint32_t> handedBefore{0};   // frames played before the latest step
  std::atomic<uint32_t> handedAfter{0};    // frames playback can reach before the next step
  std::atomic<uint64_t> pulledAtNs{0};     // when the latest step happened
  std::atomic<bool> started{false};
  // Set by clockStart while no device runs.
  uint32_t sampleRate = 0;
  // Read side only (the frame loop's thread).
  uint32_t lastReported = 0;
};

// Back to position 0 with no step recorded, counting `sampleRate` frames a
// second. Called while no device thread records into the clock.
void clockStart(AudioClock& clock, uint32_t sampleRate);

// Device side: a step at time nowNs; frames [before, after) play from then on.
void clockRecordPull(AudioClock& clock, uint32_t before, uint32_t after, uint64_t nowNs);

// Reader side: the played position at time nowNs, clamped to `endFrames`.
uint32_t clockPosition(AudioClock& clock, uint64_t nowNs, uint32_t endFrames);

// Without a device: the position runs from `startNs` at the sample rate.
uint32_t wallClockPosition(uint64_t startNs, uint64_t nowNs, uint32_t endFrames, uint32_t sampleRate);
