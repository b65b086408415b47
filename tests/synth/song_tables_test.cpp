// The shipped instrument tables: what walking the programs finds, the
// constants by their bits, the unit table.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "synth/song_data.h"
#include "synth/song_instruments.h"
#include "synth/song_validation.h"
#include "synth/synth_constants.h"
#include "synth/unit_table.h"

namespace {

SongLayout shippedLayout() {
  SongLayout layout{};
  std::string error;
  EXPECT_TRUE(analyseSong(shippedSong(), layout, &error)) << error;
  return layout;
}

TEST(ShippedInstruments, WalkingAllProgramsConsumesBothTablesExactly) {
  const SongLayout layout = shippedLayout();
  EXPECT_EQ(layout.unitCount, 201u);
  const uint32_t units[kProgramCount] = {7, 10, 17, 11, 16, 25, 18, 22, 22, 14, 17, 14, 8};
  uint32_t programBytes = 0;
  for (uint32_t k = 0; k < kProgramCount; ++k) {
    EXPECT_EQ(layout.programUnits[k], units[k]) << k;
    programBytes += layout.programUnits[k] + 1;
  }
  EXPECT_EQ(programBytes, sizeof programTable);
  EXPECT_EQ(programBytes, 214u);
  const UnitLayout& last = layout.units[layout.unitCount - 1];
  EXPECT_EQ(last.param + unitTable[last.opcode].paramCount, 664u);
  EXPECT_EQ(sizeof paramTable, 664u);
  EXPECT_EQ(layout.linesClaimed, 53u);
}

TEST(ShippedInstruments, DelayUnitsClaimTheirPoolLinesInProgramOrder) {
  struct Claim {
    uint32_t program, unit, firstLine, lines, firstLength;
  };
  const Claim expected[] = {{0, 5, 0, 1, 16},  {2, 14, 1, 8, 8},   {3, 8, 9, 8, 0},    {5, 21, 17, 1, 17},
                            {5, 23, 18, 1, 18}, {7, 19, 19, 8, 0},  {8, 20, 27, 8, 8},  {9, 11, 35, 1, 19},
                            {11, 11, 36, 1, 16}, {12, 1, 37, 8, 0}, {12, 3, 45, 8, 8}};
  const SongLayout layout = shippedLayout();
  size_t n = 0;
  for (uint32_t i = 0; i < layout.unitCount; ++i) {
    const UnitLayout& u = layout.units[i];
    if (u.opcode != kDelay) continue;
    ASSERT_LT(n, std::size(expected));
    const Claim& c = expected[n++];
    EXPECT_EQ(u.program, c.program);
    EXPECT_EQ(u.index, c.unit);
    EXPECT_EQ(u.firstLine, c.firstLine);
    EXPECT_EQ(paramTable[u.param + 7], c.lines);
    EXPECT_EQ(paramTable[u.param + 6], c.firstLength);
  }
  EXPECT_EQ(n, std::size(expected));
}

TEST(ShippedInstruments, StackDepthsAndProgramShapes) {
  const SongLayout layout = shippedLayout();
  uint32_t deepest[kProgramCount] = {};
  for (uint32_t i = 0; i < layout.unitCount; ++i) {
    const UnitLayout& u = layout.units[i];
    // The depth before each unit is the depth after the one before it.
    deepest[u.program] = std::max(deepest[u.program], static_cast<uint32_t>(u.depth));
    if (u.index == 0) { EXPECT_EQ(u.opcode, u.program == kMasterProgram ? kAccumulate : kEnvelope) << int(u.program); }
  }
  for (uint32_t k = 0; k < kProgramCount; ++k) {
    const bool four = k == 2 || k == 5 || k == 6 || k == 7 || k == 8 || k == 12;
    if (four) { EXPECT_EQ(deepest[k], 4u) << k; }
    else { EXPECT_LT(deepest[k], 4u) << k; }
  }
}

TEST(ShippedInstruments, DelayLengths) {
  const uint16_t lengths[kDelayLengthCount] = {1116, 1188, 1276, 1356, 1422, 1492, 1556, 1618, 1140, 1212,
                                               1300, 1380, 1446, 1516, 1580, 1642, 10335, 15503, 512, 20671};
  EXPECT_EQ(std::memcmp(delayLengthTable, lengths, sizeof lengths), 0);
  for (uint32_t i = 0; i < 8; ++i) EXPECT_EQ(delayLengthTable[i + 8], delayLengthTable[i] + 24);
}

TEST(SynthConstants, PitchConstantsMeanWhatTheyAreFor) {
  // 1/12 one step below the nearest single, as the song was made with.
  EXPECT_EQ(std::bit_cast<uint32_t>(kTwelfth) + 1, std::bit_cast<uint32_t>(1.0f / 12.0f));
  EXPECT_FLOAT_EQ(kNoteBase * 44100.0f, 4.0879f);
  EXPECT_LT(kLfoBase, kNoteBase);
}

TEST(UnitTableEntries, NamesParameterCountsAndDepthChanges) {
  const uint8_t counts[kOpcodeCount] = {0, 5, 7, 3, 2, 8, 1, 2, 1, 2, 1, 0};
  const int change[kOpcodeCount] = {0, 1, 1, 0, 0, 0, 0, 0, 1, -2, 2, 0};
  for (uint32_t op = 0; op < kOpcodeCount; ++op) {
    EXPECT_EQ(unitTable[op].paramCount, counts[op]) << op;
    if (op != kStackOperation) { EXPECT_EQ(unitTable[op].stack.pushes - unitTable[op].stack.pops, change[op]) << op; }
  }
  const int operationChange[] = {-1, -1, -1, 1, 0, 0, 0, -2};
  for (uint8_t operation = kStackPop; operation <= kStackStereoAdd; ++operation) {
    const StackEffect e = unitStackEffect(kStackOperation, &operation);
    EXPECT_EQ(e.pushes - e.pops, operationChange[operation - 1]) << int(operation);
  }
  EXPECT_STREQ(unitTable[kDelay].name, "delay");
  EXPECT_STREQ(unitTable[kNoOp].name, "no-op");
}

}  // namespace
