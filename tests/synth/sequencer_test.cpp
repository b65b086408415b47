// Note triggers, voice states and the voice-off rule, on the shipped
// instruments with music made for each case.
#include "synth/sequencer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "song_tables.h"
#include "synth/render_song.h"

namespace {

class Sequencer : public ::testing::Test {
 protected:
  void SetUp() override { resetSynth(); }
  void TearDown() override { resetSynth(); }

  // Renders the first `frames` frames of the tables into `output`.
  void render(const SongTables& t, uint32_t frames) {
    output.assign(2 * frames, 0.0f);
    std::string error;
    ASSERT_TRUE(renderSongFrames(t.data(), output.data(), frames, &error)) << error;
  }
  float peak(uint32_t from, uint32_t to) const {
    float m = 0.0f;
    for (uint32_t i = 2 * from; i < 2 * to; ++i) m = std::max(m, std::fabs(output[i]));
    return m;
  }

  std::vector<float> output;
};

TEST_F(Sequencer, TriggerValuesAndTheResetRegion) {
  SongTables t;
  const uint8_t p = t.addPattern({50, 1, 0, 0, 200, 70, 70, 1});
  t.playOnly({2}, p);
  const SongData song = t.data();
  VoiceRecord r{};
  r.workspace[5][3] = 0.5f;
  r.mainLeft = 0.25f;
  r.auxRight = -0.125f;
  triggerTrack(song, 2, 0, r);  // a new note clears all but the out area
  EXPECT_EQ(r.note, 50);
  EXPECT_EQ(r.releaseCount, 0u);
  EXPECT_EQ(r.workspace[5][3], 0.0f);
  EXPECT_EQ(r.mainLeft, 0.25f);
  EXPECT_EQ(r.auxRight, -0.125f);

  r.workspace[0][1] = 0.75f;
  triggerTrack(song, 2, 1, r);  // hold
  EXPECT_EQ(r.note, 50);
  EXPECT_EQ(r.releaseCount, 0u);
  EXPECT_EQ(r.workspace[0][1], 0.75f);

  triggerTrack(song, 2, 2, r);  // release
  triggerTrack(song, 2, 3, r);  // a further release counts on
  EXPECT_EQ(r.note, 50);
  EXPECT_EQ(r.releaseCount, 2u);
  triggerTrack(song, 2, 4, r);  // 200 is a release, read as a signed byte
  EXPECT_EQ(r.note, 50);
  EXPECT_EQ(r.releaseCount, 3u);
  EXPECT_EQ(r.workspace[0][1], 0.75f);

  triggerTrack(song, 2, 5, r);  // a new note during the release cuts it
  EXPECT_EQ(r.note, 70);
  EXPECT_EQ(r.releaseCount, 0u);
  EXPECT_EQ(r.workspace[0][1], 0.0f);
  r.workspace[0][1] = 0.5f;
  triggerTrack(song, 2, 6, r);  // the same note again retriggers
  EXPECT_EQ(r.note, 70);
  EXPECT_EQ(r.workspace[0][1], 0.0f);
  EXPECT_EQ(r.mainLeft, 0.25f);

  // Reading the order: tick 16 is row 0 of order position 1.
  t.orders[2 * kOrderLength + 1] = 0;
  const SongData song2 = t.data();
  triggerTrack(song2, 2, 16, r);
  EXPECT_EQ(r.releaseCount, 1u);
}

TEST_F(Sequencer, ReleasesAndHoldsLeaveAnOffVoiceOff) {
  SongTables t;
  const SongData song = t.data();  // track 1 plays pattern 0 at position 0
  VoiceRecord r{};
  r.workspace[0][1] = 0.0f;
  for (uint32_t tick = 0; tick < 5; ++tick) triggerTrack(song, 1, tick, r);
  EXPECT_EQ(r.note, 0);
  EXPECT_EQ(r.releaseCount, 5u);
}

TEST_F(Sequencer, TracksFourAndNineSoundFromFrameZero) {
  SongTables t;
  t.playOnly({4, 9}, t.addPattern({60}));
  render(t, 1);
  for (uint32_t k = 0; k < kTrackCount; ++k) {
    if (k == 4 || k == 9) { EXPECT_GT(EnvelopeRecording[0][2 * k], 0.0f) << k; }
    else { EXPECT_EQ(EnvelopeRecording[0][2 * k], 0.0f) << k; }
  }
  EXPECT_EQ(EnvelopeRecording[0][18], 1.0f);  // attack 0: full level at once
  EXPECT_NE(output[0], 0.0f);
}

TEST_F(Sequencer, VoiceOffAtStageFourWhileTheEchoRingsOn) {
  // Track 0's envelope has release 0: the release in row 1 ends the note on
  // the first sample of tick 1 (frame 5167).
  SongTables t;
  t.playOnly({0}, t.addPattern({62, 0}));
  render(t, kSamplesPerTick);
  EXPECT_EQ(voiceRecords[0].note, 62);
  resetSynth();
  render(t, kSamplesPerTick + 1);
  EXPECT_EQ(voiceRecords[0].note, 0);
  EXPECT_EQ(envelopeStage(voiceRecords[0].workspace[0]), kStageDone);
  EXPECT_EQ(EnvelopeRecording[kSamplesPerTick / kFramesPerEnvelopeRow][0], 0.0f);
  // The noise burst of the note's first ~1300 samples comes back from the
  // two-tick echo line 10 335 samples later, long after the voice went off.
  resetSynth();
  render(t, 12000);
  EXPECT_EQ(voiceRecords[0].note, 0);
  EXPECT_GT(peak(10335, 11000), 20 * peak(8000, 10300));
  EXPECT_GT(peak(10335, 11000), 0.01f);
}

TEST_F(Sequencer, SecondEnvelopeIsNotRecorded) {
  SongTables t;
  t.playOnly({1}, t.addPattern({60}));
  render(t, 3000);
  const VoiceRecord& r = voiceRecords[1];
  EXPECT_EQ(EnvelopeRecording[2999 / kFramesPerEnvelopeRow][2], r.workspace[0][1]);
  EXPECT_NE(r.workspace[0][1], r.workspace[2][1]);
  // Envelope 2 of instrument 1 reached its sustain; the voice sounds on.
  EXPECT_EQ(r.note, 60);
}

TEST_F(Sequencer, RetriggerRestartsTheEnvelopeFromZero) {
  // Instrument 3 attacks slowly (byte 51): a repeated note starts over.
  SongTables t;
  t.playOnly({3}, t.addPattern({50, 50}));
  render(t, kSamplesPerTick);
  const float before = voiceRecords[3].workspace[0][1];
  resetSynth();
  render(t, kSamplesPerTick + 1);
  const float after = voiceRecords[3].workspace[0][1];
  EXPECT_GT(before, 0.1f);
  EXPECT_EQ(after, static_cast<float>(synth::envelopeRate(51 / 128.0)));
}

}  // namespace
