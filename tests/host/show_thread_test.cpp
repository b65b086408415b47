// The show's threads: the song rendering on its own thread while the audio
// output plays it and the frame loop reads the envelope recording. Under
// ThreadSanitizer these tests are the proof that the sharing is race-free.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "host/audio_playback.h"
#include "host/frame_values.h"
#include "host/intro_config.h"
#include "host/show_state.h"
#include "platform/audio_block.h"
#include "platform/byte_digest.h"
#include "synth/render_song.h"
#include "synth/shared_buffers.h"
#include "tests/platform/scratch_folder.h"

namespace {

// Starts the audio as the show does (the render as config asks, or as
// `render` says), what it notes on stderr.
bool startAudioAsTheShow(const SongRender* render = nullptr) {
  std::vector<std::string> notes;
  std::string error;
  const bool started = render ? startAudioWith(*render, &notes, &error) : startAudio(&notes, &error);
  for (const std::string& note : notes) std::fprintf(stderr, "%s\n", note.c_str());
  if (!started) std::fprintf(stderr, "%s\n", error.c_str());
  return started;
}

bool startAudioWithRender(SongRender render) { return startAudioAsTheShow(&render); }

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
    resetSynth();
    state = ShowState{};
    setIntroDefaults(record, 0);
    config = &record;
  }
  void TearDown() override {
    stopAudio();
    for (const char* name : {"SDL_AUDIODRIVER", "SDL_DISKAUDIOFILE", "SDL_DISKAUDIODELAY"}) unsetenv(name);
  }
};

void waitForRender() {
  while (synthFramesDone() < kSongFrames) std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

bool silent(const float* frame) { return frame[0] == 0.0f && frame[1] == 0.0f; }

TEST_F(ShowThreads, PulledFramesAreFinishedFramesOrSilence) {
  // A device pulling on its own thread while the song renders on another.
  const uint32_t pullFrames = kSanitized ? 40000 : 400000;
  // The render writes a little more than the device will pull.
  std::thread render([&] { renderSongFrames(shippedSong(), SynthOutput, pullFrames + 8192, nullptr); });
  const AudioBlock song = {{kSampleRate, 2}, SynthOutput, kSongFrames, synthFramesDone};
  std::vector<float> pulled(2 * size_t{pullFrames});
  std::atomic<uint32_t> handed{0};
  std::thread device([&] {
    for (uint32_t at = 0; at < pullFrames; at += 1000) {
      // Each pull reaches past the frames finished so far, into the ones
      // the render is writing: those must come out whole or as silence.
      while (synthFramesDone() < at + 500) std::this_thread::sleep_for(std::chrono::microseconds(200));
      handed.store(copyBlockFrames(song, at, &pulled[2 * size_t{at}], 1000));
    }
  });
  // The frame loop meanwhile reads the recording at the position handed out.
  for (uint32_t position = 0; position < pullFrames; position = handed.load()) {
    beginFrameFromRecording(state, position);
    endFrame(state, position);
  }
  device.join();
  render.join();
  uint32_t late = 0;
  for (uint32_t i = 0; i < pullFrames; ++i) {
    const float* frame = &pulled[2 * size_t{i}];
    if (silent(frame) && !silent(&SynthOutput[2 * i])) {
      ++late;  // not rendered yet when it was pulled
      continue;
    }
    ASSERT_EQ(frame[0], SynthOutput[2 * i]) << "frame " << i;
    ASSERT_EQ(frame[1], SynthOutput[2 * i + 1]) << "frame " << i;
  }
  // At least the first half of every pull was finished.
  EXPECT_LE(late, pullFrames / 2);
}

TEST_F(ShowThreads, ThreadedStartReturnsWithAHeadStartAndTheDevicePlaysTheSong) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_TRUE(startAudioAsTheShow());
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

TEST_F(ShowThreads, AfterASynchronousStartTheFrameLoopFollowsTheDeviceToTheSongsEnd) {
  if (kSanitized) GTEST_SKIP() << "a whole-song render is too slow under the sanitizers";
  ScratchFolder folder;
  // The disk driver writes what the device played to a file; without a
  // delay it pulls as fast as it can, so the song plays in moments.
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "played.raw", 1);
  setenv("SDL_DISKAUDIODELAY", "0", 1);
  record.threadedSound = 0;
  ASSERT_TRUE(startAudioAsTheShow());
  EXPECT_EQ(synthFramesDone(), kSongFrames);

  // The frame loop's steps without the drawing. At the song's own pace the
  // end would take three minutes.
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  uint32_t position = 0, previous = 0;
  do {
    position = playedPosition();
    ASSERT_GE(position, previous);
    previous = position;
    beginFrameFromRecording(state, position);
  } while (!endFrame(state, position) && std::chrono::steady_clock::now() < giveUp);
  EXPECT_EQ(position, kSongFrames);
  stopAudio();

  // Played: silence while the device was still paused, the song from its
  // first sound to its end, then silence.
  std::ifstream file("played.raw", std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
  const size_t playedFrames = bytes.size() / 8;
  const float* played = reinterpret_cast<const float*>(bytes.data());
  size_t heard = 0, sounding = 0;
  while (heard < playedFrames && silent(&played[2 * heard])) ++heard;
  while (sounding < kSongFrames && silent(&SynthOutput[2 * sounding])) ++sounding;
  ASSERT_GE(playedFrames - heard, size_t{kSongFrames - sounding});
  for (size_t i = 0; i < 2 * (kSongFrames - sounding); ++i)
    ASSERT_EQ(played[2 * heard + i], SynthOutput[2 * sounding + i]) << "song frame " << sounding + i / 2;
  for (size_t i = 2 * (heard + kSongFrames - sounding); i < 2 * playedFrames; ++i) ASSERT_EQ(played[i], 0.0f);
}

TEST_F(ShowThreads, WithoutADeviceTheClockRunsOnTheSystemClock) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  testing::internal::CaptureStderr();
  ASSERT_TRUE(startAudioAsTheShow());
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("plays silently"), std::string::npos) << said;
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const uint32_t position = playedPosition();
  EXPECT_GE(position, 44100u * 3 / 10);
  EXPECT_LT(position, 44100u * 20);
  waitForRender();
}

