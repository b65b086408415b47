// The show's threads: the song rendering on its own thread while the audio
// device pulls it and the frame loop reads the envelope recording. Under
// ThreadSanitizer these tests are the proof that the sharing is race-free.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "host/audio_playback.h"
#include "host/frame_values.h"
#include "host/intro_config.h"
#include "synth/render_song.h"
#include "synth/shared_buffers.h"

namespace {

#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

IntroConfig record;
ShowState state;  // the frame loop's carried state

class ShowThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    resetAudioPlayback();
    resetSynth();
    state = ShowState{};
    setIntroDefaults(record, 0);
    config = &record;
  }
  void TearDown() override { resetAudioPlayback(); }
};

void waitForRender() {
  while (synthFramesDone() < kSongFrames) std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

TEST_F(ShowThreads, PulledFramesAreFinishedFramesOrSilence) {
  // A device pulling on its own thread while the song renders on another.
  const uint32_t pullFrames = kSanitized ? 40000 : 400000;
  // The render writes a little more than the device will pull.
  std::thread render([&] { renderSongFrames(shippedSong(), SynthOutput, pullFrames + 8192, nullptr); });
  std::vector<float> pulled(2 * size_t{pullFrames});
  std::thread device([&] {
    for (uint32_t at = 0; at < pullFrames; at += 1000) {
      pullSongFrames(&pulled[2 * size_t{at}], 1000, nullptr);
      // Faster than real time, slower than the render.
      std::this_thread::sleep_for(std::chrono::milliseconds(kSanitized ? 23 : 2));
    }
  });
  // The frame loop meanwhile reads the recording at the played position.
  uint32_t previous = 0;
  while (previous < pullFrames) {
    const uint32_t position = playedPosition();
    EXPECT_GE(position, previous);
    beginFrameFromRecording(state, position);
    endFrame(state, position);
    previous = position;
    if (previous >= pullFrames - 1000) break;
  }
  device.join();
  render.join();
  uint32_t silent = 0;
  for (uint32_t i = 0; i < pullFrames; ++i) {
    const float l = pulled[2 * size_t{i}], r = pulled[2 * size_t{i} + 1];
    if (l == 0.0f && r == 0.0f && (SynthOutput[2 * i] != 0.0f || SynthOutput[2 * i + 1] != 0.0f)) {
      ++silent;  // not rendered yet when it was pulled
      continue;
    }
    ASSERT_EQ(l, SynthOutput[2 * i]) << "frame " << i;
    ASSERT_EQ(r, SynthOutput[2 * i + 1]) << "frame " << i;
  }
  // The render is far faster than the pulls: at most the first moments are silent.
  EXPECT_LT(silent, pullFrames / 2);
}

TEST_F(ShowThreads, PullsPastTheEndPlaySilenceAndTheClockStopsThere) {
  // The device has handed out the whole song; the next pulls are silence.
  std::vector<float> buffer(2 * 4096, 1.0f);
  for (uint32_t handed = 0; handed < kSongFrames; handed += 4096 * 64) {
    // Skip ahead by handing out whole blocks without looking at them.
    for (int i = 0; i < 64 && handed + 4096u * i < kSongFrames; ++i) pullSongFrames(buffer.data(), 4096, nullptr);
  }
  pullSongFrames(buffer.data(), 4096, nullptr);
  for (float v : buffer) ASSERT_EQ(v, 0.0f);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(playedPosition(), kSongFrames);
  EXPECT_TRUE(endFrame(state, playedPosition()));
}

TEST_F(ShowThreads, ThreadedStartReturnsWithAHeadStartAndTheDevicePlaysTheSong) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  startAudio();
  // The device starts once the first buffers are rendered, long before the end.
  EXPECT_GE(synthFramesDone(), 8192u);
  EXPECT_LT(synthFramesDone(), kSongFrames);
  uint32_t previous = 0;
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(800);
  while (std::chrono::steady_clock::now() < until) {
    const uint32_t position = playedPosition();
    EXPECT_GE(position, previous);
    beginFrameFromRecording(state, position);
    endFrame(state, position);
    previous = position;
  }
  EXPECT_GT(previous, 0u);
  EXPECT_LT(previous, 44100u * 2);
  stopAudio();
  waitForRender();
}

TEST_F(ShowThreads, WithoutADeviceTheClockRunsOnTheSystemClock) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  record.threadedSound = 1;
  testing::internal::CaptureStderr();
  startAudio();
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("plays silently"), std::string::npos) << said;
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const uint32_t position = playedPosition();
  EXPECT_GE(position, 44100u * 3 / 10);
  EXPECT_LT(position, 44100u * 20);
  waitForRender();
}

TEST_F(ShowThreads, SynchronousStartReturnsWithTheWholeSongRendered) {
  if (kSanitized) GTEST_SKIP() << "a whole-song render is too slow under the sanitizers";
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  record.threadedSound = 0;
  startAudio();
  EXPECT_EQ(synthFramesDone(), kSongFrames);
  EXPECT_LT(playedPosition(), 44100u);
}

}  // namespace
