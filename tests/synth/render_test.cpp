// Whole-song renders: the render against the byte-code machine that walks
// the tables at every sample, repeatability, the recording's layout, the
// output clip and the published frame count. One render of the shipped
// song is shared by the tests; under the sanitizers it covers the song's
// first part only.
#include "synth/render_song.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "song_tables.h"
#include "synth/shared_buffers.h"
#include "synth/unrolled_song.h"

namespace {

constexpr uint32_t kFrames = kCheckedFrames;
constexpr uint32_t kRows = (kFrames + kFramesPerEnvelopeRow - 1) / kFramesPerEnvelopeRow;

struct Render {
  std::vector<float> output;
  std::vector<float> recording;
  float finalLevels[kTrackCount];
  int32_t masterNote;
};

Render capture(const float* output, uint32_t frames) {
  Render r;
  r.output.assign(output, output + 2 * frames);
  r.recording.assign(&EnvelopeRecording[0][0], &EnvelopeRecording[0][0] + kRows * kEnvelopeColumns);
  for (uint32_t k = 0; k < kTrackCount; ++k) r.finalLevels[k] = voiceRecords[k].workspace[0][1];
  r.masterNote = voiceRecords[kMasterRecord].note;
  return r;
}

// The shipped song, rendered once for all tests.
const Render& shipped() {
  static const Render render = [] {
    resetSynth();
    if (kFrames == kSongFrames) {
      EXPECT_EQ(renderSong(SynthOutput), 0u);
    } else {
      std::string error;
      EXPECT_TRUE(renderSongFrames(shippedSong(), SynthOutput, kFrames, &error)) << error;
    }
    return capture(SynthOutput, kFrames);
  }();
  return render;
}

// The first frame at which two renders differ, or -1.
int64_t firstDifference(const std::vector<float>& a, const std::vector<float>& b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    if (std::memcmp(&a[i], &b[i], sizeof(float)) != 0) return static_cast<int64_t>(i / 2);
  }
  return a.size() == b.size() ? -1 : static_cast<int64_t>(n / 2);
}

class WholeSong : public ::testing::Test {
 protected:
  void TearDown() override { resetSynth(); }
};

TEST_F(WholeSong, ByteCodeMachineGivesTheSameBits) {
  const Render& fast = shipped();
  resetSynth();
  std::vector<float> output(2 * size_t{kFrames});
  std::string error;
  ASSERT_TRUE(renderSongFramesByteCode(shippedSong(), output.data(), kFrames, &error)) << error;
  const Render plain = capture(output.data(), kFrames);
  EXPECT_EQ(firstDifference(fast.output, plain.output), -1);
  EXPECT_EQ(fast.recording, plain.recording);
}

TEST_F(WholeSong, SecondRenderIsIdentical) {
  const Render& first = shipped();
  resetSynth();
  std::vector<float> output(2 * size_t{kFrames});
  std::string error;
  ASSERT_TRUE(renderSongFrames(shippedSong(), output.data(), kFrames, &error));
  EXPECT_EQ(firstDifference(first.output, output), -1);
  EXPECT_EQ(first.recording, capture(output.data(), kFrames).recording);
}

TEST_F(WholeSong, OutputRangeAndRecordingLayout) {
  const Render& r = shipped();
  float peak = 0.0f;
  for (float v : r.output) {
    ASSERT_TRUE(v >= -1.0f && v <= 1.0f) << v;
    peak = std::max(peak, std::fabs(v));
  }
  if (kFrames > 700000) { EXPECT_GT(peak, 0.01f); }
  EXPECT_EQ(r.masterNote, kMasterNote);
  for (uint32_t row = 0; row < kRows; ++row) {
    for (uint32_t c = 0; c < kEnvelopeColumns; ++c) {
      if (c % 2 == 1 || c >= 2 * kTrackCount) { ASSERT_EQ(r.recording[row * kEnvelopeColumns + c], 0.0f) << row << ' ' << c; }
    }
  }
  // The last row holds the levels of the last frame: row 30 033, frame
  // 7 688 495, for the whole song.
  const uint32_t last = (kFrames - 1) / kFramesPerEnvelopeRow;
  EXPECT_EQ(last + 1, kRows);
  if (kFrames == kSongFrames) { EXPECT_EQ(last, 30033u); }
  for (uint32_t k = 0; k < kTrackCount; ++k) EXPECT_EQ(r.recording[last * kEnvelopeColumns + 2 * k], r.finalLevels[k]);
  // Track 0 plays from order position 8 (frame 661 376): its level rises there.
  float track0 = 0.0f;
  for (uint32_t row = 0; row < kRows; ++row) track0 = std::max(track0, r.recording[row * kEnvelopeColumns]);
  if (kFrames > 700000) { EXPECT_GT(track0, 0.5f); }
}

// Every track busy all song long: the patterns that are known, everywhere.
SongTables busyMusic() {
  SongTables t;
  for (uint32_t k = 0; k < kTrackCount; ++k) {
    for (uint32_t n = 0; n < kOrderLength; ++n) t.orders[k * kOrderLength + n] = (k + n) % 3 == 0 ? 48 : (k + n) % 3 == 1 ? 25 : 54;
  }
  return t;
}

