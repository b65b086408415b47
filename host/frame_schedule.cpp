#include "host/frame_schedule.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kFrameTolerance = 1e-6;

// The first frame whose time is at or after `seconds`.
uint64_t firstFrameFrom(double seconds, uint32_t fps) {
  const double frames = std::ceil(seconds * fps - kFrameTolerance);
  return frames <= 0.0 ? 0 : static_cast<uint64_t>(frames);
}

}  // namespace

uint32_t framePosition(uint32_t frame, uint32_t fps) {
  const uint64_t twice = 2 * uint64_t{frame} * kSampleRate + fps;
  return static_cast<uint32_t>(twice / (2 * uint64_t{fps}));
}

uint32_t showFrameCount(uint32_t fps) {
  // The count of n with n * 44100 < kSongFrames * fps.
  return static_cast<uint32_t>((uint64_t{kSongFrames} * fps + kSampleRate - 1) / kSampleRate);
}

FrameRange frameRange(double from, double to, uint32_t fps) {
  const uint64_t all = showFrameCount(fps);
  const uint64_t first = std::min(firstFrameFrom(from, fps), all);
  const uint64_t end = std::clamp(firstFrameFrom(to, fps), first, all);
  return {static_cast<uint32_t>(first), static_cast<uint32_t>(end)};
}

SampleRange soundtrackRange(FrameRange range, uint32_t fps) {
  return {framePosition(range.first, fps), framePosition(range.end, fps)};
}

uint32_t songFramesForPosition(uint32_t position) {
  const uint64_t rowEnd = (uint64_t{position} / kFramesPerEnvelopeRow + 1) * kFramesPerEnvelopeRow;
  return static_cast<uint32_t>(std::min<uint64_t>(rowEnd, kSongFrames));
}

uint32_t framesBefore(uint32_t position, uint32_t fps) {
  // Positions grow with n; start near the answer and step to it.
  uint32_t n = static_cast<uint32_t>(uint64_t{position} * fps / kSampleRate);
  while (n > 0 && framePosition(n - 1, fps) >= position) --n;
  while (framePosition(n, fps) < position) ++n;
  return n;
}

bool stillPosition(double seconds, uint32_t* position) {
  if (!(seconds >= 0.0)) return false;
  const double samples = std::round(seconds * kSampleRate);
  if (samples > kSongFrames) return false;
  *position = static_cast<uint32_t>(samples);
  return true;
}
