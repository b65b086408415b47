#include "host/frame_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "host/intro_config.h"
#include "synth/shared_buffers.h"

namespace {

class FrameValues : public ::testing::Test {
 protected:
  ShowState state;  // the show's start

  // Runs frames at `step` samples apart from `start`; the first frame sees a
  // peak, the rest none. Returns how many frames after the trigger the level
  // first stops being positive, and checks the sign flip on the way.
  int framesUntilDecayed(uint32_t start, uint32_t step) {
    beginFrame(state, start, 0.9f);
    endFrame(state, start);
    EXPECT_EQ(state.flashLevel, 0.5f);
    for (int n = 1; n < 100; ++n) {
      const uint32_t p = start + n * step;
      const EffectValues v = beginFrame(state, p, 0.0f);
      endFrame(state, p);
      if (state.flashLevel <= 0.0f) {
        if (state.flashLevel < 0.0f) {
          // The one negative frame flips the shake's sign relative to sin.
          const float s = sineF(state.musicTime * 999.0f);
          EXPECT_EQ(v.e[0], s * (state.flashLevel * 2.5f));
          beginFrame(state, p + step, 0.0f);
          EXPECT_EQ(state.flashLevel, 0.0f);
        }
        return n;
      }
    }
    return -1;
  }
};

TEST_F(FrameValues, MusicTimeIsPositionOverSixtyFourTicks) {
  EXPECT_EQ(musicTimeAt(0), 0.0f);
  EXPECT_EQ(musicTimeAt(165344), 0.5f);
  EXPECT_EQ(musicTimeAt(330688), 1.0f);
  EXPECT_EQ(musicTimeAt(7688496), 23.25f);
  // Rounded once from the exact quotient.
  EXPECT_EQ(musicTimeAt(735), static_cast<float>(735.0 / 330688.0));
}

TEST_F(FrameValues, EndTestAtTheLastFrameOnly) {
  EXPECT_FALSE(endFrame(state, 7688495));
  EXPECT_TRUE(endFrame(state, 7688496));
  EXPECT_TRUE(endFrame(state, 7688497));
  EXPECT_FALSE(endFrame(state, 0));
}

TEST_F(FrameValues, EndFrameKeepsMusicTimeForTheNextFrame) {
  beginFrame(state, 330688, 0.0f);
  EXPECT_EQ(state.previousMusicTime, 0.0f);
  endFrame(state, 330688);
  EXPECT_EQ(state.previousMusicTime, 1.0f);
}

TEST_F(FrameValues, FlashTriggersOnlyStrictlyAboveSevenTenths) {
  beginFrame(state, 1000, 0.7f);
  EXPECT_EQ(state.flashLevel, 0.0f);
  beginFrame(state, 1000, std::nextafter(0.7f, 1.0f));
  EXPECT_EQ(state.flashLevel, 0.5f);
  EXPECT_EQ(state.flashTime, musicTimeAt(1000));
}

TEST_F(FrameValues, NoShakeBeforeTheFirstPeak) {
  for (uint32_t p = 0; p < 100000; p += 735) {
    const EffectValues v = beginFrame(state, p, 0.5f);
    EXPECT_EQ(v.e[0], 0.0f);
    EXPECT_EQ(v.e[1], 0.0f);
    EXPECT_EQ(v.e[2], 0.0f);
    EXPECT_EQ(v.e[3], 0.0f);
  }
}

TEST_F(FrameValues, FlashHoldsWhileTheLevelStaysHighAndDecaysFromTheLastPeak) {
  for (uint32_t p = 10000; p < 10000 + 5 * 735; p += 735) {
    beginFrame(state, p, 0.95f);
    EXPECT_EQ(state.flashLevel, 0.5f);
    EXPECT_EQ(state.flashTime, state.musicTime);
  }
  const float lastPeak = state.flashTime;
  const uint32_t p1 = 10000 + 5 * 735, p2 = p1 + 735;
  beginFrame(state, p1, 0.1f);
  const float t1 = state.musicTime;
  EXPECT_EQ(state.flashLevel, 0.5f - (t1 - lastPeak));
  beginFrame(state, p2, 0.1f);
  const float t2 = state.musicTime;
  EXPECT_EQ(state.flashLevel, (0.5f - (t1 - lastPeak)) - (t2 - lastPeak));
  EXPECT_EQ(state.flashTime, lastPeak);
}

TEST_F(FrameValues, CumulativeDecayLengthDependsOnFrameRate) {
  EXPECT_EQ(framesUntilDecayed(50000, 735), 21);    // 60 frames a second
  state = ShowState{};
  EXPECT_EQ(framesUntilDecayed(50000, 1470), 15);   // 30 frames a second
}

TEST_F(FrameValues, ShakeIsSineTimesTwoAndAHalfFlash) {
  const EffectValues v = beginFrame(state, 12345, 0.8f);
  const float expected = sineF(musicTimeAt(12345) * 999.0f) * (0.5f * 2.5f);
  EXPECT_EQ(v.e[0], expected);
}

TEST_F(FrameValues, CameraMatchesTheYawPitchBlock) {
  for (uint32_t p : {0u, 100000u, 1234567u, 5000000u, 7688496u}) {
    const EffectValues v = beginFrame(state, p, 0.0f);
    const double T = musicTimeAt(p);
    const double k = std::numbers::pi / 180.0;
    const double pitch = (25 * std::sin(9 * T) + 10 * std::sin(3 * T) + 5 * std::sin(7 * T)) * k;
    const double yaw = (25 * std::sin(7 * T) + 10 * std::sin(4 * T) + 5 * std::sin(6 * T)) * k;
    const double cy = std::cos(yaw), sy = std::sin(yaw), cp = std::cos(pitch), sp = std::sin(pitch);
    const double expected[4][4] = {{cy, 0, -sy, 0},
                                   {sp * sy, cp, sp * cy, 0},
                                   {cp * sy, -sp, cp * cy, 0},
                                   {0, 0, 0, 1}};
    for (int r = 0; r < 4; ++r)
      for (int c = 0; c < 4; ++c) EXPECT_NEAR(v.m.m[r][c], expected[r][c], 2e-5) << p << " " << r << c;
    EXPECT_EQ(v.t, musicTimeAt(p) * 10.0f);
    EXPECT_EQ(v.u, musicTimeAt(p) * 0.5f);
    EXPECT_EQ(std::memcmp(&state.cameraMatrix, &v.m, sizeof(Matrix4)), 0);
  }
}

TEST_F(FrameValues, CameraIsARotation) {
  const Matrix4 r = yawPitchMatrix(0.3f, -0.2f);
  // A vector along z (the view direction) turns by yaw and pitch; rows stay unit length.
  for (int i = 0; i < 3; ++i) {
    const float n = r.m[i][0] * r.m[i][0] + r.m[i][1] * r.m[i][1] + r.m[i][2] * r.m[i][2];
    EXPECT_NEAR(n, 1.0f, 1e-6f);
  }
  EXPECT_NEAR(r.m[0][0] * r.m[1][0] + r.m[0][1] * r.m[1][1] + r.m[0][2] * r.m[1][2], 0.0f, 1e-6f);
}

TEST_F(FrameValues, TheLastFrameReadsRow30033) {
  EXPECT_EQ(envelopeRowAt(7688496), 30033u);
  EXPECT_EQ(envelopeRowAt(255), 0u);
  EXPECT_EQ(envelopeRowAt(256), 1u);
  storeShared(EnvelopeRecording[30033][4], 0.9f);
  beginFrameFromRecording(state, 7688496);
  EXPECT_EQ(state.flashLevel, 0.5f);
  EXPECT_EQ(state.musicTime, 23.25f);
  storeShared(EnvelopeRecording[30033][4], 0.0f);
}

TEST_F(FrameValues, TheStateStartsAtTheShowsStart) {
  EXPECT_EQ(state.musicTime, 0.0f);
  EXPECT_EQ(state.previousMusicTime, 0.0f);
  EXPECT_EQ(state.flashLevel, 0.0f);
  EXPECT_EQ(state.flashTime, 0.0f);
  EXPECT_EQ(state.textPageState.page, 0);
  EXPECT_EQ(state.textPageState.countdown, 600.0f);
}

TEST_F(FrameValues, FrameInputsCarryTheValuesAndBothMusicTimes) {
  beginFrame(state, 330688, 0.0f);
  endFrame(state, 330688);
  const EffectValues v = beginFrame(state, 2 * 330688, 0.0f);
  const FrameInputs in = frameInputs(state, v);
  EXPECT_EQ(in.musicTime, 2.0f);
  EXPECT_EQ(in.previousMusicTime, 1.0f);
  EXPECT_EQ(std::memcmp(&in.values, &v, sizeof v), 0);
}

TEST(IntroConfigDefaults, AreTheShowsStartingRecord) {
  IntroConfig record = {};
  setIntroDefaults(record, 7);
  EXPECT_EQ(record.width, 1280);
  EXPECT_EQ(record.height, 720);
  EXPECT_EQ(record.windowed, 0);
  EXPECT_EQ(record.threadedSound, 1);
  EXPECT_EQ(record.postProcess, 1);
  EXPECT_EQ(record.instance, 7);
}

}  // namespace
