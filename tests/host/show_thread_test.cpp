// The show's threads: the song rendering on its own thread while the audio
// device pulls it and the frame loop reads the envelope recording. Under
// ThreadSanitizer these tests are the proof that the sharing is race-free.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "host/audio_playback.h"
#include "host/frame_values.h"
#include "host/intro_config.h"
#include "platform/audio_output.h"
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

TEST_F(ShowThreads, PlayedFramesAreFinishedFramesOrSilenceAndTheClockStopsAtTheEnd) {
  // SDL's disk driver writes what the device pulled to a file, a little
  // faster than real time, while the song renders on another thread.
  const uint32_t blockFrames = kSanitized ? 40000 : 200000;
  const std::string played = testing::TempDir() + "gm-played-" + std::to_string(getpid()) + ".raw";
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", played.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", kSanitized ? "20" : "4", 1);
  std::thread render([&] { renderSongFrames(shippedSong(), SynthOutput, blockFrames + 8192, nullptr); });
  const AudioBlock block = {{44100, 2}, SynthOutput, blockFrames, synthFramesDone};
  std::string reason;
  ASSERT_TRUE(openAudioOutput(block, reason)) << reason;
  // The frame loop meanwhile reads the recording at the played position.
  uint32_t previous = 0;
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (previous < blockFrames && std::chrono::steady_clock::now() < giveUp) {
    const uint32_t position = audioOutputPosition();
    EXPECT_GE(position, previous);
    beginFrameFromRecording(state, position);
    endFrame(state, position);
    previous = position;
  }
  // The device goes on pulling past the end of the block: silence.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(audioOutputPosition(), blockFrames);
  closeAudioOutput();
  unsetenv("SDL_DISKAUDIOFILE");
  unsetenv("SDL_DISKAUDIODELAY");
  render.join();

  std::vector<float> pulled;
  {
    std::ifstream file(played, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    pulled.resize(bytes.size() / sizeof(float));
    std::memcpy(pulled.data(), bytes.data(), pulled.size() * sizeof(float));
  }
  std::remove(played.c_str());
  ASSERT_GT(pulled.size(), 2 * size_t{blockFrames});
  uint32_t silent = 0;
  for (uint32_t i = 0; i < blockFrames; ++i) {
    const float l = pulled[2 * size_t{i}], r = pulled[2 * size_t{i} + 1];
    if (l == 0.0f && r == 0.0f && (SynthOutput[2 * i] != 0.0f || SynthOutput[2 * i + 1] != 0.0f)) {
      ++silent;  // not rendered yet when it was pulled
      continue;
    }
    ASSERT_EQ(l, SynthOutput[2 * i]) << "frame " << i;
    ASSERT_EQ(r, SynthOutput[2 * i + 1]) << "frame " << i;
  }
  // The render is far faster than the pulls: at most the first moments are silent.
  EXPECT_LT(silent, blockFrames / 2);
  for (size_t i = 2 * size_t{blockFrames}; i < pulled.size(); ++i) ASSERT_EQ(pulled[i], 0.0f) << "past the end";
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
