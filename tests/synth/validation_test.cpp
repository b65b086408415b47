// The song-data validator: one case per limit, each named in its message.
#include "synth/song_validation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "song_tables.h"
#include "synth/opcodes.h"
#include "synth/unit_table.h"

namespace {

// Replaces program k of the tables (its opcodes and parameter bytes).
void replaceProgram(SongTables& t, uint32_t k, std::vector<uint8_t> opcodes, std::vector<uint8_t> params) {
  size_t at = 0;
  size_t param = 0;
  for (uint32_t p = 0; p < k; ++p) {
    while (t.programs[at] != kEndOfProgram) param += unitTable[t.programs[at++]].paramCount;
    ++at;
  }
  size_t end = at;
  size_t paramEnd = param;
  while (t.programs[end] != kEndOfProgram) paramEnd += unitTable[t.programs[end++]].paramCount;
  opcodes.push_back(kEndOfProgram);
  t.programs.erase(t.programs.begin() + at, t.programs.begin() + end + 1);
  t.programs.insert(t.programs.begin() + at, opcodes.begin(), opcodes.end());
  t.params.erase(t.params.begin() + param, t.params.begin() + paramEnd);
  t.params.insert(t.params.begin() + param, params.begin(), params.end());
}

const std::vector<uint8_t> kEnvelopeBytes = {0, 64, 64, 64, 128};
const std::vector<uint8_t> kOscillatorBytes = {64, 64, 0, 64, 64, 128, kWaveSine};

// Validates and returns the message ("" when the song passes).
std::string problem(const SongTables& t) {
  std::string error;
  return validateSongData(t.data(), &error) ? std::string() : error;
}

#define EXPECT_REFUSED(tables, fragment)                                                  \
  do {                                                                                  \
    const std::string message = problem(tables);                                        \
    EXPECT_NE(message.find(fragment), std::string::npos) << "message: \"" << message << '"'; \
  } while (0)

TEST(SongValidation, ShippedSongPasses) {
  std::string error;
  EXPECT_TRUE(validateSongData(shippedSong(), &error)) << error;
  EXPECT_EQ(problem(SongTables{}), "");
}

TEST(SongValidation, AProgramThatKeepsToEveryLimitPasses) {
  SongTables t;
  // Seven values deep, every kind of stack operation, a no-op and a store
  // into the last unit.
  std::vector<uint8_t> ops = {kEnvelope};
  std::vector<uint8_t> params = kEnvelopeBytes;
  for (int i = 0; i < 6; ++i) ops.push_back(kStackOperation), params.push_back(kStackDuplicate);
  for (uint8_t op : {kStackSwap, kStackAddKeep, kStackMultiplyKeep, kStackStereoAdd, kStackAdd, kStackMultiply,
                     kStackPop, kStackPop})
    ops.push_back(kStackOperation), params.push_back(op);
  ops.push_back(kNoOp);
  ops.push_back(kStore), params.push_back(128), params.push_back(8 * 17 + 1);
  ops.push_back(kStackOperation), params.push_back(kStackPop);
  ASSERT_EQ(ops.size(), 18u);
  replaceProgram(t, 0, ops, params);
  EXPECT_EQ(problem(t), "");
}

TEST(SongValidation, OpcodesRunFromZeroToEleven) {
  SongTables t;
  t.programs[3] = 12;
  EXPECT_REFUSED(t, "Program 0, unit 3: opcode 12 is not a unit");
}

TEST(SongValidation, AtMost32UnitsPerProgram) {
  SongTables t;
  std::vector<uint8_t> ops = {kEnvelope};
  ops.insert(ops.end(), 32, kNoOp);
  ops.push_back(kStackOperation);
  std::vector<uint8_t> params = kEnvelopeBytes;
  params.push_back(kStackPop);
  replaceProgram(t, 3, ops, params);
  EXPECT_REFUSED(t, "Program 3 has more than 32 units");
  // 32 exactly is fine.
  ops.erase(ops.begin() + 1, ops.begin() + 3);
  SongTables u;
  replaceProgram(u, 3, ops, params);
  EXPECT_EQ(problem(u), "");
}

TEST(SongValidation, StackNeverAboveEightValues) {
  SongTables t;
  std::vector<uint8_t> ops = {kEnvelope};
  std::vector<uint8_t> params = kEnvelopeBytes;
  for (int i = 0; i < 8; ++i) ops.push_back(kStackOperation), params.push_back(kStackDuplicate);
  replaceProgram(t, 1, ops, params);
  EXPECT_REFUSED(t, "Program 1, unit 8 (stack operation) would hold 9 values");
}

TEST(SongValidation, StackCountsWhatAUnitHoldsWhileItWorks) {
  // Six values, then an oscillator: it pushes only one, but holds three
  // while it works.
  SongTables t;
  std::vector<uint8_t> ops = {kEnvelope};
  std::vector<uint8_t> params = kEnvelopeBytes;
  for (int i = 0; i < 5; ++i) ops.push_back(kStackOperation), params.push_back(kStackDuplicate);
  ops.push_back(kOscillator);
  params.insert(params.end(), kOscillatorBytes.begin(), kOscillatorBytes.end());
  replaceProgram(t, 1, ops, params);
  EXPECT_REFUSED(t, "Program 1, unit 6 (oscillator) would hold 9 values on the value stack");
}

TEST(SongValidation, StackNeverBelowWhatAUnitTakes) {
  SongTables t;
  replaceProgram(t, 4, {kEnvelope, kStackOperation}, {0, 64, 64, 64, 128, kStackAdd});
  EXPECT_REFUSED(t, "Program 4, unit 1 (stack operation) takes 2 values from a stack that holds 1");
  SongTables u;
  replaceProgram(u, 12, {kOut}, {50, 0});
  EXPECT_REFUSED(u, "Program 12, unit 0 (out) takes 2 values from a stack that holds 0");
}

TEST(SongValidation, StackEmptyAtEachProgramsEnd) {
  SongTables t;
  replaceProgram(t, 6, {kEnvelope, kStackOperation}, {0, 64, 64, 64, 128, kStackDuplicate});
  EXPECT_REFUSED(t, "Program 6 ends with 2 values on the value stack");
}

TEST(SongValidation, StackOperationsOneToEight) {
  for (int op : {0, 9, 255}) {
    SongTables t;
    replaceProgram(t, 0, {kEnvelope, kStackOperation}, {0, 64, 64, 64, 128, static_cast<uint8_t>(op)});
    EXPECT_REFUSED(t, "Program 0, unit 1 (stack operation): operation " + std::to_string(op) + " is not one of 1 to 8");
  }
}

TEST(SongValidation, AccumulatePairsZeroAndEight) {
  SongTables t;
  replaceProgram(t, 12, {kAccumulate, kOut}, {4, 50, 0});
  EXPECT_REFUSED(t, "Program 12, unit 0 (accumulate): pair 4 is neither 0 (main) nor 8 (aux)");
}

TEST(SongValidation, StoreTargetsInsideTheirOwnProgram) {
  SongTables t;
  replaceProgram(t, 0, {kEnvelope, kStore, kStackOperation}, {0, 64, 64, 64, 128, 128, 8 * 3, kStackPop});
  EXPECT_REFUSED(t, "Program 0, unit 1 (store): target slot 24 lies in unit 3, but the program has only 3 units");
  SongTables u;
  replaceProgram(u, 0, {kEnvelope, kStore, kStackOperation}, {0, 64, 64, 64, 128, 128, 8 * 2 + 7, kStackPop});
  EXPECT_EQ(problem(u), "");
}

// A master program whose one delay claims `lines` lines from length `first`.
SongTables masterDelay(uint8_t first, uint8_t lines, size_t lengthCount) {
  SongTables t;
  t.lengths.resize(lengthCount, 100);
  replaceProgram(t, 12, {kAccumulate, kDelay, kStackOperation, kOut},
                 {0, 40, 128, 125, 64, 0, 0, first, lines, kStackSwap, 50, 0});
  return t;
}

TEST(SongValidation, DelayLinesPerSampleAtMost467) {
  // The track programs claim 37 lines; the master may add 430 more.
  EXPECT_EQ(problem(masterDelay(0, 255, 300)), "");  // 37 + 255 = 292
  SongTables t = masterDelay(0, 255, 300);
  replaceProgram(t, 12, {kAccumulate, kDelay, kStackOperation, kDelay, kStackOperation, kOut},
                 {0, 40, 128, 125, 64, 0, 0, 0, 255, kStackSwap, 40, 128, 125, 64, 0, 0, 0, 176, kStackSwap, 50, 0});
  EXPECT_REFUSED(t, "Program 12, unit 3 (delay) would claim pool lines up to 467, but a sample may claim at most 467 lines");
  SongTables u = masterDelay(0, 255, 300);
  replaceProgram(u, 12, {kAccumulate, kDelay, kStackOperation, kDelay, kStackOperation, kOut},
                 {0, 40, 128, 125, 64, 0, 0, 0, 255, kStackSwap, 40, 128, 125, 64, 0, 0, 0, 175, kStackSwap, 50, 0});
  EXPECT_EQ(problem(u), "");  // 37 + 255 + 175 = 467
}

TEST(SongValidation, DelayLinesWithinTheLengthTable) {
  EXPECT_EQ(problem(masterDelay(12, 8, 20)), "");
  EXPECT_REFUSED(masterDelay(13, 8, 20), "Program 12, unit 1 (delay): its lines take lengths 13 to 20, but the delay length table holds 20 entries");
}

TEST(SongValidation, DelayNeedsAtLeastOneLine) {
  EXPECT_REFUSED(masterDelay(0, 0, 20), "Program 12, unit 1 (delay): its line count is 0");
}

TEST(SongValidation, DelayLengthsAreNotZero) {
  SongTables t = masterDelay(0, 8, 20);
  t.lengths[5] = 0;
  EXPECT_REFUSED(t, "delay length 5 is 0 samples");
  SongTables u = masterDelay(0, 8, 20);
  u.lengths[3] = 65535;
  EXPECT_EQ(problem(u), "");
}

TEST(SongValidation, ParameterBytesConsumedEqualTheTable) {
  SongTables t;
  t.params.push_back(7);
  EXPECT_REFUSED(t, "The programs consume 664 parameter bytes, but the parameter table holds 665");
  SongTables u;
  u.params.resize(600);
  EXPECT_REFUSED(u, "Program 11, unit 1 (oscillator) needs 7 parameter bytes from offset 597, but the parameter table holds only 600");
}

TEST(SongValidation, OrderEntriesNameExistingPatterns) {
  SongTables t;
  t.orders[3 * kOrderLength + 40] = 68;
  EXPECT_REFUSED(t, "Order entry 40 of track 3 names pattern 68, but the pattern table holds only 68 patterns");
  SongTables u;
  u.patterns.resize(16);
  EXPECT_REFUSED(u, "names pattern 1, but the pattern table holds only 1 patterns");
}

TEST(SongValidation, TableSizes) {
  SongTables t;
  t.patterns.push_back(0);
  EXPECT_REFUSED(t, "The pattern table holds 1089 bytes, not a whole number of 16-row patterns");
  SongTables u;
  u.orders.pop_back();
  EXPECT_REFUSED(u, "The order table holds 1115 entries instead of 1116");
  SongTables v;
  v.programs.pop_back();
  EXPECT_REFUSED(v, "The program table ends inside program 12");
  SongTables w;
  w.programs.push_back(kNoOp);
  EXPECT_REFUSED(w, "The program table holds 1 bytes after the end of the master program");
}

TEST(SongValidation, InstrumentsBeginWithAnEnvelope) {
  SongTables t;
  replaceProgram(t, 7, {kOscillator, kStackOperation}, {64, 64, 0, 64, 64, 128, kWaveSine, kStackPop});
  EXPECT_REFUSED(t, "Program 7, the instrument of track 7, begins with an oscillator instead of an envelope");
  SongTables u;
  replaceProgram(u, 7, {}, {});
  EXPECT_REFUSED(u, "Program 7, the instrument of track 7, has no units");
}

TEST(SongValidation, OscillatorsHaveExactlyOneWaveform) {
  for (int flags : {0, 16, kWaveSine | kWavePulse}) {
    SongTables t;
    std::vector<uint8_t> params = kEnvelopeBytes;
    std::vector<uint8_t> osc = kOscillatorBytes;
    osc[6] = static_cast<uint8_t>(flags);
    params.insert(params.end(), osc.begin(), osc.end());
    params.push_back(kStackMultiply);
    params.push_back(kStackPop);
    replaceProgram(t, 2, {kEnvelope, kOscillator, kStackOperation, kStackOperation}, params);
    EXPECT_REFUSED(t, "Program 2, unit 1 (oscillator): flags " + std::to_string(flags) + " must set exactly one");
  }
}

TEST(SongValidation, NamesOnlyTheFirstViolation) {
  SongTables t;
  t.programs[3] = 12;
  t.params.push_back(0);
  t.orders[0] = 200;
  EXPECT_REFUSED(t, "Order entry 0 of track 0 names pattern 200");
}

}  // namespace