// Leaves the process no room for another thread's stack.
void limitAddressSpace() {
  std::ifstream statm("/proc/self/statm");
  unsigned long pages = 0;
  statm >> pages;
  const rlim_t limit = pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (1u << 20);
  const rlimit space = {limit, limit};
  setrlimit(RLIMIT_AS, &space);
}

// Without a second thread the frame loop renders: every clock reading
// leaves the song at least three seconds ahead of it, and the render goes on
// until the song is done.
TEST(ShowThreadsDeathTest, WithoutASecondThreadTheFrameLoopRendersAhead) {
  if (kSanitized) GTEST_SKIP() << "the sanitizers need more address space than the limit leaves";
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        setIntroDefaults(record, 0);
        config = &record;
        setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
        limitAddressSpace();
        if (!startAudioAsTheShow()) std::exit(3);
        int readings = 0;
        for (uint32_t done = synthFramesDone(); done < kSongFrames; done = synthFramesDone(), ++readings) {
          const uint32_t position = playedPosition();
          keepSongAhead(position);
          if (synthFramesDone() < std::min(kSongFrames, position + 3 * kSampleRate)) std::exit(2);
        }
        std::exit(readings > 1 ? 0 : 1);
      },
      testing::ExitedWithCode(0), "the frame loop renders the song");
}

}  // namespace

// A second show in the same process (a page's reset in place) starts from
// nothing: resetAudio leaves no frame, recording row or synthesizer state of
// the first, and the second render, before playback or in slices from the
// frame loop, makes the same song to the bit.
TEST_F(ShowThreads, AfterResetAudioASecondStartMakesTheSameSong) {
  if (kSanitized) GTEST_SKIP() << "three whole renders are too slow under the sanitizers";
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  const auto songDigest = [] { return byteDigest(SynthOutput, sizeof SynthOutput); };
  ASSERT_TRUE(startAudioWithRender(SongRender::kBeforePlayback));
  const uint64_t first = songDigest();
  const float lastRow = EnvelopeRecording[kEnvelopeRows - 1][4];
  for (const bool inSlices : {false, true}) {
    resetAudio();
    ASSERT_EQ(synthFramesDone(), 0u);
    ASSERT_TRUE(std::all_of(std::begin(SynthOutput), std::end(SynthOutput), [](float f) { return f == 0.0f; }));
    ASSERT_EQ(EnvelopeRecording[kEnvelopeRows - 1][4], 0.0f);
    if (inSlices) {
      // A worker that stopped: the frame loop takes over from the first frame.
      ASSERT_TRUE(startAudioWithRender(SongRender::kOutside));
      std::string error;
      ASSERT_TRUE(renderSongInSlices(&error)) << error;
      while (synthFramesDone() < kSongFrames) keepSongAhead(playedPosition());
    } else {
      ASSERT_TRUE(startAudioWithRender(SongRender::kBeforePlayback));
    }
    EXPECT_EQ(songDigest(), first) << (inSlices ? "in slices" : "before playback");
    EXPECT_EQ(EnvelopeRecording[kEnvelopeRows - 1][4], lastRow);
  }
  resetAudio();
}
