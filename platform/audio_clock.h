// The show's clock: the position the audio device has played, in frames.
//
// The device takes the song in pieces: an output that pulls buffers, or a
// device whose reported position moves in steps. Each pull records how many frames
// were handed out before it and when it happened; between pulls the
// position advances on a high-resolution clock at the sample rate, so every
// frame of a fast frame loop sees a new position. The position never passes
// what has been handed out, never goes backwards, and stops at the end of
// the song.
#pragma once

#include <atomic>
#include <cstdint>

struct AudioClock {
  uint32_t framesPerSecond = 44100;  // set before the first pull
  // Written by the device thread under `sequence` (odd while writing).
  std::atomic<uint32_t> sequence{0};
  std::atomic<uint32_t> handedBefore{0};   // frames handed out before the latest pull
  std::atomic<uint32_t> handedAfter{0};    // frames handed out including the latest pull
  std::atomic<uint64_t> pulledAtNs{0};     // when the latest pull happened
  std::atomic<bool> started{false};
  // Read side only (the frame loop's thread).
  uint32_t lastReported = 0;
};

// Device side: a pull handed out frames [before, after) at time nowNs.
void clockRecordPull(AudioClock& clock, uint32_t before, uint32_t after, uint64_t nowNs);

// Reader side: the played position at time nowNs, clamped to `endFrames`.
uint32_t clockPosition(AudioClock& clock, uint64_t nowNs, uint32_t endFrames);

// Without a device: the position runs from `startNs` at `framesPerSecond`.
uint32_t wallClockPosition(uint64_t startNs, uint64_t nowNs, uint32_t framesPerSecond, uint32_t endFrames);