TEST(BusyMusic, FastPathAndByteCodeMachineGiveTheSameBits) {
  constexpr uint32_t frames = kSanitized ? 20000 : 300000;
  const SongTables t = busyMusic();
  const SongData general = t.data();
  SongData unrolled = general;
  unrolled.programs = programTable;
  unrolled.params = paramTable;
  unrolled.delayLengths = delayLengthTable;
  ASSERT_TRUE(usesShippedInstruments(unrolled));
  ASSERT_FALSE(usesShippedInstruments(general));
  std::vector<float> a(2 * frames), b(2 * frames);
  std::string error;
  resetSynth();
  ASSERT_TRUE(renderSongFrames(unrolled, a.data(), frames, &error));
  const std::vector<float> recording(&EnvelopeRecording[0][0], &EnvelopeRecording[0][0] + kEnvelopeColumns * (frames / 256));
  resetSynth();
  ASSERT_TRUE(renderSongFrames(general, b.data(), frames, &error));
  EXPECT_EQ(firstDifference(a, b), -1);
  EXPECT_EQ(recording, std::vector<float>(&EnvelopeRecording[0][0], &EnvelopeRecording[0][0] + kEnvelopeColumns * (frames / 256)));
  float peak = 0.0f;
  for (float v : a) peak = std::max(peak, std::fabs(v));
  EXPECT_GT(peak, 0.1f);
  resetSynth();
}

TEST(RenderState, ADelayLineOfAnotherLengthStartsFromTheClearedState) {
  // Busy music first leaves echoes and write positions all over the pool;
  // a song whose two-tick echo is 100 samples long must not inherit them.
  const SongTables busy = busyMusic();
  SongTables shortEcho = busyMusic();
  shortEcho.lengths[16] = 100;
  std::vector<float> first(2 * 20000), second(2 * 20000);
  std::string error;
  resetSynth();
  ASSERT_TRUE(renderSongFrames(busy.data(), first.data(), 20000, &error));
  ASSERT_TRUE(renderSongFrames(shortEcho.data(), first.data(), 20000, &error));
  resetSynth();
  ASSERT_TRUE(renderSongFrames(shortEcho.data(), second.data(), 20000, &error));
  EXPECT_EQ(firstDifference(first, second), -1);
  // With the same lengths the state carries over: the echoes go on.
  ASSERT_TRUE(renderSongFrames(shortEcho.data(), first.data(), 20000, &error));
  EXPECT_NE(firstDifference(first, second), -1);
  resetSynth();
}

TEST(RenderRefusal, TablesThatFailValidationAreNotRendered) {
  SongTables t;
  t.programs[0] = 99;
  std::vector<float> output(200, 0.5f);
  std::string error;
  EXPECT_FALSE(renderSongFrames(t.data(), output.data(), 100, &error));
  EXPECT_NE(error.find("opcode 99"), std::string::npos) << error;
  EXPECT_FALSE(renderSongFramesByteCode(t.data(), output.data(), 100, &error));
  for (float v : output) ASSERT_EQ(v, 0.5f);
  EXPECT_EQ(synthFramesDone(), 0u);
}

TEST(OutputClip, LoudAndNonNumberOutputs) {
  resetSynth();
  SongTables t;
  t.playOnly({0}, t.addPattern({62}));
  // The master's out gain at 255 drives track 0 past full scale.
  t.params[t.params.size() - 2] = 255;
  t.params[10] = 255;  // track 0's oscillator gain
  std::vector<float> loud(2 * 3000);
  std::string error;
  ASSERT_TRUE(renderSongFrames(t.data(), loud.data(), 3000, &error)) << error;
  int clipped = 0;
  for (float v : loud) {
    ASSERT_TRUE(v >= -1.0f && v <= 1.0f);
    clipped += std::fabs(v) == 1.0f;
  }
  EXPECT_GT(clipped, 10);
  // Drive byte 128 makes the oscillator's shaper divide infinity by
  // infinity: the master carries non-numbers, and they come out as 1.0.
  resetSynth();
  t.params[9] = 128;
  std::vector<float> broken(2 * 100);
  ASSERT_TRUE(renderSongFrames(t.data(), broken.data(), 100, &error));
  EXPECT_TRUE(std::isnan(voiceRecords[kMasterRecord].mainLeft));
  for (float v : broken) ASSERT_EQ(v, 1.0f);
  resetSynth();
}

TEST(PublishedFrames, ReaderOnAnotherThreadSeesOnlyFinishedFrames) {
  constexpr uint32_t frames = kSanitized ? 30000 : 400000;
  const Render& expected = shipped();
  resetSynth();
  std::atomic<bool> done{false};
  std::thread render([&] {
    std::string error;
    renderSongFrames(shippedSong(), SynthOutput, frames, &error);
    done.store(true);
  });
  uint32_t checked = 0;
  uint32_t mismatches = 0;
  uint32_t reads = 0;
  while (checked < frames) {
    const uint32_t ready = synthFramesDone();
    for (; checked < ready; ++checked) {
      mismatches += loadShared(SynthOutput[2 * checked]) != expected.output[2 * checked];
      mismatches += loadShared(SynthOutput[2 * checked + 1]) != expected.output[2 * checked + 1];
    }
    if (ready > 0) {
      const uint32_t row = (ready - 1) / kFramesPerEnvelopeRow;
      if ((row + 1) * kFramesPerEnvelopeRow <= ready)
        mismatches += loadShared(EnvelopeRecording[row][4]) != expected.recording[row * kEnvelopeColumns + 4];
    }
    ++reads;
    if (done.load() && synthFramesDone() == checked) break;
  }
  render.join();
  EXPECT_EQ(checked, frames);
  EXPECT_EQ(mismatches, 0u);
  EXPECT_GT(reads, 0u);
  resetSynth();
}

}  // namespace
