#include "platform/audio_block.h"

#include <algorithm>

#include "platform/failure_text.h"

namespace {

// Another thread may be writing the block: every sample is read through a
// relaxed atomic, and the finished-frame count (read with acquire by the
// writer's side) says which of them are final.
float loadSample(const float& sample) {
  float value;
  __atomic_load(&sample, &value, __ATOMIC_RELAXED);
  return value;
}

}  // namespace

uint32_t copyBlockFrames(const AudioBlock& block, uint32_t from, float* out, uint32_t frames) {
  const uint32_t channels = block.format.channels;
  const uint32_t start = std::min(from, block.frames);
  const uint32_t after = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{start} + frames, block.frames));
  const uint32_t finished = block.framesFinished ? block.framesFinished() : block.frames;
  const uint32_t ready = std::max(start, std::min(finished, after));
  const size_t copied = size_t{ready - start} * channels;
  const float* samples = block.samples + size_t{start} * channels;
  for (size_t i = 0; i < copied; ++i) out[i] = loadSample(samples[i]);
  std::fill(out + copied, out + size_t{frames} * channels, 0.0f);
  return after;
}

bool checkAudioBlock(const AudioBlock& block, std::string* error) {
  constexpr uint32_t kMostChannels = 2;
  constexpr uint32_t kHighestRate = 384000;
  constexpr uint64_t kMostBytes = 0xFFFFFFFFull;  // a wave header's 32-bit length
  const uint64_t bytes = uint64_t{block.frames} * block.format.channels * sizeof(float);
  if (block.format.channels >= 1 && block.format.channels <= kMostChannels && block.format.sampleRate >= 1 &&
      block.format.sampleRate <= kHighestRate && block.frames >= 1 && bytes <= kMostBytes)
    return true;
  // Appended piece by piece: g++ 12 for 32-bit x86 warns falsely (-Wrestrict)
  // on a literal + std::string chain here.
  std::string what = "no audio output plays ";
  what.append(std::to_string(block.frames)).append(" frames of ").append(std::to_string(block.format.channels));
  what.append(" channels at ").append(std::to_string(block.format.sampleRate)).append(" Hz");
  std::string why = "it plays 1 to ";
  why.append(std::to_string(kMostChannels)).append(" channels at 1 to ").append(std::to_string(kHighestRate));
  why.append(" Hz, at least one frame and less than 4 GiB");
  *error = platformFailure(what, why);
  return false;
}
