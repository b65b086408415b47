// The rendered song as a listener meets it: every note that the tables
// place sounds on its track, the mix sits at a sound level with the clip
// reserved for the drums' transients, and the camera shake follows the snare.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "synth/render_song.h"
#include "synth/sequencer.h"
#include "synth/shared_buffers.h"
#include "synth/song_music.h"

namespace {

constexpr uint32_t kShakeTrack = 2;
constexpr float kShakeThreshold = 0.7f;
constexpr uint32_t kFramesPerPosition = kSamplesPerTick * kRowsPerPattern;

struct SongWatch {
  std::vector<float> output;  // interleaved stereo, clipped like SynthOutput
  // Whether track k's out area held anything but zeros during position n.
  bool sounded[kTrackCount][kOrderLength] = {};
  // Track 2's first envelope level, one value per recording row.
  std::vector<float> shakeLevel;
};

// The render one frame at a time, with a look at every track's out area
// after each frame.
SongWatch renderWatched() {
  SongWatch watch;
  watch.output.resize(size_t{kSongFrames} * 2);
  watch.shakeLevel.resize(kEnvelopeRows);
  resetSynth();
  for (uint32_t frame = 0; frame < kSongFrames; ++frame) {
    uint32_t rendered = 0;
    std::string error;
    if (!renderSongAhead(watch.output.data(), 1, &rendered, &error) || rendered != 1) break;
    const uint32_t position = frame / kFramesPerPosition;
    for (uint32_t k = 0; k < kTrackCount; ++k) {
      const VoiceRecord& v = voiceRecords[k];
      if (v.mainLeft != 0.0f || v.mainRight != 0.0f || v.auxLeft != 0.0f || v.auxRight != 0.0f) {
        watch.sounded[k][position] = true;
      }
    }
    watch.shakeLevel[frame / kFramesPerEnvelopeRow] = recordedLevel(voiceRecords[kShakeTrack]);
  }
  resetSynth();
  return watch;
}

// These analyses run on one thread; ThreadSanitizer would only make the
// whole-song render several times slower.
#if defined(__SANITIZE_THREAD__)
#define SKIP_UNDER_THREAD_SANITIZER() GTEST_SKIP() << "single-threaded whole-song analysis"
#else
#define SKIP_UNDER_THREAD_SANITIZER() (void)0
#endif

const SongWatch& songWatch() {
  static const SongWatch watch = renderWatched();
  return watch;
}

bool startsNote(uint32_t track, uint32_t tick) {
  const uint8_t pattern = orderTable[track * kOrderLength + tick / kRowsPerPattern];
  return patternTable[pattern * kRowsPerPattern + tick % kRowsPerPattern] >= 2;
}

TEST(SongMix, EveryPositionWithANoteSoundsOnItsTrack) {
  SKIP_UNDER_THREAD_SANITIZER();
  const SongWatch& watch = songWatch();
  int positionsWithNotes = 0;
  for (uint32_t k = 0; k < kTrackCount; ++k) {
    for (uint32_t n = 0; n < kOrderLength; ++n) {
      bool hasNote = false;
      for (uint32_t row = 0; row < kRowsPerPattern; ++row) hasNote |= startsNote(k, n * kRowsPerPattern + row);
      if (!hasNote) continue;
      ++positionsWithNotes;
      EXPECT_TRUE(watch.sounded[k][n]) << "track " << k << " is silent at position " << n;
    }
  }
  EXPECT_GT(positionsWithNotes, 0);
}

TEST(SongMix, LevelLeavesTheClipToTheDrumTransients) {
  SKIP_UNDER_THREAD_SANITIZER();
  const SongWatch& watch = songWatch();
  double sumSquares = 0.0;
  size_t clipped = 0;
  for (float v : watch.output) {
    sumSquares += double{v} * v;
    if (std::fabs(v) == 1.0f) ++clipped;
  }
  const double rmsDb = 10.0 * std::log10(sumSquares / static_cast<double>(watch.output.size()));
  const double clippedShare = static_cast<double>(clipped) / static_cast<double>(watch.output.size());
  RecordProperty("rms_dbfs", std::to_string(rmsDb));
  RecordProperty("clipped_share", std::to_string(clippedShare));
  // A full mix, neither faint nor flattened: the kick's and the snare's
  // attacks are built to hit the clip, nothing else should live there.
  EXPECT_GT(rmsDb, -16.0);
  EXPECT_LT(rmsDb, -8.0);
  EXPECT_LT(clippedShare, 0.02);
  // The intro (pad and pulse only) stays clear of the clip.
  size_t introClipped = 0;
  for (size_t i = 0; i < 2 * size_t{8 * kFramesPerPosition}; ++i) introClipped += std::fabs(watch.output[i]) == 1.0f;
  EXPECT_LT(static_cast<double>(introClipped) / (2.0 * 8 * kFramesPerPosition), 0.002);
}

TEST(SongMix, CameraShakeFollowsTheSnare) {
  SKIP_UNDER_THREAD_SANITIZER();
  const SongWatch& watch = songWatch();
  // The level rises above the threshold exactly in the ticks where track 2
  // starts a note, once per note.
  std::vector<int> onsetsPerTick(kTickCount, 0);
  float previous = 0.0f;
  for (uint32_t row = 0; row < kEnvelopeRows; ++row) {
    const float level = watch.shakeLevel[row];
    if (level > kShakeThreshold && !(previous > kShakeThreshold)) {
      // A row holds the level of its last frame.
      ++onsetsPerTick[(row * kFramesPerEnvelopeRow + kFramesPerEnvelopeRow - 1) / kSamplesPerTick];
    }
    previous = level;
  }
  int notes = 0;
  for (uint32_t tick = 0; tick < kTickCount; ++tick) {
    const bool note = startsNote(kShakeTrack, tick);
    notes += note;
    EXPECT_EQ(onsetsPerTick[tick], note ? 1 : 0) << "tick " << tick;
  }
  EXPECT_GT(notes, 0);
}

}  // namespace
