#include "platform/audio_block.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint32_t kFrames = 10;
uint32_t finishedFrames = 0;
uint32_t finished() { return finishedFrames; }

// Frame i of every channel c holds 100 * (c + 1) + i + 1: never silence.
std::vector<float> blockSamples(uint32_t channels) {
  std::vector<float> samples;
  for (uint32_t i = 0; i < kFrames; ++i)
    for (uint32_t c = 0; c < channels; ++c) samples.push_back(static_cast<float>(100 * (c + 1) + i + 1));
  return samples;
}

TEST(AudioBlock, HandsOutFinishedFramesAndSilenceForTheRest) {
  struct Case {
    uint32_t channels, from, frames, finished, after, copied;
  };
  const Case cases[] = {
      {2, 0, 4, kFrames, 4, 4},   // all finished
      {2, 2, 4, 4, 6, 2},         // the render is behind: the last two are silence
      {2, 5, 3, 2, 8, 0},         // far behind: all silence, the cursor still moves on
      {2, 8, 4, kFrames, kFrames, 2},  // past the end: silence, the cursor stops at the end
      {2, kFrames, 4, kFrames, kFrames, 0},
      {1, 3, 4, kFrames, 7, 4},   // one channel
  };
  for (const Case& c : cases) {
    const std::vector<float> samples = blockSamples(c.channels);
    finishedFrames = c.finished;
    const AudioBlock block = {{44100, c.channels}, samples.data(), kFrames, finished};
    std::vector<float> out(size_t{c.frames} * c.channels, -1.0f);
    EXPECT_EQ(copyBlockFrames(block, c.from, out.data(), c.frames), c.after) << c.from;
    for (uint32_t i = 0; i < c.frames * c.channels; ++i) {
      const float expected = i < c.copied * c.channels ? samples[c.from * c.channels + i] : 0.0f;
      EXPECT_EQ(out[i], expected) << "from " << c.from << " sample " << i;
    }
  }
}

TEST(AudioBlock, WithoutAFinishedCountTheBlockIsComplete) {
  const std::vector<float> samples = blockSamples(2);
  const AudioBlock block = {{44100, 2}, samples.data(), kFrames, nullptr};
  std::vector<float> out(2 * kFrames);
  EXPECT_EQ(copyBlockFrames(block, 0, out.data(), kFrames), kFrames);
  EXPECT_EQ(out, samples);
}

}  // namespace
