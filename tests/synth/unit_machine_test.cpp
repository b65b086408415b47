// The byte-code machine: loadParams, a voice-off unit's work, and one
// sample's walk over the tables.
#include "synth/unit_machine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "synth/render_song.h"
#include "synth/sequencer.h"
#include "synth/song_instruments.h"

namespace {

class UnitMachine : public ::testing::Test {
 protected:
  void SetUp() override { resetSynth(); }
  void TearDown() override { resetSynth(); }
};

TEST_F(UnitMachine, LoadParamsScalesBytesAndReturnsTheLast) {
  const uint8_t bytes[] = {0, 64, 128, 255, 7};
  paramCursor = bytes;
  EXPECT_EQ(loadParams(4), 255u);
  EXPECT_EQ(paramCursor, bytes + 4);
  EXPECT_EQ(paramScratch[0], 0.0f);
  EXPECT_EQ(paramScratch[1], 0.5f);
  EXPECT_EQ(paramScratch[2], 1.0f);
  EXPECT_EQ(paramScratch[3], 1.9921875f);
  EXPECT_EQ(loadParams(1), 7u);
  EXPECT_EQ(paramScratch[0], 7.0f / 128);
}

TEST_F(UnitMachine, AVoiceThatIsOffStillConsumesEveryParameterByte) {
  // Envelope, oscillator, filter, distortion and delay of a silent voice.
  const uint8_t bytes[] = {0, 64, 64, 64, 128,           64, 64, 0, 64, 64, 128, kWaveNoise,
                           64, 128, kFilterLow,          64, 128,
                           128, 128, 0, 0, 0, 0, 18, 1};
  VoiceRecord& voice = voiceRecords[3];
  voice.note = 0;
  float* ws = voice.workspace[0];
  ws[0] = 0.25f;
  ws[1] = 0.5f;
  paramCursor = bytes;
  valueStackDepth = 0;
  const int32_t seed = noiseSeed;
  const SongData song = shippedSong();
  useSong(song);
  runUnit(kEnvelope, voice, ws);
  runUnit(kOscillator, voice, ws);
  EXPECT_EQ(valueStackDepth, 2u);
  EXPECT_EQ(valueStack[0], 0.0);
  EXPECT_EQ(valueStack[1], 0.0);
  EXPECT_EQ(noiseSeed, seed) << "no noise is drawn";
  valueStack[1] = 3.5;
  runUnit(kFilter, voice, ws);
  runUnit(kDistortion, voice, ws);
  EXPECT_EQ(valueStack[1], 3.5) << "passed through, not even clamped";
  EXPECT_EQ(ws[0], 0.25f);
  EXPECT_EQ(ws[1], 0.5f);
  delayCursor = 4;
  runUnit(kDelay, voice, ws);
  EXPECT_EQ(delayCursor, 5u) << "the delay runs";
  EXPECT_EQ(valueStack[1], 3.5) << "dry path at full gain";
  EXPECT_EQ(delayPool[5].dcInput, 3.5f) << "its DC blocker lives in the next line's header";
  EXPECT_EQ(paramCursor, bytes + sizeof bytes);
}

// Each unit, sounding and silent, leaves every place of the value stack
// below its inputs and above both its inputs and its outputs as it was,
// and writes every place it pushes beyond the depth it started at.
TEST_F(UnitMachine, EachUnitStaysWithinItsStackEffect) {
  struct Case {
    uint8_t opcode;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases = {
      {kEnvelope, {0, 64, 64, 64, 128}},
      {kOscillator, {64, 64, 0, 64, 64, 128, kWaveNoise}},
      {kFilter, {64, 128, kFilterLow}},
      {kDistortion, {96, 128}},
      {kDelay, {128, 64, 64, 0, 64, 64, 18, 1}},
      {kStore, {128, 8 * 2 + 1}},
      {kPan, {40}},
      {kOut, {100, 20}},
      {kAccumulate, {kAccumulateAux}},
      {kNoOp, {}},
  };
  for (uint8_t operation = kStackPop; operation <= kStackStereoAdd; ++operation)
    cases.push_back({kStackOperation, {operation}});
  const SongData song = shippedSong();
  useSong(song);
  constexpr uint32_t kDepth = 4;
  constexpr double kUntouched = -12345.0;
  for (const Case& c : cases) {
    for (int32_t note : {60, 0}) {
      VoiceRecord& voice = voiceRecords[0];
      voice.note = note;
      for (uint32_t i = 0; i < kValueStackSize; ++i) valueStack[i] = i < kDepth ? 0.25 * (i + 1) : kUntouched;
      valueStackDepth = kDepth;
      delayCursor = 0;
      paramCursor = c.bytes.data();
      runUnit(c.opcode, voice, voice.workspace[1]);
      const StackEffect effect = unitStackEffect(c.opcode, c.bytes.data());
      const uint32_t base = kDepth - effect.pops;
      const uint32_t end = base + effect.pushes;
      for (uint32_t i = 0; i < kValueStackSize; ++i) {
        if (i < base) { EXPECT_EQ(valueStack[i], 0.25 * (i + 1)) << unitTable[c.opcode].name << ' ' << i; }
        if (i >= end && i >= kDepth) { EXPECT_EQ(valueStack[i], kUntouched) << unitTable[c.opcode].name << ' ' << i; }
        if (i >= kDepth && i < end) { EXPECT_NE(valueStack[i], kUntouched) << unitTable[c.opcode].name << ' ' << i; }
      }
      EXPECT_EQ(paramCursor, c.bytes.data() + c.bytes.size());
    }
  }
}

TEST_F(UnitMachine, OneSampleWalksBothTablesOnceAndClaims53Lines) {
  const SongData song = shippedSong();
  useSong(song);
  programCursor = programTable;
  paramCursor = paramTable;
  delayCursor = 0;
  valueStackDepth = 0;
  for (uint32_t k = 0; k < kTrackCount; ++k) {
    triggerTrack(song, k, 0, voiceRecords[k]);
    stepVoice(k, voiceRecords[k], 0);
    EXPECT_EQ(valueStackDepth, 0u) << k;
  }
  voiceRecords[kMasterRecord].note = kMasterNote;
  runProgram(voiceRecords[kMasterRecord]);
  EXPECT_EQ(programCursor, programTable + 214);
  EXPECT_EQ(paramCursor, paramTable + 664);
  EXPECT_EQ(delayCursor, 53u);
  EXPECT_EQ(valueStackDepth, 0u);
}

}  // namespace
