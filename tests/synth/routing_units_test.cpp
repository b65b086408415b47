// Stack operations, store, pan, out and accumulate.
#include "synth/routing_units.h"

#include <gtest/gtest.h>

#include <vector>

#include "synth/unit_table.h"

namespace {

// Applies an operation to a stack given bottom to top; the depth moves by
// the operation's stack effect.
std::vector<double> operate(uint8_t operation, std::vector<double> stack) {
  const size_t depth = stack.size();
  const StackEffect effect = unitStackEffect(kStackOperation, &operation);
  stack.resize(8);
  stackOperationUnit(operation, stack.data() + depth);
  stack.resize(depth - effect.pops + effect.pushes);
  return stack;
}

TEST(StackOperation, EachOperation) {
  // Bottom to top, top last.
  EXPECT_EQ(operate(kStackPop, {5, 2, 3}), (std::vector<double>{5, 2}));
  EXPECT_EQ(operate(kStackAdd, {5, 2, 3}), (std::vector<double>{5, 5}));
  EXPECT_EQ(operate(kStackMultiply, {5, 2, 3}), (std::vector<double>{5, 6}));
  EXPECT_EQ(operate(kStackDuplicate, {5, 2, 3}), (std::vector<double>{5, 2, 3, 3}));
  EXPECT_EQ(operate(kStackSwap, {5, 2, 3}), (std::vector<double>{5, 3, 2}));
  EXPECT_EQ(operate(kStackAddKeep, {5, 2, 3}), (std::vector<double>{5, 2, 5}));
  EXPECT_EQ(operate(kStackMultiplyKeep, {5, 2, 3}), (std::vector<double>{5, 2, 6}));
  // r1, l1, r2, l2 -> r1 + r2, l1 + l2 with the left sum on top.
  EXPECT_EQ(operate(kStackStereoAdd, {9, 1, 2, 10, 20}), (std::vector<double>{9, 11, 22}));
}

TEST(StackOperation, InversePairsRestoreTheStack) {
  EXPECT_EQ(operate(kStackSwap, operate(kStackSwap, {1, 2, 3})), (std::vector<double>{1, 2, 3}));
  EXPECT_EQ(operate(kStackPop, operate(kStackDuplicate, {1, 2, 3})), (std::vector<double>{1, 2, 3}));
}

TEST(Store, AmountsAndTargets) {
  VoiceRecord voice{};
  storeStep(storeFactor(1.0), 8 * 3 + 5, 0.75, voice);
  EXPECT_EQ(voice.workspace[3][5], 0.75f);
  storeStep(storeFactor(0.5), 8 * 3 + 5, 0.75, voice);  // byte 64 writes 0
  EXPECT_EQ(voice.workspace[3][5], 0.0f);
  storeStep(storeFactor(0.0), 255, 0.75, voice);
  EXPECT_EQ(voice.workspace[31][7], -0.75f);
  EXPECT_EQ(storeFactor(255 / 128.0), 2.984375);
  // The value is rounded to single precision when stored.
  storeStep(1.0, 0, 0.1, voice);
  EXPECT_EQ(voice.workspace[0][0], 0.1f);
}

TEST(Pan, PositionsAndModulation) {
  float ws[8] = {};
  StereoPair p = panStep(0.5, ws, 1.0);
  EXPECT_EQ(p.left, 0.5);
  EXPECT_EQ(p.right, 0.5);
  p = panStep(0.0, ws, 0.8);
  EXPECT_EQ(p.left, 0.8);
  EXPECT_EQ(p.right, 0.0);
  p = panStep(1.5, ws, 1.0);
  EXPECT_EQ(p.left, -0.5);
  ws[0] = 0.25f;
  p = panStep(0.25, ws, 1.0);
  EXPECT_EQ(p.right, 0.5);
}

TEST(Out, WritesAllFourAndReplaces) {
  VoiceRecord voice{};
  voice.auxLeft = voice.auxRight = 9.0f;
  float ws[8] = {};
  ws[1] = 0.5f;
  outStep(0.5, 0.0, ws, 0.5, -0.25, voice);
  EXPECT_EQ(voice.auxLeft, 0.0f);
  EXPECT_EQ(voice.auxRight, -0.0f);
  EXPECT_EQ(voice.mainLeft, 0.5f);
  EXPECT_EQ(voice.mainRight, -0.25f);
  outStep(1.0, 0.25, ws, 0.5, -0.25, voice);
  EXPECT_EQ(voice.auxLeft, 0.125f);
  EXPECT_EQ(voice.mainLeft, 0.75f);
}

TEST(Accumulate, SumsTheTwelveTrackRecordsOnly) {
  VoiceRecord records[kRecordCount] = {};
  for (uint32_t k = 0; k < kTrackCount; ++k) {
    records[k].mainLeft = 1.0f;
    records[k].mainRight = 2.0f;
    records[k].auxLeft = 0.25f;
    records[k].auxRight = 0.5f;
  }
  records[kMasterRecord].mainLeft = 100.0f;
  StereoPair main = accumulateStep(kAccumulateMain, records);
  EXPECT_EQ(main.left, 12.0);
  EXPECT_EQ(main.right, 24.0);
  StereoPair aux = accumulateStep(kAccumulateAux, records);
  EXPECT_EQ(aux.left, 3.0);
  EXPECT_EQ(aux.right, 6.0);
  VoiceRecord silent[kRecordCount] = {};
  main = accumulateStep(kAccumulateMain, silent);
  EXPECT_EQ(main.left, 0.0);
  EXPECT_EQ(main.right, 0.0);
}

}  // namespace
